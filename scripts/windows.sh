#!/usr/bin/env bash
# The Windows build, cross-compiled here for 64-bit Windows and checked under Wine:
#  1. installs what is missing (MinGW-w64, Wine, Xvfb, ...);
#  2. gets Qt for MinGW-w64 into the cache (WIENBRIDGE_CACHE, default
#     ${XDG_CACHE_HOME:-$HOME/.cache}/wienbridge): extracted from the team's prebuilt copy in
#     ../shared/qt6-mingw/ beside the clone, checksum verified, or else built from Debian's
#     source by scripts/build-qt-mingw.sh; and GoogleTest built for MinGW-w64, also cached;
#  3. builds the program, the command line and the tests into build-windows/;
#  4. runs the tests under Wine through CTest (scripts/wine-run.sh is the emulator);
#  5. writes build-windows/wienbridge-VERSION-windows-x64.zip: the programs, every DLL they
#     load and Qt's translations, and checks it (size, resources, the programs' kind, the
#     translations);
#  6. unzips it into a fresh folder (build-windows/unzipped/) and, from there, compares the
#     command line with the Linux one (scripts/compare-windows.sh) and runs the program on a
#     virtual screen (scripts/windows-screenshots.sh, screenshots in build-windows/screenshots/).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="$ROOT/build-windows"
CACHE="${WIENBRIDGE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/wienbridge}"
JOBS="$(nproc 2>/dev/null || echo 2)"
MAX_ZIP_BYTES=$((30 * 1024 * 1024))

source "$ROOT/scripts/packages.sh"
ensure_packages cmake ninja-build qt6-base-dev qt6-base-dev-tools googletest \
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 \
  wine fonts-wine xvfb xauth xdotool imagemagick locales qt6-translations-l10n
# The tooltip is checked in Italian, as Wine takes its locale from LANG.
ensure_italian_locale
mkdir -p "$CACHE"

echo "== Qt for MinGW-w64"
QT_DIR="$CACHE/qt6-mingw"
SHARED_QT="$ROOT/../shared/qt6-mingw"
QT_ARCHIVE=qt6-base-6.4.2-mingw-w64.tar.gz
if [[ -f "$SHARED_QT/$QT_ARCHIVE" ]]; then
  wanted="prebuilt $(awk -v f="$QT_ARCHIVE" '$2 == f { print $1 }' "$SHARED_QT/SHA256SUMS")"
else
  wanted="built from source"
fi
# A copy from either source serves when the prebuilt one is not at hand.
if [[ -f "$QT_DIR/.origin" && ($(cat "$QT_DIR/.origin") == "$wanted" || $wanted == "built from source") ]]; then
  echo "Reusing $QT_DIR ($(cat "$QT_DIR/.origin"))"
elif [[ $wanted == prebuilt* ]]; then
  (cd "$SHARED_QT" && sha256sum --check --quiet SHA256SUMS)
  rm -rf "$QT_DIR" "$CACHE/qt-extract"
  mkdir -p "$CACHE/qt-extract"
  tar -C "$CACHE/qt-extract" -xzf "$SHARED_QT/$QT_ARCHIVE"
  mv "$CACHE/qt-extract/qt6-mingw" "$QT_DIR"
  rmdir "$CACHE/qt-extract"
  echo "$wanted" >"$QT_DIR/.origin"
  echo "Extracted $QT_ARCHIVE into $QT_DIR"
else
  echo "No prebuilt Qt in $SHARED_QT: building it from Debian's source (about 45 minutes)"
  rm -rf "$QT_DIR"
  bash "$ROOT/scripts/build-qt-mingw.sh" "$CACHE/qt-source" "$QT_DIR"
  echo "$wanted" >"$QT_DIR/.origin"
fi

echo "== GoogleTest for MinGW-w64"
GTEST_VERSION="$(dpkg-query -W -f='${Version}' googletest)"
GTEST_DIR="$CACHE/googletest-$GTEST_VERSION-mingw"
if [[ ! -f "$GTEST_DIR/lib/cmake/GTest/GTestConfig.cmake" ]]; then
  rm -rf "$CACHE/googletest-build"
  cmake -S /usr/src/googletest -B "$CACHE/googletest-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$GTEST_DIR" -DBUILD_GMOCK=OFF >/dev/null
  cmake --build "$CACHE/googletest-build" -j "$JOBS" >/dev/null
  cmake --install "$CACHE/googletest-build" >/dev/null
  rm -rf "$CACHE/googletest-build"
