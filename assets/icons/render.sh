#!/usr/bin/env bash
# Renders keyrook.svg into the PNG sizes of the hicolor icon theme (needs librsvg2-bin).
# The PNGs are committed, so building needs no SVG renderer; run this after editing the SVG.
# The SVG itself is installed as the scalable icon.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" keyrook.svg -o "hicolor/${size}x${size}/apps/keyrook.png"
done
