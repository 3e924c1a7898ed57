#!/usr/bin/env bash
# The metadata tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer (build/asan).
set -euo pipefail
cd "$(dirname "$0")/.."
generator=()
command -v ninja >/dev/null && [ ! -f build/asan/Makefile ] && generator=(-G Ninja)
cmake -S . -B build/asan "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug -DENABLE_ASAN=ON -DENABLE_UBSAN=ON \
  -DKAVRIN_GUI=OFF -DKAVRIN_BENCH=OFF >/dev/null
cmake --build build/asan -j"$(nproc)"
(cd build/asan && ctest --output-on-failure -R metadata_tests)
