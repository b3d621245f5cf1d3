#!/usr/bin/env bash
# Builds and runs every benchmark under bench/, printing their figures.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
for bench in build/bench/bench_*; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  xvfb-run -a -s "-screen 0 1600x1000x24" "$bench"
done
