#!/usr/bin/env bash
# Start-up time of the window: from starting trovenix under Xvfb until its
# main window is mapped, median of RUNS (default 5) runs.
#   bash bench/startup-time.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-5}
program="$build/src/app/trovenix"
[[ -x "$program" ]] || { echo "build first: $program is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'kill "${app:-}" "${server:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
source "$(dirname "$0")/../scripts/xvfb-session.sh"
start_xvfb "$work"

: > "$work/times"
for run in $(seq "$runs"); do
  start=$(date +%s.%N)
  HOME="$work" XDG_CONFIG_HOME="$work/config" "$program" &
  app=$!
  # Polls every 10 ms; the poll itself is part of the figure.
  until xdotool search --onlyvisible --name '^Trovenix$' >/dev/null 2>&1; do sleep 0.01; done
  end=$(date +%s.%N)
  kill "$app"
  wait "$app" 2>/dev/null || true
  app=""
  awk -v s="$start" -v e="$end" 'BEGIN { print e - s }' >> "$work/times"
  printf 'run %d: %.3f s\n' "$run" "$(tail -1 "$work/times")"
done
median=$(sort -n "$work/times" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
printf 'start-up to a shown window, median of %d: %.3f s (target <= 1 s)\n' "$runs" "$median"
