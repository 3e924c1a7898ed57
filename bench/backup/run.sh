#!/usr/bin/env bash
# Clip backup: the backup screen's copies (sound included) of a 60 s three-channel 1080p recording
# (front file with sound, rear and inside files), timed in the process, beside the same `ffmpeg`
# command lines run by hand from this script and beside `cp` of the three input files (the I/O
# floor); medians over REPEAT rounds on a warm page cache, the three taken in turn in each round.
# usage: bench/backup/run.sh [BUILD_DIR]      (default: build; built when needed)
# Environment: SECONDS_PER_RECORDING (60), REPEAT (7), WORK_DIR (a fresh temporary folder).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target backup_bench kavrin-samplegen >"${TMPDIR:-/tmp}/kavrin-backup-build.log" 2>&1 ||
  { cat "${TMPDIR:-/tmp}/kavrin-backup-build.log" >&2; exit 1; }
work=${WORK_DIR:-}
if [ -z "$work" ]; then
  work=$(mktemp -d "${TMPDIR:-/tmp}/kavrin-backup-XXXXXX")
  trap 'rm -rf "$work"' EXIT
fi
seconds=${SECONDS_PER_RECORDING:-60}
repeat=${REPEAT:-7}
gen=$build/tools/samplegen/kavrin-samplegen
mkdir -p "$work/card" "$work/app" "$work/hand" "$work/cp" "$work/config"
export XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen
front=$work/card/20241108-083000_F_N.mp4
rear=$work/card/20241108-083000_R_N.mp4
inside=$work/card/20241108-083000_I_N.mp4
"$gen" recording --layout datatrack --seconds "$seconds" --size 1920x1080 --fps 30 --look front "$front" >/dev/null
"$gen" recording --layout datatrack --seconds "$seconds" --size 1920x1080 --fps 30 --look rear --no-audio "$rear" >/dev/null
"$gen" recording --layout datatrack --seconds "$seconds" --size 1920x1080 --fps 30 --look interior --no-audio "$inside" >/dev/null

now() { date +%s%N; }
app_round() { "$build/bench/backup/backup_bench" "$front" "$rear" "$inside" "$work/app" "$work/commands.tsv" 2>/dev/null | tail -1; }
# The same runs by hand: remove the old output, run the tool without input, output discarded.
# The screen's runs write a hidden temporary name (".<output>.partial-<random>") that replaces the
# output when whole; by hand the tool writes the output itself.
hand_round() {
  local start end
  start=$(now)
  while IFS=$'\t' read -r -a cmd; do
    local out=${cmd[-1]##*/}
    out=${out#.}
    out=$work/hand/${out%.partial-*}
    rm -f "$out"
    "${cmd[0]}" "${cmd[@]:1:${#cmd[@]}-2}" "$out" </dev/null >/dev/null 2>&1
  done <"$work/commands.tsv"
  end=$(now)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", (b - a) / 1e6 }'
}
cp_round() {
  local start end
  rm -f "$work/cp"/*
  start=$(now)
  cp "$front" "$rear" "$inside" "$work/cp/"
  end=$(now)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", (b - a) / 1e6 }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# A warm-up round of each, then the measured rounds.
app_round >/dev/null; hand_round >/dev/null; cp_round >/dev/null
app=(); hand=(); copy=()
for ((i = 0; i < repeat; i++)); do
  app+=("$(app_round)"); hand+=("$(hand_round)"); copy+=("$(cp_round)")
done
app_ms=$(printf '%s\n' "${app[@]}" | median)
hand_ms=$(printf '%s\n' "${hand[@]}" | median)
cp_ms=$(printf '%s\n' "${copy[@]}" | median)
bytes=$(cat "$front" "$rear" "$inside" | wc -c)
# Every output the screen wrote is a complete copy.
for f in "$work/app"/*.mov; do ffprobe -v error "$f" >/dev/null || { echo "broken output $f" >&2; exit 1; }; done

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "recording: ${seconds} s, 3 channel files of 1920x1080 at 30 fps, $((bytes / 1000000)) MB; $(wc -l <"$work/commands.tsv") ffmpeg runs; ${repeat} rounds"
echo "runs: app ${app[*]} | by hand ${hand[*]} | cp ${copy[*]} (ms)"
printf '%-34s %10s %8s\n' "" "median ms" "ratio"
printf '%-34s %10.1f %8.3f\n' "backup screen (Save, main thread)" "$app_ms" "$(awk -v a="$app_ms" -v b="$hand_ms" 'BEGIN { print a / b }')"
printf '%-34s %10.1f %8.3f\n' "same ffmpeg runs by hand" "$hand_ms" "1.000"
printf '%-34s %10.1f %8.3f\n' "cp of the input files (I/O floor)" "$cp_ms" "$(awk -v a="$cp_ms" -v b="$hand_ms" 'BEGIN { print a / b }')"
