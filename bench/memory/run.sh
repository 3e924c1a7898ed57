#!/usr/bin/env bash
# Resident memory of the real player while it steps through recordings: the application runs under
# its own Xvfb on a generated card of three-channel 720p recordings (opened at start through the
# stored folder bookmark, with settings in a temporary XDG_CONFIG_HOME), the first recording is
# started with the space key, then "." (next recording) is pressed CHANGES times, INTERVAL seconds
# apart. VmRSS, threads and open files are read from /proc after every change; the figure is
# "VmRSS after the last change minus VmRSS after change 6" (target: at most 40 MB for 24 changes).
# Then, while the recording plays, full screen is entered and left ROUND_TRIPS times with F11
# (TOGGLE_INTERVAL seconds after each key); the figure is "VmRSS after the last round trip minus
# VmRSS before the first" (target: at most 20 MB for 50 round trips).
# usage: bench/memory/run.sh [BUILD_DIR]      (default: build; built when needed)
# Environment: CHANGES (24), INTERVAL (2), ROUND_TRIPS (50), TOGGLE_INTERVAL (1), RECORDINGS (10),
# SECONDS_PER_RECORDING (30),
# KEEP_LOG (a file to copy the player's output to), SCREENSHOT (a PNG of the screen after the last
# change, taken with ffmpeg's x11grab), WORK_DIR (a fresh temporary folder).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
changes=${CHANGES:-24}
interval=${INTERVAL:-2}
round_trips=${ROUND_TRIPS:-50}
toggle_interval=${TOGGLE_INTERVAL:-1}
recordings=${RECORDINGS:-10}
seconds=${SECONDS_PER_RECORDING:-30}
# Everything this script starts ends within this many seconds.
limit=$((240 + changes * (interval + 2) + round_trips * 2 * (toggle_interval + 1)))

cmake --build "$build" --target kavrin-player kavrin-samplegen kavrin-demo-bookmark \
  >"${TMPDIR:-/tmp}/kavrin-memory-build.log" 2>&1 ||
  { cat "${TMPDIR:-/tmp}/kavrin-memory-build.log" >&2; exit 1; }
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "memory: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done

work=${WORK_DIR:-}
own_work=0
if [ -z "$work" ]; then
  work=$(mktemp -d "${TMPDIR:-/tmp}/kavrin-memory-XXXXXX")
  own_work=1
