#!/usr/bin/env bash
# Installs what is missing, builds, and starts the player on a demo memory card
# (generated on first use under ~/.local/share/kavrin-player/demo-card).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
demo="${XDG_DATA_HOME:-$HOME/.local/share}/kavrin-player/demo-card"
if [ -x build/tools/samplegen/kavrin-samplegen ] && [ ! -f "$demo/ver.txt" ]; then
  echo "run: generating the demo memory card in $demo"
  build/tools/samplegen/kavrin-samplegen card "$demo"
fi
if [ -x build/tools/demo-bookmark/kavrin-demo-bookmark ] && [ -f "$demo/ver.txt" ]; then
  build/tools/demo-bookmark/kavrin-demo-bookmark "$demo"
fi
exec build/kavrin-player
