#!/usr/bin/env bash
# Times 100 probes of one file with trovenix-convert --probe and with ffprobe
# asked for the same facts, and prints both totals and their ratio.
# Usage: bench/probe-speed.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-100}
convert="$build/src/cli/trovenix-convert"
[[ -x "$convert" ]] || { echo "build first: $convert is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
clip="$work/clip.mp4"
ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=1280x720:rate=30000/1001 \
  -f lavfi -i sine=frequency=440:sample_rate=48000 -t 30 \
  -c:v libx264 -preset ultrafast -c:a aac "$clip"

time_runs() {
  local start end
  start=$(date +%s%N)
  for ((i = 0; i < runs; i++)); do "$@" >/dev/null 2>&1; done
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

# One warm-up each so that both start from a warm file cache.
"$convert" --probe "$clip" >/dev/null
ffprobe -v error -show_entries stream=width,height,r_frame_rate:format=duration "$clip" >/dev/null

ours=$(time_runs "$convert" --probe "$clip")
theirs=$(time_runs ffprobe -v error -show_entries stream=width,height,r_frame_rate:format=duration "$clip")
echo "trovenix-convert --probe: $runs runs in ${ours} ms"
echo "ffprobe:                  $runs runs in ${theirs} ms"
awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "ratio (ours / ffprobe): %.2f\n", a / b }'
