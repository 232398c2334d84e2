#!/usr/bin/env bash
# Every entry of the output-format catalogue, with its default choices, on the
# 30-second 720p H.264/AAC source: the batch mode of trovenix-convert against
# the ffmpeg command that asks for the same codecs, bit rates, frame size and
# rate, channels, sampling rate, display aspect and volume. Median wall time of
# RUNS runs (taken in turns; at least SHORT_RUNS, default 15, for an entry that
# takes ffmpeg under a second), the ratio (the median of the pairs' ratios),
# peak memory and the output sizes in kB (ours_out, ffm_out: a check that both
# asked for the same bit rates).
# Then a batch of 20 three-second files with --jobs 2 against 20 ffmpeg runs
# one after the other.
# Usage: bench/profiles-speed.sh [BUILD_DIR] [RUNS] [WORK_DIR] [POS...]
#   POS... limits the first table to those catalogue positions.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
bench_setup 3 "${@:1:3}"
shift $(($# < 3 ? $# : 3))
only=" $* "
short_runs=${SHORT_RUNS:-15}

# What the batch asks of the engine for this source (1280x720, so the
# "Original" aspect choice gives 1.7778; volume position 5 gives 255/256).
# "Auto" frame rates are 25; the Zune MPEG-4 entry selects no frame rate and
# keeps the source's; the iPod entries leave the channel count alone; the AMR
# audio of 3GP/3G2 is AAC on a build without an AMR encoder.
common="-aspect 1.7778 -af volume=0.99609375"
audio_only="-vn -af volume=0.99609375"
# position | short name | extension | ffmpeg output options
cases=(
  "0|iPod|mp4|-c:v mpeg4 -b:v 512k -s 320x240 -r 25 -c:a aac -b:a 64k -ar 44100 $common"
  "1|iPod Extra|mp4|-c:v mpeg4 -b:v 1500k -s 640x480 -r 25 -c:a aac -b:a 64k -ar 44100 $common"
  "2|iPod Video For TV|mp4|-c:v mpeg4 -b:v 1500k -s 640x480 -r 25 -c:a aac -b:a 64k -ar 44100 $common"
  "4|iPod Touch|mp4|-c:v mpeg4 -b:v 1200k -s 480x320 -r 25 -c:a aac -b:a 80k -ar 44100 $common"
  "5|iPod Touch Extra|mp4|-c:v mpeg4 -b:v 1500k -s 640x480 -r 25 -c:a aac -b:a 80k -ar 44100 $common"
  "6|iPod Touch Wide|mp4|-c:v mpeg4 -b:v 1500k -s 720x406 -r 25 -c:a aac -b:a 128k -ar 44100 $common"
  "8|iPhone|mp4|-c:v mpeg4 -b:v 1200k -s 480x320 -r 25 -c:a aac -b:a 80k -ar 44100 -ac 2 $common"
  "9|iPhone Extra|mp4|-c:v mpeg4 -b:v 1500k -s 640x480 -r 25 -c:a aac -b:a 128k -ar 44100 -ac 2 $common"
  "10|iPhone Wide|mp4|-c:v mpeg4 -b:v 1500k -s 720x480 -r 25 -c:a aac -b:a 128k -ar 44100 -ac 2 $common"
  "12|Zune MPEG-4|mp4|-c:v mpeg4 -b:v 1500k -s 320x240 -c:a aac -b:a 128k -ar 44100 -ac 2 $common"
  "13|Zune WMV|wmv|-c:v wmv2 -b:v 1200k -s 320x240 -r 25 -c:a wmav2 -b:a 128k -ar 48000 -ac 2 $common"
  "15|PSP|mp4|-c:v mpeg4 -b:v 768k -s 368x208 -r 29.97 -c:a aac -b:a 64k -ar 24000 -ac 2 $common"
  "16|PS3|mp4|-c:v libx264 -b:v 1200k -s 720x480 -r 29.97 -c:a aac -b:a 96k -ar 44100 -ac 2 $common"
  "17|PS3 480P|mp4|-c:v libx264 -b:v 1200k -s 720x480 -r 29.97 -c:a aac -b:a 96k -ar 44100 -ac 2 $common"
  "18|PS3 720P|mp4|-c:v libx264 -b:v 2000k -s 1280x720 -r 29.97 -c:a aac -b:a 96k -ar 44100 -ac 2 $common"
  "19|PS3 1080P|mp4|-c:v libx264 -b:v 2000k -s 1920x1072 -r 29.97 -c:a aac -b:a 96k -ar 44100 -ac 2 $common"
  "21|3GP|3gp|-c:v mpeg4 -b:v 128k -s 176x144 -r 25 -c:a aac -b:a 7400 -ar 8000 -ac 1 $common"
  "22|3G2|3g2|-c:v mpeg4 -b:v 128k -s 176x144 -r 25 -c:a aac -b:a 7400 -ar 8000 -ac 1 $common"
  "23|AAC|aac|-c:a aac -b:a 128k -ar 48000 -ac 2 $audio_only"
  "24|AVI|avi|-c:v mpeg4 -b:v 1200k -r 25 -c:a pcm_s16le -ar 48000 -ac 2 $common"
  "25|AVI DivX|avi|-c:v mpeg4 -b:v 1200k -r 25 -c:a libmp3lame -b:a 128k -ar 48000 -ac 2 $common"
  "26|MP3|mp3|-c:a libmp3lame -b:a 192k -ar 48000 -ac 2 $audio_only"
  "27|MP4|mp4|-c:v mpeg4 -b:v 1200k -r 25 -c:a aac -b:a 128k -ar 44100 -ac 2 $common"
  "28|MPEG-1|mpg|-c:v mpeg1video -b:v 1600k -s 320x240 -r 25 -c:a mp2 -b:a 192k -ar 44100 -ac 2 $common"
  "29|MPEG-2|mpg|-c:v mpeg2video -b:v 2000k -s 320x240 -r 25 -c:a mp2 -b:a 192k -ar 44100 -ac 2 $common"
  "30|MOV|mov|-c:v mpeg4 -b:v 1200k -r 25 -c:a aac -b:a 128k -ar 44100 -ac 2 $common"
  "31|WMA|wma|-c:a wmav2 -b:a 128k -ar 48000 -ac 2 $audio_only"
  "32|WMV|wmv|-c:v wmv2 -b:v 1200k -s 320x240 -r 25 -c:a wmav2 -b:a 128k -ar 48000 -ac 2 $common"
)

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores, runs: $runs"
printf "%3s %-18s %8s %8s %6s %10s %10s %5s %8s %8s\n" pos entry ours_s ffmpeg_s ratio ours_rss_kB ffm_rss_kB mem ours_out ffm_out
ours_dir="$work/ours"
theirs_dir="$work/theirs"
mkdir -p "$ours_dir" "$theirs_dir"
for entry in "${cases[@]}"; do
  IFS='|' read -r pos name ext theirs <<<"$entry"
  [[ "$only" == "  " || "$only" == *" $pos "* ]] || continue
  ours_out="$ours_dir/source-720p.$ext"
  theirs_out="$theirs_dir/source-720p.$ext"
  : >"$work/ours.txt"
  : >"$work/theirs.txt"
  row_runs=$runs
  for ((i = 0; i < row_runs; i++)); do
    rm -f "$ours_out" "$theirs_out"
    measure "$subject" --format "$pos" --output-dir "$ours_dir" "$clip" >>"$work/ours.txt"
    # shellcheck disable=SC2086
    measure ffmpeg -nostdin -v error -y -i "$clip" $theirs "$theirs_out" >>"$work/theirs.txt"
    # A row of under a second is mostly start-up and the machine's own
    # hiccups of a tenth of a second: it is timed at least short_runs times.
    if ((i == 0)) && awk -v t="$(cut -d' ' -f1 "$work/theirs.txt")" 'BEGIN { exit !(t < 1) }'; then
      ((row_runs = runs > short_runs ? runs : short_runs))
    fi
  done
  read_figures
  ours_size=$(($(stat -c %s "$ours_out") / 1000))
  theirs_size=$(($(stat -c %s "$theirs_out") / 1000))
  awk -v p="$pos" -v n="$name" -v a="$ours_time" -v b="$theirs_time" -v r="$time_ratio" \
    -v m="$ours_mem" -v k="$theirs_mem" -v s="$ours_size" -v t="$theirs_size" \
    'BEGIN { printf "%3d %-18s %8.2f %8.2f %6.2f %10d %10d %5.2f %8d %8d\n", p, n, a, b, r, m, k, m / k, s, t }'
done
echo "load after table: $(cut -d' ' -f1-3 /proc/loadavg)"

# Twenty short files through the MP4 entry: one batch with two jobs against
# twenty ffmpeg runs in a row with the same settings.
batch_pos=27
batch_args="-c:v mpeg4 -b:v 1200k -r 25 -c:a aac -b:a 128k -ar 44100 -ac 2 $common"
short="$work/short"
mkdir -p "$short/in"
if [[ ! -f "$short/in/clip-20.mp4" ]]; then
  ffmpeg -nostdin -v error -y -i "$clip" -t 3 -c copy "$short/clip.mp4"
  for n in $(seq 1 20); do cp "$short/clip.mp4" "$short/in/clip-$n.mp4"; done
fi
files=("$short"/in/clip-*.mp4)
sequential_ffmpeg() {
  for file in "${files[@]}"; do
    # shellcheck disable=SC2086
    ffmpeg -nostdin -v error -y -i "$file" $batch_args "$short/theirs/$(basename "$file")" || return 1
  done
}
: >"$work/batch-ours.txt"
: >"$work/batch-ours1.txt"
: >"$work/batch-theirs.txt"
for ((i = 0; i < runs; i++)); do
  rm -rf "$short/ours" "$short/ours1" "$short/theirs"
  mkdir -p "$short/ours" "$short/ours1" "$short/theirs"
  measure "$subject" --format "$batch_pos" --jobs 2 --output-dir "$short/ours" "${files[@]}" >>"$work/batch-ours.txt"
  measure "$subject" --format "$batch_pos" --jobs 1 --output-dir "$short/ours1" "${files[@]}" >>"$work/batch-ours1.txt"
  measure bash -c "$(declare -p files short batch_args); $(declare -f sequential_ffmpeg); sequential_ffmpeg" \
    >>"$work/batch-theirs.txt"
done
[[ $(find "$short/ours" -name '*.mp4' | wc -l) -eq 20 ]] || { echo "the batch gave no 20 outputs" >&2; exit 1; }
theirs_time=$(cut -d' ' -f1 "$work/batch-theirs.txt" | median_of)
echo
printf "%-34s %8s %6s %9s\n" "20 files x 3 s, MP4 entry" wall_s ratio peak_kB
for row in "trovenix-convert --jobs 2|batch-ours" "trovenix-convert --jobs 1|batch-ours1" \
  "ffmpeg, 20 runs in a row|batch-theirs"; do
  IFS='|' read -r label file <<<"$row"
  t=$(cut -d' ' -f1 "$work/$file.txt" | median_of)
  m=$(cut -d' ' -f2 "$work/$file.txt" | sort -n | tail -1)
  awk -v l="$label" -v a="$t" -v b="$theirs_time" -v m="$m" \
    'BEGIN { printf "%-34s %8.2f %6.2f %9d\n", l, a, a / b, m }'
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
