#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format (the repository's
# .clang-format) makes of it; `cmake --build build --target format` mends them.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests tools bench fuzz -name '*.cpp' -o -name '*.h')
bad=()
for f in "${files[@]}"; do
  clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
  echo "check-format: not formatted: ${bad[*]}" >&2
  exit 1
fi
echo "check-format: ${#files[@]} files formatted"
