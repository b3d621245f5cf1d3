#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the whole
# suite (window tests each on a private virtual display), then the core tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs="$(nproc)"
bash scripts/build.sh build
echo "== all tests (each window test on a virtual display of its own)"
ctest --test-dir build --output-on-failure --parallel "$jobs" --timeout 300

echo "== core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
bash scripts/build.sh build-sanitize -DMERIDAVOLT_CORE_ONLY=ON -DMERIDAVOLT_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure --parallel "$jobs" --timeout 300