fi
echo "Using $GTEST_DIR"

echo "== Wine"
export WINEPREFIX="$CACHE/wine" WINEDEBUG=-all
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  wineboot --init 2>/dev/null
fi
# Debian's Wine looks for its own fonts (MS Sans Serif, Tahoma, ...: those every Windows has)
# in a folder whose name does not resolve, so it would show none of them; it always reads the
# prefix's own font folder.
ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
trap 'wineserver -k 2>/dev/null || true' EXIT

echo "== Build ($BUILD_DIR)"
# The same optimisation as the Linux build, without debug information: the zip ships
# none, and MinGW's linker spends half a minute on it.
"$QT_DIR/bin/qt-cmake" -S "$ROOT" -B "$BUILD_DIR" -G Ninja --no-warn-unused-cli \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG" -DWIENBRIDGE_BUILD_BENCHMARKS=OFF \
  -DGTest_DIR="$GTEST_DIR/lib/cmake/GTest" \
  "-DCMAKE_CROSSCOMPILING_EMULATOR=$ROOT/scripts/wine-run.sh;$QT_DIR" >/dev/null
cmake --build "$BUILD_DIR" -j "$JOBS"

echo "== Tests under Wine"
ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$JOBS"

echo "== Zip"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD_DIR/CMakeCache.txt")"
name="wienbridge-$version-windows-x64"
zip="$BUILD_DIR/$name.zip"
rm -rf "$BUILD_DIR/package" "$zip"
cmake --install "$BUILD_DIR" --prefix "$BUILD_DIR/package" --strip >/dev/null
mv "$BUILD_DIR/package/bin" "$BUILD_DIR/package/$name"
(cd "$BUILD_DIR/package" && cmake -E tar cf "$zip" --format=zip "$name")

failures=()
size=$(stat -c %s "$zip")
((size < MAX_ZIP_BYTES)) || failures+=("the zip has $size bytes, more than $MAX_ZIP_BYTES")
program="$BUILD_DIR/package/$name/wienbridge.exe"
subsystem() { x86_64-w64-mingw32-objdump -p "$BUILD_DIR/package/$name/$1" | sed -n 's/^Subsystem.*(\(.*\))/\1/p'; }
[[ $(subsystem wienbridge.exe) == "Windows GUI" ]] || failures+=("wienbridge.exe is not a windowed program")
[[ $(subsystem wienbridge-sim.exe) == "Windows CUI" ]] || failures+=("wienbridge-sim.exe is not a console program")
resources="$(x86_64-w64-mingw32-windres --input "$program" --output-format rc 2>/dev/null)"
for expected in 'RT_GROUP_ICON' 'FILEVERSION 1, 0, 0, 0' 'PRODUCTVERSION 1, 0, 0, 0' \
  'VALUE "FileVersion", "1.00"' 'VALUE "ProductVersion", "1.00"' 'VALUE "Translation", 0x410, 1200'; do
  grep -qF "$expected" <<<"$resources" || failures+=("wienbridge.exe's resources lack $expected")
done
# Qt's own texts, every language Debian has, for the program to find beside it.
translations=(/usr/share/qt6/translations/qtbase_*.qm)
for qm in "${translations[@]}"; do
  cmp -s "$qm" "$BUILD_DIR/package/$name/translations/${qm##*/}" || failures+=("the zip lacks translations/${qm##*/}")
done
echo "$zip: $((size / 1024)) KB"
(cd "$BUILD_DIR/package" && find "$name" -type f | sort | sed 's/^/  /')
if ((${#failures[@]} > 0)); then
  printf 'FAILED: %s\n' "${failures[@]}"
  exit 1
fi

echo "== From the unzipped folder, with no other DLLs on Wine's path"
rm -rf "$BUILD_DIR/unzipped"
mkdir -p "$BUILD_DIR/unzipped"
(cd "$BUILD_DIR/unzipped" && cmake -E tar xf "$zip")
unset WINEPATH
bash "$ROOT/scripts/compare-windows.sh" "$BUILD_DIR/unzipped/$name/wienbridge-sim.exe"
bash "$ROOT/scripts/windows-screenshots.sh" "$BUILD_DIR/unzipped/$name" "$BUILD_DIR/screenshots"
