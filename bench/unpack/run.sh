#!/usr/bin/env bash
# The unpacking of a card package: a 200 MB archive of many files (half text, half random data, in
# folders) unpacked into a folder by the settings screen's unpacking (into a temporary folder, every
# CRC checked, then moved into place; on its own thread), beside `unzip -q -o` of the same archive
# into an empty folder (goal: time ratio <= 1.0). Each measurement is the best of REPEAT runs (3); the
# unpacked trees are compared. The files live in a temporary folder.
# usage: bench/unpack/run.sh [BUILD_DIR]      (default: build; built when needed)
# Environment: ARCHIVE_MB (200), REPEAT (3).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target unpack_bench >"${TMPDIR:-/tmp}/kavrin-unpack-build.log" 2>&1 ||
  { cat "${TMPDIR:-/tmp}/kavrin-unpack-build.log" >&2; exit 1; }
bench="$build/bench/unpack/unpack_bench"
archive_mb=${ARCHIVE_MB:-200}
repeat=${REPEAT:-3}
command -v unzip >/dev/null || { echo "unzip is not installed" >&2; exit 1; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/kavrin-unpack-XXXXXX")
trap 'rm -rf "$tmp"' EXIT
export QT_QPA_PLATFORM=offscreen

now() { date +%s.%N; }
best() { sort -g | head -1; }
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "unpacking a ${archive_mb} MB archive of many files"
python3 - "$tmp/package.zip" "$archive_mb" <<'PY'
import os, random, sys, zipfile
path, total = sys.argv[1], int(sys.argv[2]) * 1024 * 1024
random.seed(7)
text = b"".join(b"speedcam %08d lat 37.%06d lon 127.%06d\n" % (i, i * 7 % 999999, i * 13 % 999999) for i in range(4000))
size, n = 0, 0
with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=6) as z:
    while size < total:
        length = 64 * 1024 + (n * 37 % 17) * 16 * 1024
        data = os.urandom(length) if n % 2 else (text * (length // len(text) + 1))[:length]
        z.writestr("data/%03d/file_%05d.bin" % (n % 50, n), data)
        size += length
        n += 1
print("  %d files, %.0f MB unpacked, %.0f MB archive" % (n, size / 1048576, os.path.getsize(path) / 1048576))
PY
unzip_times=() player_times=()
for i in $(seq "$repeat"); do
  rm -rf "$tmp/u1" "$tmp/u2"; mkdir -p "$tmp/u1" "$tmp/u2"
  sync
  t0=$(now); unzip -q -o "$tmp/package.zip" -d "$tmp/u1"; t1=$(now)
  unzip_times+=("$(echo "$t1 - $t0" | bc -l)")
  # The package lies on the card beside what it unpacks to, and is removed by the unpacking.
  cp "$tmp/package.zip" "$tmp/u2/package.zip"
  sync
  player_times+=("$("$bench" "$tmp/u2/package.zip" "$tmp/u2" | awk '/^seconds/ {print $2}')")
  diff -rq "$tmp/u1" "$tmp/u2" >/dev/null || { echo "player: unpacked files differ" >&2; exit 1; }
done
unzip_best=$(printf '%s\n' "${unzip_times[@]}" | best)
player_best=$(printf '%s\n' "${player_times[@]}" | best)
printf '  unzip        %8.3f s   (runs: %s)\n' "$unzip_best" "${unzip_times[*]}"
printf '  player       %8.3f s   (runs: %s)\n' "$player_best" "${player_times[*]}"
printf '  ratio player/unzip: %.2f (goal <= 1.0)\n' "$(echo "$player_best / $unzip_best" | bc -l)"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
