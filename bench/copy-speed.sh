#!/usr/bin/env bash
# Stream copy of a 30-second 720p H.264/AAC MP4 into MOV: the engine against
# `ffmpeg -i IN -c copy OUT`, median wall time of RUNS runs and peak memory.
# Usage: bench/copy-speed.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-5}
subject="$build/bench/stream_copy"
[[ -x "$subject" ]] || { echo "build first: $subject is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
clip="$work/clip.mp4"
ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=1280x720:rate=30 \
  -f lavfi -i sine=frequency=440:sample_rate=48000 -t 30 \
  -c:v libx264 -preset ultrafast -c:a aac "$clip"

# Prints "seconds peak_kB" of one run of the given command.
measure() {
  rm -f "$work/out.mov"
  /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >/dev/null 2>&1
  cat "$work/time.txt"
}

median_of() {
  sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

for ((i = 0; i < runs; i++)); do
  measure "$subject" "$clip" "$work/out.mov" >>"$work/ours.txt"
  measure ffmpeg -nostdin -v error -y -i "$clip" -c copy "$work/out.mov" >>"$work/theirs.txt"
done

ours_time=$(cut -d' ' -f1 "$work/ours.txt" | median_of)
theirs_time=$(cut -d' ' -f1 "$work/theirs.txt" | median_of)
ours_mem=$(cut -d' ' -f2 "$work/ours.txt" | sort -n | tail -1)
theirs_mem=$(cut -d' ' -f2 "$work/theirs.txt" | sort -n | tail -1)
echo "engine stream copy: median ${ours_time}s, peak ${ours_mem} kB"
echo "ffmpeg -c copy:     median ${theirs_time}s, peak ${theirs_mem} kB"
awk -v a="$ours_time" -v b="$theirs_time" -v m="$ours_mem" -v n="$theirs_mem" \
  'BEGIN { printf "time ratio (ours / ffmpeg): %.2f   memory ratio: %.2f\n", a / b, m / n }'
