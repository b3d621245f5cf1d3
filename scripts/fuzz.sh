#!/usr/bin/env bash
# Builds the update decoders' libFuzzer target with clang and runs it for a
# bounded time (FUZZ_SECONDS, 60 by default). New inputs go to build-fuzz/corpus;
# the seeds in fuzz/corpus stay untouched.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh clang libclang-rt-14-dev
seconds="${FUZZ_SECONDS:-60}"
out=build-fuzz
mkdir -p "$out/corpus"

sources=(fuzz/DistributionDecodersFuzzer.cpp platform/Text.cpp
         platform/Base64.cpp update/DistributionConfig.cpp update/DistributionError.cpp update/FriendRelease.cpp
         update/JSONFields.cpp update/ReleaseAddress.cpp update/SignedDistributionEnvelope.cpp)
# shellcheck disable=SC2046
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I. \
  $(pkg-config --cflags glib-2.0 gio-2.0 icu-uc libcrypto) \
  "${sources[@]}" -o "$out/distribution-decoders" \
  $(pkg-config --libs glib-2.0 gio-2.0 icu-uc libcrypto)

"$out/distribution-decoders" -max_total_time="$seconds" -max_len=4096 -timeout=10 "$out/corpus" fuzz/corpus
