#!/usr/bin/env bash
# Builds the fuzzers with clang and libFuzzer into build-fuzz/ and runs each for
# a bounded time on a copy of its seed corpus, so nothing is written into the
# repository. Exits non-zero if a fuzzer finds a crash or a failed check.
#
#   FUZZ_SECONDS   time per fuzzer, default 60
#   FUZZ_BUILD_DIR build directory, default build-fuzz/
#
# Each fuzzer's full log is kept in the build directory (fuzz-logs/), and the
# input that made one fail is copied to fuzz-artifacts/ there.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${FUZZ_BUILD_DIR:-$ROOT/build-fuzz}"
SECONDS_EACH="${FUZZ_SECONDS:-60}"
TARGETS=(number_reading computation)

# The clang driver, and libFuzzer's runtime (libclang_rt.fuzzer), which Debian
# ships apart from it. The rest of the build needs what setup.sh installs.
source "$ROOT/scripts/packages.sh"
ensure_packages clang libclang-rt-14-dev cmake libgtest-dev

LOG_DIR="$BUILD_DIR/fuzz-logs"
ARTIFACT_DIR="$BUILD_DIR/fuzz-artifacts"
mkdir -p "$LOG_DIR"

echo "Building the fuzzers in $BUILD_DIR"
if ! CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DWIENBRIDGE_FUZZ=ON -DWIENBRIDGE_BUILD_GUI=OFF -DWIENBRIDGE_BUILD_BENCHMARKS=OFF \
    >"$LOG_DIR/build.log" 2>&1 ||
  ! cmake --build "$BUILD_DIR" -j "$(nproc 2>/dev/null || echo 2)" \
    --target "${TARGETS[@]/#/fuzz_}" >>"$LOG_DIR/build.log" 2>&1; then
  tail -n 30 "$LOG_DIR/build.log"
  echo "The fuzzers did not build (log: $LOG_DIR/build.log)"
  exit 1
fi

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

failed=0
for target in "${TARGETS[@]}"; do
  fuzzer="$BUILD_DIR/bin/fuzz_$target"
  log="$LOG_DIR/$target.log"
  cp -r "$ROOT/tests/fuzz/corpus/$target" "$WORK/corpus-$target"
  mkdir -p "$WORK/artifacts-$target"
  started=$(date +%s)
  if "$fuzzer" "$WORK/corpus-$target" -max_total_time="$SECONDS_EACH" -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$WORK/artifacts-$target/" \
      >"$log" 2>&1; then
    status=passed
  else
    status=FAILED
    failed=1
  fi
  elapsed=$(($(date +%s) - started))

  stat() { sed -n "s/^stat::$1: *//p" "$log" | tail -n 1; }
  coverage=$(grep -o 'cov: [0-9]* ft: [0-9]* corp: [0-9]*' "$log" | tail -n 1 || true)
  echo "fuzz_$target: $status in ${elapsed}s, $(stat number_of_executed_units) runs," \
    "$(stat average_exec_per_sec) exec/s, ${coverage:-no coverage figures}," \
    "peak RSS $(stat peak_rss_mb) MB"
  if [[ $status == FAILED ]]; then
    tail -n 40 "$log"
    if compgen -G "$WORK/artifacts-$target/*" >/dev/null; then
      mkdir -p "$ARTIFACT_DIR"
      cp "$WORK/artifacts-$target/"* "$ARTIFACT_DIR/"
      echo "Failing input copied to $ARTIFACT_DIR; replay it with: $fuzzer FILE"
    fi
    echo "Full log: $log"
  fi
done
exit "$failed"
