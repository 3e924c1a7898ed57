#!/usr/bin/env bash
# The installer download: a 500 MB file from a local HTTP server (python3 -m http.server) into the
# Downloads folder by the player's download screen, beside `curl -o` of the same file (goal: time ratio
# <= 1.2) and beside `curl -o` followed by a flush of the file to the disk, as the player does, with the
# player's peak growth of resident memory during the download (goal: under 32 MB);
# then the firmware version page: hostile pages just under the 8 MiB a reply may hold (84 nested tables
# around 7 MB of text; a page of empty cells) fetched and read for the card's offer, with the peak
# growth of resident memory (goal: under 100 MB).
# The unpacking of card packages is measured by bench/unpack/run.sh.
# Each measurement is the best of REPEAT runs (3). The files live in a temporary folder.
# usage: bench/download/run.sh [BUILD_DIR]      (default: build; built when needed)
# Environment: SIZE_MB (500), REPEAT (3).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target download_bench >"${TMPDIR:-/tmp}/kavrin-download-build.log" 2>&1 ||
  { cat "${TMPDIR:-/tmp}/kavrin-download-build.log" >&2; exit 1; }
bench="$build/bench/download/download_bench"
size_mb=${SIZE_MB:-500}
repeat=${REPEAT:-3}

tmp=$(mktemp -d "${TMPDIR:-/tmp}/kavrin-download-XXXXXX")
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
mkdir -p "$tmp/srv" "$tmp/config" "$tmp/Downloads" "$tmp/curl"
# The player's Downloads folder, and no real configuration touched.
printf 'XDG_DOWNLOAD_DIR="%s"\n' "$tmp/Downloads" >"$tmp/config/user-dirs.dirs"
export XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" XDG_CACHE_HOME="$tmp/cache"
export QT_QPA_PLATFORM=offscreen

head -c "${size_mb}M" /dev/urandom >"$tmp/srv/KavrinPlayer_installer.deb"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1]); s.close()')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$tmp/srv" >/dev/null 2>&1 &
server_pid=$!
url="http://127.0.0.1:$port/KavrinPlayer_installer.deb"
for _ in $(seq 50); do curl -sf -o /dev/null -r 0-0 "$url" && break; sleep 0.1; done

now() { date +%s.%N; }
best() { sort -g | head -1; }
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "download of ${size_mb} MB from a local server"
curl_times=() synced_times=() player_times=() growths=()
for i in $(seq "$repeat"); do
  rm -f "$tmp/curl/file" "$tmp/Downloads/"*
  t0=$(now); curl -s -o "$tmp/curl/file" "$url"; t1=$(now)
  curl_times+=("$(echo "$t1 - $t0" | bc -l)")
  # The player flushes a download to the disk before it takes the file's name; curl does not. The same
  # download by curl and then flushed shows what the disk adds.
  rm -f "$tmp/curl/file"
  t0=$(now); curl -s -o "$tmp/curl/file" "$url"; sync -d "$tmp/curl/file"; t1=$(now)
  synced_times+=("$(echo "$t1 - $t0" | bc -l)")
  out=$("$bench" download "$url" 2>/dev/null | grep -v '^progress')
  player_times+=("$(echo "$out" | awk '/^seconds/ {print $2}')")
  growths+=("$(echo "$out" | awk '/^peak_growth_kb/ {print $2}')")
  bytes=$(echo "$out" | awk '/^bytes/ {print $2}')
  [ "$bytes" = "$(stat -c %s "$tmp/srv/KavrinPlayer_installer.deb")" ] || { echo "player: wrong size $bytes" >&2; exit 1; }
  cmp -s "$tmp/srv/KavrinPlayer_installer.deb" "$tmp/Downloads/KavrinPlayer_installer.deb" ||
    { echo "player: file differs" >&2; exit 1; }
done
curl_best=$(printf '%s\n' "${curl_times[@]}" | best)
synced_best=$(printf '%s\n' "${synced_times[@]}" | best)
player_best=$(printf '%s\n' "${player_times[@]}" | best)
growth_max=$(printf '%s\n' "${growths[@]}" | sort -g | tail -1)
printf '  curl -o      %8.3f s   (runs: %s)\n' "$curl_best" "${curl_times[*]}"
printf '  curl + flush %8.3f s   (runs: %s)\n' "$synced_best" "${synced_times[*]}"
printf '  player       %8.3f s   (runs: %s)\n' "$player_best" "${player_times[*]}"
printf '  ratio player/curl: %.2f (goal <= 1.2)\n' "$(echo "$player_best / $curl_best" | bc -l)"
printf '  ratio player/(curl + flush): %.2f\n' "$(echo "$player_best / $synced_best" | bc -l)"
printf '  player peak memory growth: %.1f MB, largest of the runs (goal < 32 MB)\n' "$(echo "$growth_max / 1024" | bc -l)"

# Hostile version pages, each just under the largest reply (8 MiB).
python3 - "$tmp/srv" <<'PY'
import sys
limit = 8 * 1024 * 1024 - 1024
folder = sys.argv[1]
head, tail = b"<table><tr><td>" * 84, b"</td></tr></table>" * 84
open(folder + "/nested.html", "wb").write(head + b"x" * (limit - len(head) - len(tail)) + tail)
cells = b"<table><tr>" + b"<td></td>" * ((limit - 30) // 9) + b"</tr></table>"
open(folder + "/cells.html", "wb").write(cells)
PY
for page in nested cells; do
  growth=0
  for i in $(seq "$repeat"); do
    out=$("$bench" versionpage "http://127.0.0.1:$port/$page.html" 2>/dev/null)
    g=$(echo "$out" | awk '/^peak_growth_kb/ {print $2}')
    [ -n "$g" ] || { echo "version page $page: not read" >&2; exit 1; }
    [ "$g" -gt "$growth" ] && growth=$g
  done
  printf '  version page %-6s %8s bytes, %8s cells: peak memory growth %.1f MB, largest of the runs (goal < 100 MB)\n' \
    "$page" "$(echo "$out" | awk '/^bytes/ {print $2}')" "$(echo "$out" | awk '/^cells/ {print $2}')" \
    "$(echo "$growth / 1024" | bc -l)"
done
