#!/usr/bin/env bash
# Installs what is missing, builds, and starts the player on a demo memory card
# (generated on first use under ~/.local/share/kavrin-player/demo-card).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
demo="${XDG_DATA_HOME:-$HOME/.local/share}/kavrin-player/demo-card"
if [ -x build/tools/samplegen/kavrin-samplegen ] && [ ! -f "$demo/ver.txt" ]; then
  # 7 recordings of three channel files each and one two-channel AVI; ver.txt is written last.
  total=22
  echo "run: making the demo memory card in $demo (once; about half a minute)"
  build/tools/samplegen/kavrin-samplegen card "$demo" >/dev/null &
  generator=$!
  started=$SECONDS
  while kill -0 "$generator" 2>/dev/null; do
    sleep 3
    made=$(find "$demo" -type f \( -name '*.mp4' -o -name '*.avi' \) 2>/dev/null | wc -l)
    if [ "$made" -eq 0 ]; then
      echo "run: demo card: encoding the source clips, $((SECONDS - started)) s"
    else
      echo "run: demo card: $made of $total recording files, $((SECONDS - started)) s"
    fi
  done
  wait "$generator"
  echo "run: demo card ready after $((SECONDS - started)) s"
fi
if [ -x build/tools/demo-bookmark/kavrin-demo-bookmark ] && [ -f "$demo/ver.txt" ]; then
  build/tools/demo-bookmark/kavrin-demo-bookmark "$demo"
fi
exec build/kavrin-player