fi
mkdir -p "$work"
xvfb_pid=""
app_pid=""
cleanup() {
  local pid
  for pid in "$app_pid" "$xvfb_pid"; do
    [ -n "$pid" ] || continue
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 1 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  [ -n "${KEEP_LOG:-}" ] && [ -f "$work/player.log" ] && cp "$work/player.log" "$KEEP_LOG"
  [ "$own_work" = 1 ] && rm -rf "$work"
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT TERM
started=$SECONDS
fail() {
  echo "memory: $*" >&2
  if [ -f "$work/player.log" ]; then
    echo "--- last lines of the player's output:" >&2
    tail -n 20 "$work/player.log" >&2
  fi
  exit 1
}
in_time() { [ $((SECONDS - started)) -lt "$limit" ] || fail "gave up after $limit s"; }

# The card: full-form three-channel MP4 recordings, 1280x720 at 30 fps.
card="$work/card"
if [ ! -f "$card/ver.txt" ]; then
  timeout 600 "$build/tools/samplegen/kavrin-samplegen" card "$card" --recordings "$recordings" \
    --seconds "$seconds" --size 1280x720 --layout datatrack --no-short --no-subfolders >/dev/null ||
    fail "the card could not be made"
fi

# The player's settings and data live in the work folder; the bookmark opens the card at start.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
"$build/tools/demo-bookmark/kavrin-demo-bookmark" "$card" >/dev/null || fail "no bookmark"

# An X server of our own on a free display.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

"$build/kavrin-player" >"$work/player.log" 2>&1 &
app_pid=$!

mb() { awk -v kb="$1" 'BEGIN { printf "%.1f", kb / 1024 }'; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$app_pid/status" 2>/dev/null || echo 0; }
threads() { awk '/^Threads:/ { print $2 }' "/proc/$app_pid/status" 2>/dev/null || echo 0; }
open_files() { ls "/proc/$app_pid/fd" 2>/dev/null | wc -l; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$app_pid/stat" 2>/dev/null || echo 0; }
alive() {
  kill -0 "$app_pid" 2>/dev/null && return 0
  local status=0
  wait "$app_pid" || status=$?
  app_pid=""
  fail "the player ended (status $status)"
}

# The window, then the table: the player has parsed the card when it has been idle for a second.
window=""
for _ in $(seq 1 300); do
  alive
  window=$(xdotool search --onlyvisible --pid "$app_pid" --name "Kavrin Player" 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "no player window within 30 s"
idle=0
last=$(cpu_ticks)
for _ in $(seq 1 60); do
  sleep 0.5
  alive
  now=$(cpu_ticks)
  if [ $((now - last)) -le 5 ]; then idle=$((idle + 1)); else idle=0; fi
  last=$now
  [ "$idle" -ge 2 ] && break
done
sleep 1
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
sleep 0.5
rss_loaded=$(rss_kb)

key() {
  alive
  xdotool windowfocus "$window" 2>/dev/null || true
  xdotool key --clearmodifiers "$1"
}

key space
sleep "$interval"
alive
# The space key reached the player when it chose the first row and laid out its channels.
grep -a -q '^modeBtnsChange' "$work/player.log" || fail "the space key did not start a recording"
rss_first=$(rss_kb)
printf 'load average: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
printf 'card: %d three-channel recordings, 1280x720 30 fps H.264, %s s each; "." every %s s\n' \
  "$recordings" "$seconds" "$interval"
printf '%-22s %10s %8s %6s\n' "" "VmRSS MB" "threads" "files"
printf '%-22s %10.1f %8s %6s\n' "card loaded" "$(mb "$rss_loaded")" "-" "-"
printf '%-22s %10.1f %8s %6s\n' "first recording" "$(mb "$rss_first")" "$(threads)" "$(open_files)"
rss6=0
samples=()
for change in $(seq 1 "$changes"); do
  in_time
  key period
  sleep "$interval"
  alive
  rss=$(rss_kb)
  [ "$change" = 6 ] && rss6=$rss
  samples+=("$rss")
  printf '%-22s %10.1f %8s %6s\n' "change $change" "$(mb "$rss")" "$(threads)" "$(open_files)"
done
rss_last=$rss
stepped=$(grep -a -c '^playNext' "$work/player.log" || true)
[ "$stepped" = "$changes" ] || echo "memory: the player moved on $stepped times for $changes key presses" >&2
if [ -n "${SCREENSHOT:-}" ]; then
  timeout 20 ffmpeg -loglevel error -y -f x11grab -video_size 1600x1000 -i "$DISPLAY" -frames:v 1 "$SCREENSHOT" ||
    echo "memory: no screenshot" >&2
fi
if [ "$changes" -ge 6 ]; then
  diff=$(mb $((rss_last - rss6)))
  printf 'after %d changes minus after 6: %.1f MB (target: at most 40 MB)\n' "$changes" "$diff"
  # VmRSS moves by some 20 MB from one change to the next as decoder buffers come and go; the
  # medians of three neighbouring changes show the trend with less of that noise.
  median3() { printf '%s\n' "$@" | sort -n | sed -n 2p; }
  n=${#samples[@]}
  early=$(median3 "${samples[3]}" "${samples[4]}" "${samples[5]}")
  late=$(median3 "${samples[n - 3]}" "${samples[n - 2]}" "${samples[n - 1]}")
  printf 'median of changes %d-%d minus median of changes 4-6: %.1f MB\n' $((n - 2)) "$n" "$(mb $((late - early)))"
fi
if [ "$round_trips" -gt 0 ]; then
  # The first entry into full screen makes what every later one reuses; count from after it.
  key F11
  sleep "$toggle_interval"
  key F11
  sleep "$toggle_interval"
  alive
  rss_before=$(rss_kb)
  printf '%-22s %10.1f %8s %6s\n' "before round trips" "$(mb "$rss_before")" "$(threads)" "$(open_files)"
  for trip in $(seq 1 "$round_trips"); do
    in_time
    key F11
    sleep "$toggle_interval"
    key F11
    sleep "$toggle_interval"
    alive
    rss=$(rss_kb)
    [ $((trip % 10)) = 0 ] &&
      printf '%-22s %10.1f %8s %6s\n' "round trip $trip" "$(mb "$rss")" "$(threads)" "$(open_files)"
  done
  printf 'load average: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
  printf 'after %d full-screen round trips minus before them: %.1f MB (target: at most 20 MB)\n' \
    "$round_trips" "$(mb $((rss - rss_before)))"
fi
errors=$(grep -a -c -i -e 'error' -e 'fail' -e "can't" -e 'warning' "$work/player.log" || true)
printf 'lines of the player output naming an error, failure or warning: %s\n' "$errors"
grep -a -i -e 'error' -e 'fail' -e "can't" -e 'warning' "$work/player.log" | sort | uniq -c | sort -rn | head -n 10 || true
