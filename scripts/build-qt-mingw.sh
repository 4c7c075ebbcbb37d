#!/usr/bin/env bash
# Builds Qt 6.4.2 (qt6-base) for MinGW-w64, 64-bit, from Debian 12's own source of qt6-base (the
# version of qt6-base-dev, whose moc, rcc and uic serve as host tools), as the team's prebuilt
# copy was made: about 45 minutes on two cores. scripts/windows.sh runs it only when that copy
# (../shared/qt6-mingw/ beside the clone) is missing.
#
#   build-qt-mingw.sh WORKDIR PREFIX
#
# WORKDIR keeps the source and the build (several GB; kept for a rerun after a failure), PREFIX
# receives the installed Qt: Core, Gui, Widgets, Concurrent, Test; platform plugins windows,
# offscreen and minimal; image formats PNG, JPEG and ICO; styles; DLLs stripped. Off: OpenGL,
# Vulkan, Direct2D, SQL, network, D-Bus, print support, XML, ICU, GLib, zstd, GIF, tablet events.
# The patch beside this script mends two conditions that fail to build with OpenGL and Direct2D off.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work=$(mkdir -p "$1" && cd "$1" && pwd)
prefix="$2"

source "$ROOT/scripts/packages.sh"
ensure_packages g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev \
  binutils-mingw-w64-x86-64 qt6-base-dev qt6-base-dev-tools cmake ninja-build dpkg-dev

if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/; then
  run_as_root "cat >/etc/apt/sources.list.d/bookworm-src.sources <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
apt-get update -qq"
fi

cd "$work"
[[ -d qt6-base-6.4.2+dfsg ]] || apt-get source qt6-base=6.4.2+dfsg-10
cd qt6-base-6.4.2+dfsg
# The source is kept for a rerun, which finds the fixes in place; a patch that applies neither
# way is a different source, and stops the build.
fixes="$ROOT/scripts/qt-6.4.2-mingw-fixes.patch"
if patch -p1 -R --dry-run --force --silent <"$fixes" >/dev/null 2>&1; then
  echo "The MinGW fixes are in place already"
else
  patch -p1 --forward --force <"$fixes"
fi

cmake -G Ninja -S . -B "$work/qt-build" \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw-w64-x86_64.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF -DQT_BUILD_MANUAL_TESTS=OFF \
  -DQT_BUILD_TOOLS_WHEN_CROSSCOMPILING=OFF -DFEATURE_pkg_config=OFF \
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
  -DFEATURE_concurrent=ON -DFEATURE_xml=OFF -DFEATURE_testlib=ON \
  -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF -DFEATURE_tabletevent=OFF \
  -DFEATURE_icu=OFF -DFEATURE_glib=OFF -DFEATURE_zstd=OFF \
  -DFEATURE_freetype=ON -DFEATURE_system_freetype=OFF \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
  -DFEATURE_system_jpeg=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_doubleconversion=OFF \
  -DFEATURE_png=ON -DFEATURE_jpeg=ON -DFEATURE_gif=OFF -DFEATURE_ico=ON
ninja -C "$work/qt-build" -j"$(nproc)"
ninja -C "$work/qt-build" install
find "$prefix" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
