#!/usr/bin/env bash
# Packages the build in build/ as a Debian package with CPack:
# build-package/wienbridge_VERSION-1_amd64.deb, the programs stripped. It brings build/
# up to date first (scripts/setup.sh) and builds nothing else; then it checks the package:
# lintian finds no error or warning, it is under 5 MB, its changelog names its version.
# scripts/check-package.sh installs it and checks it installed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
ensure_packages dpkg-dev lintian

OUT="$ROOT/build-package"
MAX_BYTES=$((5 * 1024 * 1024))
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD_DIR/CMakeCache.txt")-1"
deb="$OUT/wienbridge_${version}_$(dpkg --print-architecture).deb"

echo "== Package ($deb)"
rm -rf "$OUT"
cpack --config "$BUILD_DIR/CPackConfig.cmake" -B "$OUT" >"$BUILD_DIR/cpack.log" 2>&1 || {
  cat "$BUILD_DIR/cpack.log"
  exit 1
}
rm -rf "$OUT/_CPack_Packages"
dpkg-deb --field "$deb"
dpkg-deb --contents "$deb"

failures=()
size=$(stat -c %s "$deb")
((size < MAX_BYTES)) || failures+=("the package has $size bytes, more than $MAX_BYTES")
changelog="$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/wienbridge/changelog.Debian.gz | gzip -d | head -n 1)"
[[ $changelog == "wienbridge ($version) "* ]] || failures+=("the changelog's last entry is not $version: $changelog")

echo "== lintian"
lintian_status=0
lintian --fail-on error,warning --display-info "$deb" >"$OUT/lintian.txt" 2>&1 || lintian_status=$?
# Run as root, lintian says so; that is no finding about the package.
grep -v 'running with root privileges' "$OUT/lintian.txt" || true
((lintian_status == 0)) || failures+=("lintian found errors or warnings")
echo "$deb: $((size / 1024)) KB"
if ((${#failures[@]} > 0)); then
  printf 'FAILED: %s\n' "${failures[@]}"
  exit 1
fi
