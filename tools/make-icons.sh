#!/usr/bin/env bash
# Renders the program's icon (packaging/icons/plimb.svg) into the PNG sizes the desktop's icon
# theme looks for; the PNGs are committed beside it. Needs rsvg-convert (Debian: librsvg2-bin).
set -eu
cd "$(dirname "$0")/../packaging/icons"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" plimb.svg --output "plimb-$size.png"
done
