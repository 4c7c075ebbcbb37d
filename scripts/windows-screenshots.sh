#!/usr/bin/env bash
# Starts the Windows program from an unzipped folder under Wine, on a virtual screen (Xvfb) in
# a Wine desktop, in Italian, with no DLL on Wine's path but those beside it; presses Tab, Tab
# and Space as a user would (the run button, default values), and checks that:
#  - every DLL the program loaded that is not Wine's own came from the folder;
#  - Picture1 shows exactly the pixels of the Linux command line's --png of the same run;
#  - a tooltip shows with the pointer on inner pixel (18, 190) of Picture1 (its text,
#    t = 318,300 usec" ; vo(t) = 0,75V, is for a person to read in the second screenshot).
# Writes windows-parameters.png (before the run) and windows-waveform.png (after it, with the
# tooltip) into OUTDIR.
#
#   windows-screenshots.sh FOLDER OUTDIR
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CACHE="${WIENBRIDGE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/wienbridge}"
FOLDER="$(realpath "$1")"
OUT="$2"
PLOT_BACKGROUND="rgb(255,255,192)"
mkdir -p "$OUT"
if [[ ! -x "$ROOT/build/bin/wienbridge-sim" ]]; then
  SETUP_TARGETS=wienbridge-sim bash "$ROOT/scripts/setup.sh" >/dev/null
fi

WORK="$(mktemp -d)"
export WINEPREFIX="${WINEPREFIX:-$CACHE/wine}"
xvfb=""
cleanup() {
  wineserver -k 2>/dev/null || true
  [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORK/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do
  [[ -s "$WORK/display" ]] && break
  sleep 0.1
done
export DISPLAY=":$(cat "$WORK/display")"

screenshot() { import -window root "$1"; }
# The number of pixels of a colour in an image, or in a WxH+X+Y part of it.
count_colour() {
  convert "$1" ${3:+-crop "$3" +repage} -fill black +opaque "$2" -fill white -opaque "$2" \
    -format '%[fx:round(mean*w*h)]' info:
}
# Waits up to 30 s for an image-taking test to pass.
wait_until() {
  for _ in $(seq 60); do
    screenshot "$WORK/now.png"
    if "$@" "$WORK/now.png"; then
      sleep 1 # the rest of the painting
      return 0
    fi
    sleep 0.5
  done
  echo "Timed out waiting for: $*"
  return 1
}
circuit_shown() { (($(count_colour "$1" white) > 100000)); }
plot_shown() { [[ $(convert "$1" -fill black +opaque "$PLOT_BACKGROUND" -format "%@" info: 2>/dev/null) == 901x501+* ]]; }

(cd "$FOLDER" && env -u WINEPATH LANG=it_IT.UTF-8 WINEDEBUG=+loaddll \
  wine explorer /desktop=wienbridge,1280x1024 wienbridge.exe >"$WORK/wine.log" 2>&1 &)
wait_until circuit_shown
# Wine puts the pointer in the middle of its desktop, on an option, which then shows lit; a
# blank part of the window below keeps that window active.
xdotool mousemove 1100 700
sleep 0.5
screenshot "$WORK/parameters.png"

desktop=$(xdotool search --name "wienbridge - Wine desktop" | head -n 1)
xdotool windowfocus --sync "$desktop"
xdotool key Tab
xdotool key Tab
xdotool key space
wait_until plot_shown
screenshot "$WORK/waveform.png"

failures=()
box=$(convert "$WORK/waveform.png" -fill black +opaque "$PLOT_BACKGROUND" -format '%@' info:)
plot_x=${box#*+}
plot_x=${plot_x%+*}
plot_y=${box##*+}
"$ROOT/build/bin/wienbridge-sim" --png "$WORK/linux-plot.png" >/dev/null
convert "$WORK/waveform.png" -crop "901x501+$plot_x+$plot_y" +repage "PNG24:$WORK/picture1.png"
pixels=$(compare -metric AE "$WORK/picture1.png" "$WORK/linux-plot.png" null: 2>&1 || true)
echo "Picture1 at ($plot_x, $plot_y) on the screen; pixels unlike the Linux plot: $pixels"
[[ $pixels == 0 ]] || failures+=("Picture1 differs from the Linux plot in $pixels pixels")

# The pointer comes in from outside the plot, as a hand would bring it.
xdotool mousemove 1200 1000
sleep 0.3
xdotool mousemove $((plot_x + 10)) $((plot_y + 180))
sleep 0.2
xdotool mousemove $((plot_x + 18)) $((plot_y + 190))
sleep 2
screenshot "$WORK/readout.png"
tip_area="300x40+$((plot_x + 18))+$((plot_y + 190))"
convert "$WORK/waveform.png" -crop "$tip_area" +repage "$WORK/before.png"
convert "$WORK/readout.png" -crop "$tip_area" +repage "$WORK/after.png"
changed=$(compare -metric AE "$WORK/before.png" "$WORK/after.png" null: 2>&1 || true)
((changed > 500)) || failures+=("no tooltip under the pointer ($changed pixels changed)")

# Loaded as native: a DLL from a file rather than one of Wine's own.
folder_windows="Z:${FOLDER//\//\\\\}\\\\"
native=$(grep -o 'Loaded L"[^"]*" at [0-9A-F]*: native' "$WORK/wine.log" | sed 's/^Loaded L"//; s/" at.*//' | sort -u)
echo "DLLs loaded from files:"
sed 's/^/  /' <<<"$native"
while read -r dll; do
  [[ $dll == "$folder_windows"* ]] || failures+=("$dll was loaded from outside the folder")
done <<<"$native"
for needed in platforms\\\\qwindows.dll imageformats\\\\qjpeg.dll styles\\\\qwindowsvistastyle.dll; do
  grep -qF "$needed" <<<"$native" || failures+=("${needed//\\\\//} was not loaded")
done

convert "$WORK/parameters.png" -trim +repage "$OUT/windows-parameters.png"
convert "$WORK/readout.png" -trim +repage "$OUT/windows-waveform.png"
echo "Screenshots: $OUT/windows-parameters.png, $OUT/windows-waveform.png"
if ((${#failures[@]} > 0)); then
  printf 'FAILED: %s\n' "${failures[@]}"
  exit 1
fi
echo "The program runs from the unzipped folder, and Picture1 matches the Linux plot"
