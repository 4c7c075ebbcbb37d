#!/bin/sh
# Rebuilds circuit.jpg, and icon.svg with the bitmaps rendered from it
# (icon-*.png, icon.png, icon.ico).
# The build uses the committed outputs, so run this only after changing
# circuit.svg or the waveform below. Needs ImageMagick and rsvg-convert
# (Debian: imagemagick, librsvg2-bin).
set -eu
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The schematic: a plain one-channel, baseline JPEG, so that QImage loads it
# as Format_Grayscale8 and every decoder shows it as drawn.
rsvg-convert -b white circuit.svg -o "$tmp/circuit.png"
convert "$tmp/circuit.png" -alpha off -colorspace Gray -type Grayscale \
    -strip -interlace none -quality 92 circuit.jpg

# The icon: one and a half periods of a sine (two crests, one trough), red on
# a near-black red field, running past both edges so that no end cap shows.
# Drawn once, as SVG on a 32-unit grid; every bitmap is rendered from it: the
# desktop's sizes, and the 32-pixel one the program and Windows show.
wave=$(awk 'BEGIN { for (x = -1; x <= 33; x += 0.5)
                        printf "%.2f,%.2f ", x, 15.5 - 9 * sin(3 * 3.14159265 * x / 32) }')
cat >icon.svg <<EOF
<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">
  <rect width="32" height="32" fill="#290200"/>
  <polyline fill="none" stroke="#ff1b14" stroke-width="2" points="${wave% }"/>
</svg>
EOF
for size in 16 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" icon.svg -o "$tmp/icon-$size.png"
    convert "$tmp/icon-$size.png" -alpha off -strip PNG24:"icon-$size.png"
done
convert icon-32.png -colors 256 -define png:bit-depth=8 \
    -define png:color-type=3 -strip PNG8:icon.png
convert icon.png -type Palette icon.ico
