#!/usr/bin/env bash
# Sets the project up (see setup.sh) and runs every test: the layers and the
# formatting checked, the suite in the normal build, the suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/), the worker
# threads under ThreadSanitizer (build-tsan/), and a bounded run of each fuzzer
# (scripts/fuzz.sh).
# WIENBRIDGE_QUICK=1 runs the normal build's suite only.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
export QT_QPA_PLATFORM=offscreen

echo "== Layers (scripts/check-layers.sh)"
bash "$ROOT/scripts/check-layers.sh"

echo "== Formatting (.clang-format)"
git -C "$ROOT" ls-files -co --exclude-standard '*.cpp' '*.h' | (cd "$ROOT" && xargs clang-format --dry-run --Werror)

echo "== Tests"
ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$JOBS"

if [[ "${WIENBRIDGE_QUICK:-0}" == 1 ]]; then
  exit 0
fi

echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
ASAN_DIR="$ROOT/build-asan"
mkdir -p "$ASAN_DIR"
# -O1 and line tables only: the reports keep their files and lines, and the
# build takes two minutes on two cores instead of three.
if ! { cmake -S "$ROOT" -B "$ASAN_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWIENBRIDGE_SANITIZE=ON \
         -DWIENBRIDGE_BUILD_BENCHMARKS=OFF "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" &&
       cmake --build "$ASAN_DIR" -j "$JOBS"; } \
     >"$ASAN_DIR/build.log" 2>&1; then
  tail -n 40 "$ASAN_DIR/build.log"
  echo "The sanitizer build failed (log: $ASAN_DIR/build.log)"
  exit 1
fi
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$ASAN_DIR" --output-on-failure -j "$JOBS"

echo "== The worker threads under ThreadSanitizer"
# The libraries without widgets and their concurrency test; Qt's own libraries
# are not instrumented, so only what happens inside them is suppressed.
TSAN_DIR="$ROOT/build-tsan"
mkdir -p "$TSAN_DIR"
if ! { cmake -S "$ROOT" -B "$TSAN_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWIENBRIDGE_SANITIZE_THREAD=ON \
         -DWIENBRIDGE_BUILD_GUI=OFF -DWIENBRIDGE_BUILD_BENCHMARKS=OFF &&
       cmake --build "$TSAN_DIR" -j "$JOBS" --target concurrency_tests; } >"$TSAN_DIR/build.log" 2>&1; then
  tail -n 40 "$TSAN_DIR/build.log"
  echo "The ThreadSanitizer build failed (log: $TSAN_DIR/build.log)"
  exit 1
fi
QT_NO_GLIB=1 TSAN_OPTIONS="suppressions=$ROOT/tests/tsan-qt.supp halt_on_error=1" "$TSAN_DIR/bin/concurrency_tests"

echo "== Fuzzing"
bash "$ROOT/scripts/fuzz.sh"
