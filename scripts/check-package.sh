#!/usr/bin/env bash
# Installs the package scripts/package.sh made (apt-get, as root or through sudo), checks what
# it installed, and removes it again, also when a check fails (a copy installed before is
# removed too):
#  - /usr/bin/wienbridge-sim: its version, and a default run from /usr/bin prints what build/'s
#    prints; /usr/bin/wienbridge starts and paints its window (Qt's offscreen platform);
#  - Qt's Italian texts where the program looks for them;
#  - the desktop entry valid, naming the program and an icon the hicolor theme has at every
#    size; each PNG icon of the size its folder names;
#  - the AppStream metainfo valid, naming the desktop entry;
#  - the manual pages found by name and rendered without warnings; wienbridge-sim's lists the
#    options its --help lists, and no other;
#  - the copyright file holds the text of LICENSE;
#  - nothing of the package left once it is removed.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/scripts/packages.sh"
ensure_packages appstream desktop-file-utils man-db

id=io.github.wienbridge.Wienbridge
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$ROOT/build/CMakeCache.txt")-1"
deb="$ROOT/build-package/wienbridge_${version}_$(dpkg --print-architecture).deb"
[[ -f $deb ]] || { echo "No $deb: run bash scripts/package.sh first"; exit 1; }
sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
# Other installs on the machine hold apt's lock for a while: wait for it rather than fail.
apt=($sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -qq)
# apt's output only when it fails.
quietly() {
  local output
  output="$("$@" 2>&1)" || { echo "$output"; return 1; }
}
remove() { quietly "${apt[@]}" purge wienbridge; }

echo "== Installing $deb"
trap remove EXIT
quietly "${apt[@]}" install "$deb"
mapfile -t installed < <(dpkg -L wienbridge)

failures=()
fail() { failures+=("$*"); }

echo "== The programs"
[[ $(/usr/bin/wienbridge-sim --version) == "$("$ROOT/build/bin/wienbridge-sim" --version)" ]] ||
  fail "wienbridge-sim --version: $(/usr/bin/wienbridge-sim --version)"
expected="$("$ROOT/build/bin/wienbridge-sim")"
actual="$(cd /usr/bin && ./wienbridge-sim)" || fail "a default run from /usr/bin failed"
[[ $actual == "$expected" ]] || fail "a default run from /usr/bin printed: $actual"
(cd / && QT_QPA_PLATFORM=offscreen WIENBRIDGE_TIMING=avvio timeout 60 /usr/bin/wienbridge 2>/dev/null) ||
  fail "wienbridge did not start and paint its window"
[[ -f /usr/share/qt6/translations/qtbase_it.qm ]] || fail "Qt's Italian texts are missing"

echo "== The desktop entry and the icons"
desktop=/usr/share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "$desktop is not valid"
[[ $(command -v "$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")") == /usr/bin/wienbridge ]] ||
  fail "$desktop does not start /usr/bin/wienbridge"
icon="$(sed -n 's/^Icon=//p' "$desktop")"
[[ -f /usr/share/icons/hicolor/scalable/apps/$icon.svg ]] || fail "no scalable icon $icon"
for size in 16 32 48 64 128 256; do
  png=/usr/share/icons/hicolor/${size}x$size/apps/$icon.png
  # A PNG's width and height are the 32-bit numbers at bytes 16 and 20.
  read -r width height < <(od -An -tu4 --endian=big -j16 -N8 "$png" 2>/dev/null) || true
  [[ "${width:-} ${height:-}" == "$size $size" ]] || fail "$png is not a $size×$size icon"
done

echo "== The metainfo"
metainfo=/usr/share/metainfo/$id.metainfo.xml
quietly appstreamcli validate --no-net "$metainfo" || fail "$metainfo is not valid"
grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "$metainfo does not name $id.desktop"

echo "== The manual pages"
for page in wienbridge wienbridge-sim; do
  [[ $(man -w "$page") == /usr/share/man/man1/$page.1.gz ]] || fail "man does not find $page"
  warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)"
  [[ -z $warnings ]] || fail "the manual page of $page: $warnings"
done
# "--opzione=valore" stands for any option with a value.
options() { grep -o -- '--[a-z]\+' | grep -vx -- --opzione | sort -u; }
in_help="$(/usr/bin/wienbridge-sim --help | options)"
in_page="$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l /usr/share/man/man1/wienbridge-sim.1.gz | col -b | options)"
[[ $in_help == "$in_page" ]] || fail "the options of --help and of the manual page differ: $(diff <(echo "$in_help") <(echo "$in_page") | grep '^[<>]' | tr '\n' ' ')"

echo "== The copyright"
# The licence paragraph's text, its lines indented by one blank and its empty lines written ".".
licence="$(sed -n '/^License: /,$p' /usr/share/doc/wienbridge/copyright | sed -n '/^ /{s/^ //;s/^\.$//;p}')"
tail -n +5 "$ROOT/LICENSE" | diff -u - <(echo "$licence" | tail -n "$(tail -n +5 "$ROOT/LICENSE" | wc -l)") >/dev/null ||
  fail "/usr/share/doc/wienbridge/copyright does not hold the text of LICENSE"

echo "== Removing the package"
trap - EXIT
remove
for path in "${installed[@]}"; do
  [[ -d $path || ! -e $path ]] || fail "$path is left after the package was removed"
done

if ((${#failures[@]} > 0)); then
  printf 'FAILED: %s\n' "${failures[@]}"
  exit 1
fi
echo "The package installs, works and goes away again."
