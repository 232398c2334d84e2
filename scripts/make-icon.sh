#!/usr/bin/env bash
# Draws the program icon's PNG (src/app/icons/trovenix.png) with ImageMagick,
# after the same shapes as src/app/icons/trovenix.svg, for builds of
# ImageMagick without an SVG reader. Run it after changing the icon.
set -euo pipefail
cd "$(dirname "$0")/../src/app/icons"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

convert -size 256x256 xc:none -fill white -draw "roundrectangle 8,8 247,247 44,44" "$tmp/mask.png"
convert -size 256x256 gradient:'#3a8fd9-#14407a' "$tmp/mask.png" -alpha off \
  -compose CopyOpacity -composite "$tmp/tile.png"
convert "$tmp/tile.png" \
  -fill '#ffffff1a' -draw "roundrectangle 8,8 247,128 44,44" \
  -fill none -stroke '#ffb52e' -strokewidth 16 \
  -draw "stroke-linecap round path 'M 60 104 A 72 72 0 0 1 188 84'" \
  -draw "stroke-linecap round path 'M 196 152 A 72 72 0 0 1 68 172'" \
  -stroke none -fill '#ffb52e' \
  -draw "polygon 206,60 210,108 168,92" -draw "polygon 50,196 46,148 88,164" \
  -fill '#eef4fa' -stroke '#0d2c55' -strokewidth 4 -draw "roundrectangle 78,90 178,166 8,8" \
  -stroke none -fill '#0d2c55' \
  -draw "rectangle 86,96 93,103" -draw "rectangle 86,124 93,131" -draw "rectangle 86,152 93,159" \
  -draw "rectangle 162,96 169,103" -draw "rectangle 162,124 169,131" -draw "rectangle 162,152 169,159" \
  -fill '#1f6fc1' -draw "polygon 114,108 114,148 146,128" \
  PNG32:trovenix.png
