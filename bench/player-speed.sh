#!/usr/bin/env bash
# Playing a 30-second 720p H.264/AAC clip to its end with the player component
# and with the ffplay program, both on SDL's dummy video driver (software
# renderer) and its disk audio driver: CPU time (user + system), peak memory,
# and, for ours, the pictures shown more than one frame period behind the
# audio clock after the first second and those skipped as late instead.
# Usage: bench/player-speed.sh [BUILD_DIR] [RUNS] [WORK_DIR]
set -euo pipefail
source "$(dirname "$0")/lib.sh"
bench_setup 1 "${@:1:3}"
subject="$build/tests/player/player_play_clip"
[[ -x "$subject" ]] || { echo "build first: $subject is missing" >&2; exit 1; }

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk
# Prints "cpu_s peak_kB" of one run.
cpu_measure() {
  local report out
  report=$(mktemp)
  out=$(mktemp)
  if ! /usr/bin/time -f "%U %S %M" -o "$report" "$@" >"$out" 2>&1; then
    echo "failed: $*" >&2
    cat "$out" >&2
    return 1
  fi
  awk '{ printf "%.2f %d\n", $1 + $2, $3 }' "$(tail -1 "$report" >"$report.last"; echo "$report.last")"
  cat "$out" >>"$work/player-output.txt"
  rm -f "$report" "$report.last" "$out"
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
printf "%-8s %8s %9s %s\n" run cpu_s peak_kB note
for ((i = 0; i < runs; i++)); do
  : >"$work/player-output.txt"
  export SDL_DISKAUDIOFILE="$work/ours.raw"
  read -r ours_cpu ours_kb < <(cpu_measure "$subject" "$clip")
  late=$(grep -o 'shown [0-9]* late [0-9]* skipped [0-9]*' "$work/player-output.txt" | tail -1)
  export SDL_DISKAUDIOFILE="$work/ffplay.raw"
  read -r ff_cpu ff_kb < <(cpu_measure ffplay -autoexit -loglevel error "$clip")
  printf "%-8s %8s %9s %s\n" "ours" "$ours_cpu" "$ours_kb" "$late"
  printf "%-8s %8s %9s\n" "ffplay" "$ff_cpu" "$ff_kb"
  awk -v a="$ours_cpu" -v b="$ff_cpu" -v c="$ours_kb" -v d="$ff_kb" \
    'BEGIN { printf "ratio    cpu %.2f  memory %.2f\n", a / b, c / d }'
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
