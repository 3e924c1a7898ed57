#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build/fuzz) and runs each for a bounded time.
# FUZZ_SECONDS sets the time per target (default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-20}
generator=()
command -v ninja >/dev/null && [ ! -f build/fuzz/Makefile ] && generator=(-G Ninja)
CC=clang CXX=clang++ cmake -S . -B build/fuzz "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVRIN_FUZZ=ON \
  -DKAVRIN_GUI=OFF -DKAVRIN_TESTS=OFF -DKAVRIN_BENCH=OFF >/dev/null
cmake --build build/fuzz -j"$(nproc)"
shopt -s nullglob
targets=(build/fuzz/fuzz/fuzz_*)
passed=0
failed=0
for t in "${targets[@]}"; do
  [ -x "$t" ] || continue
  name=$(basename "$t")
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/seeds/$name" ] && seeds=("fuzz/seeds/$name")
  if "$t" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 "$corpus" "${seeds[@]}" \
       >"build/fuzz/$name.log" 2>&1; then
    echo "fuzz: $name ok ($(grep -o 'Done [0-9]* runs' "build/fuzz/$name.log" | tail -1))"
    passed=$((passed + 1))
  else
    echo "fuzz: $name FAILED"; tail -40 "build/fuzz/$name.log"
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
