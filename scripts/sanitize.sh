#!/usr/bin/env bash
# The metadata, platform and player tests again, built with AddressSanitizer and
# UndefinedBehaviorSanitizer (build/asan): the parsers, and where threads meet (the
# channel views' render threads, the network monitor, the parallel first fixes).
set -euo pipefail
cd "$(dirname "$0")/.."
generator=()
command -v ninja >/dev/null && [ ! -f build/asan/Makefile ] && generator=(-G Ninja)
cmake -S . -B build/asan "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug -DENABLE_ASAN=ON -DENABLE_UBSAN=ON \
  -DKAVRIN_BENCH=OFF >/dev/null
cmake --build build/asan -j"$(nproc)" --target metadata_tests system_tests \
  media_tests ui_tests web_tests shared_tests library_tests playback_tests controls_tests dataviews_tests \
  window_tests fullscreen_tests
# Leaks are not judged: Qt, the web engine and libmpv keep process-lifetime allocations.
# The web engine's own Chromium frees some objects through a base type of another size.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:new_delete_type_mismatch=0 UBSAN_OPTIONS=print_stacktrace=1
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
(cd build/asan && ctest --output-on-failure -R 'metadata_tests|system_tests|media_tests|ui_tests|web_tests|shared_tests|library_tests|playback_tests|controls_tests|dataviews_tests|window_tests|fullscreen_tests')
