#!/usr/bin/env bash
# Re-encoding a 30-second 720p H.264/AAC source with the same settings through
# trovenix-convert and through the ffmpeg program: median wall time of RUNS
# runs (taken in turns) and peak memory, one table row per case.
# Usage: bench/reencode-speed.sh [BUILD_DIR] [RUNS] [WORK_DIR]
set -euo pipefail
source "$(dirname "$0")/lib.sh"
bench_setup 3 "$@"

# name | output extension | engine options | ffmpeg options
cases=(
  "mpeg4-1200k-aac-25fps|mp4|vcodec=mpeg4 b=1200000 r=25 acodec=aac ab=128000|-c:v mpeg4 -b:v 1200k -r 25 -c:a aac -b:a 128k"
  "mpeg4-512k-320x240|mp4|vcodec=mpeg4 b=512000 s=320x240 acodec=aac ab=64000|-c:v mpeg4 -b:v 512k -s 320x240 -c:a aac -b:a 64k"
  "x264-2000k-aac-29.97|mp4|vcodec=libx264 b=2000000 r=30000/1001 acodec=aac ab=96000|-c:v libx264 -b:v 2000k -r 30000/1001 -c:a aac -b:a 96k"
  "mp3-192k-48k|mp3|vn=1 acodec=libmp3lame ab=192000 ar=48000|-vn -c:a libmp3lame -b:a 192k -ar 48000"
)

printf "%-24s %9s %9s %6s %10s %10s %6s\n" case ours_s ffmpeg_s ratio ours_kB ffmpeg_kB mem
for entry in "${cases[@]}"; do
  IFS='|' read -r name ext ours theirs <<<"$entry"
  options=()
  for option in $ours; do options+=(--option "$option"); done
  : >"$work/ours.txt"
  : >"$work/theirs.txt"
  for ((i = 0; i < runs; i++)); do
    measure "$subject" --log-level quiet --input "$clip" --output "$work/ours.$ext" "${options[@]}" >>"$work/ours.txt"
    rm -f "$work/theirs.$ext"
    # shellcheck disable=SC2086
    measure ffmpeg -nostdin -v error -y -i "$clip" $theirs "$work/theirs.$ext" >>"$work/theirs.txt"
  done
  read_figures
  awk -v n="$name" -v a="$ours_time" -v b="$theirs_time" -v r="$time_ratio" -v m="$ours_mem" \
    -v k="$theirs_mem" 'BEGIN { printf "%-24s %9.2f %9.2f %6.2f %10d %10d %6.2f\n", n, a, b, r, m, k, m / k }'
done
