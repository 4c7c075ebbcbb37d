#!/bin/sh
# Rebuilds circuit.jpg, icon.png and icon.ico from their sources.
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
wave=$(awk 'BEGIN { for (x = -1; x <= 33; x += 0.5)
                        printf "%.2f,%.2f ", x, 15.5 - 9 * sin(3 * 3.14159265 * x / 32) }')
convert -size 32x32 xc:'rgb(41,2,0)' -fill none -stroke 'rgb(255,27,20)' \
    -strokewidth 2 -draw "polyline $wave" -alpha off "$tmp/icon.png"
convert "$tmp/icon.png" -colors 256 -define png:bit-depth=8 \
    -define png:color-type=3 -strip PNG8:icon.png
convert icon.png -type Palette icon.ico
