#!/usr/bin/env bash
# Builds and runs every benchmark under bench/, printing their figures.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# rofi only stands beside the quick launcher's figures; the benchmark says when it is missing.
bash scripts/install-deps.sh rofi || echo "rofi could not be installed; the launcher benchmark prints without it"
bash scripts/build.sh build
for bench in build/bench/bench_*; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  xvfb-run -a -s "-screen 0 1600x1000x24" "$bench"
done
