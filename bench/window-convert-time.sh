#!/usr/bin/env bash
# One conversion started from the window (the program's TROVENIX_BENCH_CONVERT
# run: the file added, "Convert Now !" with the start-up format, timed inside
# the program from the click to "All Conversions Completed") against the same
# file and format through trovenix-convert's batch mode (wall time). Median of
# RUNS each; the target is at most 1.03x.
# Usage: bench/window-convert-time.sh [BUILD_DIR] [RUNS] [WORK_DIR]
set -euo pipefail
here=$(dirname "$0")
source "$here/lib.sh"
bench_setup 3 "$@"
window="$build/src/app/trovenix"
[[ -x "$window" ]] || { echo "build first: $window is missing" >&2; exit 1; }
mkdir -p "$work/config" "$work/run"
chmod 700 "$work/run"
: > "$work/ours.txt"
: > "$work/theirs.txt"

for ((i = 0; i < runs; i++)); do
  rm -rf "$work/out-window" "$work/out-cli"
  mkdir -p "$work/out-window" "$work/out-cli"
  line=$(env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen HOME="$work" \
    XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" \
    TROVENIX_BENCH_CONVERT="$clip" TROVENIX_BENCH_OUTPUT="$work/out-window" \
    "$window" 2>/dev/null | grep '^convert:')
  echo "window: $line"
  grep -q 'All Conversions Completed, row Done' <<<"$line" || { echo "the window's run failed" >&2; exit 1; }
  ms=$(sed -E 's/.*, ([0-9]+) ms;.*/\1/' <<<"$line")
  awk -v ms="$ms" 'BEGIN { printf "%.3f 0\n", ms / 1000 }' >> "$work/ours.txt"

  start=$(date +%s%N)
  "$subject" --output-dir "$work/out-cli" "$clip" >/dev/null
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.3f 0\n", ns / 1e9 }' >> "$work/theirs.txt"
  echo "trovenix-convert: $(tail -1 "$work/theirs.txt" | cut -d' ' -f1) s"
done
read_figures
echo "window (median of $runs):           $ours_time s"
echo "trovenix-convert (median of $runs): $theirs_time s"
awk -v a="$ours_time" -v b="$theirs_time" 'BEGIN { printf "ratio (window / trovenix-convert): %.3f\n", a / b; exit !(a <= b * 1.03) }'
