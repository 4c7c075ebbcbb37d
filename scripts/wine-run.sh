#!/usr/bin/env bash
# Runs a program of the Windows build under Wine, with the DLLs it needs on Wine's search path;
# CTest's emulator for that build (scripts/windows.sh sets it up).
#
#   wine-run.sh QT_PREFIX PROGRAM [ARGUMENT...]
#
# QT_PREFIX is the Qt for MinGW-w64 the program was built against: its bin/ holds the Qt DLLs.
# The MinGW runtime DLLs come from the cross compiler. The Wine prefix is the project's own,
# in the cache (WINEPREFIX overrides it); Wine's own diagnostics are off (WINEDEBUG overrides).
set -euo pipefail
qt_prefix="$1"
shift

windows_path() { printf 'Z:%s' "${1//\//\\}"; }
compiler=x86_64-w64-mingw32-g++-posix
dirs=("$qt_prefix/bin")
for dll in libstdc++-6.dll libwinpthread-1.dll; do
  dirs+=("$(dirname "$(realpath "$("$compiler" -print-file-name="$dll")")")")
done
path=""
for dir in "${dirs[@]}"; do
  path+="${path:+;}$(windows_path "$dir")"
done

export WINEPATH="$path"
export WINEPREFIX="${WINEPREFIX:-${WIENBRIDGE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/wienbridge}/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$@"
