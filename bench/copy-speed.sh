#!/usr/bin/env bash
# Stream copy of a 30-second 720p H.264/AAC MP4 into MOV: trovenix-convert
# against `ffmpeg -i IN -c copy OUT`, median wall time of RUNS runs (taken in
# turns) and peak memory.
# Usage: bench/copy-speed.sh [BUILD_DIR] [RUNS] [WORK_DIR]
set -euo pipefail
source "$(dirname "$0")/lib.sh"
bench_setup 5 "$@"

: >"$work/ours.txt"
: >"$work/theirs.txt"
for ((i = 0; i < runs; i++)); do
  measure "$subject" --log-level quiet --input "$clip" --output "$work/ours.mov" \
    --option vcodec=copy --option acodec=copy >>"$work/ours.txt"
  rm -f "$work/theirs.mov"
  measure ffmpeg -nostdin -v error -y -i "$clip" -c copy "$work/theirs.mov" >>"$work/theirs.txt"
done

read_figures
echo "trovenix-convert copy: median ${ours_time}s, peak ${ours_mem} kB"
echo "ffmpeg -c copy:        median ${theirs_time}s, peak ${theirs_mem} kB"
awk -v r="$time_ratio" -v m="$ours_mem" -v n="$theirs_mem" \
  'BEGIN { printf "time ratio (ours / ffmpeg): %.2f   memory ratio: %.2f\n", r, m / n }'
