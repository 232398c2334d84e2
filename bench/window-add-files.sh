#!/usr/bin/env bash
# Adds COUNT short files to the window through its add step (the program's
# TROVENIX_BENCH_ADD run, on Qt's offscreen platform) and prints the time it
# took and the longest pause of the UI loop, both measured inside the
# program, beside the time of trovenix-convert --probe on the same files.
# Targets: no pause over 100 ms, at most 1.2x the time of --probe.
# Usage: bench/window-add-files.sh [BUILD_DIR] [COUNT] [WORK_DIR]
set -euo pipefail
build=${1:-build}
count=${2:-1000}
work=${3:-$(mktemp -d)}
window="$build/src/app/trovenix"
convert="$build/src/cli/trovenix-convert"
for program in "$window" "$convert"; do
  [[ -x "$program" ]] || { echo "build first: $program is missing" >&2; exit 1; }
done
mkdir -p "$work/in" "$work/config" "$work/run"
chmod 700 "$work/run"

seed="$work/seed.mp4"
[[ -f "$seed" ]] || ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=64x48:rate=25 \
  -f lavfi -i sine=sample_rate=44100 -t 0.2 -c:v mpeg4 -c:a aac -shortest "$seed"
for ((i = 0; i < count; i++)); do
  f=$(printf '%s/in/clip%05d.mp4' "$work" "$i")
  [[ -f "$f" ]] || cp "$seed" "$f"
done
find "$work/in" -name 'clip*.mp4' | sort | head -n "$count" > "$work/list.txt"
mapfile -t files < "$work/list.txt"

# Warm the file cache for both.
"$convert" --probe "${files[@]}" >/dev/null

start=$(date +%s%N)
"$convert" --probe "${files[@]}" >/dev/null
end=$(date +%s%N)
probe_ms=$(((end - start) / 1000000))

line=$(env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen HOME="$work" \
  XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" \
  TROVENIX_BENCH_ADD="$work/list.txt" "$window" 2>/dev/null | grep '^add step:')
echo "$line"
add_ms=$(sed -E 's/.* in ([0-9]+) ms.*/\1/' <<<"$line")
pause_ms=$(sed -E 's/.*longest UI pause ([0-9]+) ms.*/\1/' <<<"$line")
echo "trovenix-convert --probe: $count files in $probe_ms ms (with its start-up)"
awk -v a="$add_ms" -v b="$probe_ms" 'BEGIN { printf "ratio (add step / --probe): %.2f\n", a / b }'
status=0
(( pause_ms <= 100 )) || { echo "a pause of the UI loop was longer than 100 ms" >&2; status=1; }
awk -v a="$add_ms" -v b="$probe_ms" 'BEGIN { exit !(a <= b * 1.2) }' ||
  { echo "the add step took more than 1.2x the time of --probe" >&2; status=1; }
exit $status
