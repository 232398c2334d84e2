#!/usr/bin/env bash
# Saves one picture per skin of the main window's kinds of controls and the
# dialogs, taken under Xvfb with the xcb platform the program uses.
#   scripts/skin-screenshots.sh [build folder] [output folder]
set -euo pipefail
build=${1:-build}
out=${2:-$build/skin-screenshots}
cmake --build "$build" -j2 --target trovenix_skin_gallery
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1600x1000x24" \
  "$build/tests/app/trovenix_skin_gallery" "$out"
