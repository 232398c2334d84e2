# Shared pieces of the benchmark scripts: the set-up from their common
# arguments, the 30-second 720p source, timing of one run (wall seconds and
# peak resident kB) and the median.

# Reads BUILD_DIR, RUNS (default $1) and WORK_DIR from the remaining
# arguments; sets subject (trovenix-convert), runs, work and clip, and makes
# the source clip.
bench_setup() {
  local default_runs=$1
  build=${2:-build}
  runs=${3:-$default_runs}
  work=${4:-$(mktemp -d)}
  subject="$build/src/cli/trovenix-convert"
  [[ -x "$subject" ]] || { echo "build first: $subject is missing" >&2; exit 1; }
  mkdir -p "$work"
  clip="$work/source-720p.mp4"
  make_source "$clip"
}

# Makes the source clip once per work folder: 720p H.264 at 29.97 fps with
# 48 kHz stereo AAC, 30 seconds.
make_source() {
  local clip=$1
  [[ -f "$clip" ]] && return
  ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=1280x720:rate=30000/1001 \
    -f lavfi -i sine=frequency=440:sample_rate=48000 -ac 2 -t 30 \
    -c:v libx264 -preset veryfast -b:v 4M -c:a aac -b:a 128k "$clip"
}

# Prints "seconds peak_kB" of one run of the command; fails when it fails.
# The seconds are read to the millisecond (time's own figure has 10 ms steps,
# too coarse for the runs of a fraction of a second).
measure() {
  local report start end
  report=$(mktemp)
  start=$EPOCHREALTIME
  if ! /usr/bin/time -f "%M" -o "$report" "$@" >/dev/null 2>&1; then
    echo "failed: $*" >&2
    rm -f "$report"
    return 1
  fi
  end=$EPOCHREALTIME
  awk -v a="$start" -v b="$end" -v m="$(tail -1 "$report")" 'BEGIN { printf "%.3f %d\n", b - a, m }'
  rm -f "$report"
}

median_of() {
  sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# From the "seconds peak_kB" lines of $work/ours.txt and $work/theirs.txt:
# ours_time and theirs_time (medians), time_ratio (the median of the ratios
# of runs taken in turn, line by line: the machine's speed drifts, by a third
# at times, and a pair shares its state where two medians need not), ours_mem
# and theirs_mem (peaks).
read_figures() {
  ours_time=$(cut -d' ' -f1 "$work/ours.txt" | median_of)
  theirs_time=$(cut -d' ' -f1 "$work/theirs.txt" | median_of)
  time_ratio=$(paste -d' ' "$work/ours.txt" "$work/theirs.txt" |
    awk '$3 > 0 { printf "%.4f\n", $1 / $3 }' | median_of)
  ours_mem=$(cut -d' ' -f2 "$work/ours.txt" | sort -n | tail -1)
  theirs_mem=$(cut -d' ' -f2 "$work/theirs.txt" | sort -n | tail -1)
}
