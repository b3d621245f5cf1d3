#!/usr/bin/env bash
# Configures and builds MERIDAVOLT into build/ (or the folder given as $1).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${1:-build}"
shift || true
generator=()
if command -v ninja >/dev/null; then generator=(-G Ninja); fi
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake -S . -B "$build_dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
fi
cmake --build "$build_dir" --parallel "$(nproc)"
