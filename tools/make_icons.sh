#!/usr/bin/env bash
# Remakes the committed PNG icons from data/icons/velmora.svg after the SVG
# is edited (needs rsvg-convert, Debian package librsvg2-bin).
set -euo pipefail
icons="$(cd "$(dirname "$0")/.." && pwd)/data/icons"
for size in 48 128 256; do
    mkdir -p "$icons/$size"
    rsvg-convert -w "$size" -h "$size" "$icons/velmora.svg" -o "$icons/$size/velmora.png"
done
