#!/usr/bin/env bash
# A batch of many short files through trovenix-convert under the usual limit
# of 1,024 open files: every file must convert, with one job and with two,
# and the peak memory of a batch of COUNT files must stay within 10% of that
# of a batch of 100 (rows waiting in the list must cost next to nothing).
# Usage: bench/batch-many-files.sh [BUILD_DIR] [COUNT] [WORK_DIR]
set -euo pipefail
build=${1:-build}
count=${2:-1100}
work=${3:-$(mktemp -d)}
subject="$build/src/cli/trovenix-convert"
[[ -x "$subject" ]] || { echo "build first: $subject is missing" >&2; exit 1; }
mkdir -p "$work/in"

# Tiny clips (0.2 s, 64x48, with sound), so the batch takes minutes, not hours.
seed="$work/seed.mp4"
[[ -f "$seed" ]] || ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=64x48:rate=25 \
  -f lavfi -i sine=sample_rate=44100 -t 0.2 -c:v mpeg4 -c:a aac -shortest "$seed"
for ((i = 0; i < count; i++)); do
  f=$(printf '%s/in/clip%05d.mp4' "$work" "$i")
  [[ -f "$f" ]] || cp "$seed" "$f"
done

# Prints "done_rows exit_status peak_kB seconds" of one batch of the first N files.
run_batch() {
  local n=$1 jobs=$2 out="$work/out-$1-$2" report="$work/time-$1-$2.txt"
  rm -rf "$out"
  mkdir -p "$out"
  local files=()
  mapfile -t files < <(find "$work/in" -name 'clip*.mp4' | sort | head -n "$n")
  local status=0
  (ulimit -n 1024 && exec /usr/bin/time -v -o "$report" "$subject" --output-dir "$out" \
    --jobs "$jobs" "${files[@]}") >"$work/rows-$n-$jobs.txt" 2>"$work/err-$n-$jobs.txt" || status=$?
  local done_rows peak seconds
  done_rows=$(grep -c $'\tDone$' "$work/rows-$n-$jobs.txt" || true)
  peak=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$report")
  seconds=$(awk -F': ' '/Elapsed \(wall clock\)/ { print $2 }' "$report")
  echo "$done_rows $status $peak $seconds"
}

failed=0
for jobs in 1 2; do
  read -r small_done small_status small_peak small_time < <(run_batch 100 "$jobs")
  read -r many_done many_status many_peak many_time < <(run_batch "$count" "$jobs")
  echo "--jobs $jobs:   100 files: $small_done Done, exit $small_status, peak $small_peak kB, $small_time"
  echo "--jobs $jobs: $count files: $many_done Done, exit $many_status, peak $many_peak kB, $many_time"
  awk -v a="$many_peak" -v b="$small_peak" \
    'BEGIN { printf "--jobs %s: memory ratio (%s / 100 files): %.3f\n", "'"$jobs"'", "'"$count"'", a / b }'
  if [[ $small_done -ne 100 || $many_done -ne $count || $small_status -ne 0 || $many_status -ne 0 ]]; then
    echo "--jobs $jobs: not every file converted (see $work/rows-*-$jobs.txt)" >&2
    failed=1
  fi
  if ! awk -v a="$many_peak" -v b="$small_peak" 'BEGIN { exit !(a <= b * 1.10) }'; then
    echo "--jobs $jobs: peak memory grew by more than 10%" >&2
    failed=1
  fi
done
exit $failed
