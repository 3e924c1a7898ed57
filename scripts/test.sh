#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# the formatting check, the CTest suites (warnings are errors), the metadata, platform and player
# tests under AddressSanitizer and UBSan, and a bounded fuzz run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/check-format.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
(cd build && ctest --output-on-failure -j4)
bash scripts/sanitize.sh
bash scripts/fuzz.sh
