#!/bin/sh
# Renders the hicolor PNGs from quorvane.svg (needs rsvg-convert, Debian
# package librsvg2-bin). Run it after changing the SVG and commit the PNGs.
set -eu
here=$(dirname "$0")
for size in 16 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio \
        --output "$here/quorvane-$size.png" "$here/../quorvane.svg"
done
