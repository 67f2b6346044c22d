#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for SECONDS (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scripts/install-deps.sh
command -v clang++ >/dev/null || { apt-get install -y --no-install-recommends clang libclang-rt-dev; }
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DPS_BUILD_FUZZERS=ON -DPS_BUILD_TESTS=ON
cmake --build build-fuzz --target emulator_frames_fuzzer reply_decoders_fuzzer scheme_input_fuzzer
for fuzzer in emulator_frames_fuzzer reply_decoders_fuzzer scheme_input_fuzzer; do
    corpus="build-fuzz/corpus/$fuzzer"
    mkdir -p "$corpus"
    if [ "$fuzzer" = scheme_input_fuzzer ] && [ -z "$(ls -A "$corpus")" ]; then
        cp resources/Scheme/*.Dat tests/data/schemes/*.dat "$corpus/" 2>/dev/null || true
    fi
    echo "== $fuzzer ($seconds s)"
    "build-fuzz/tests/fuzz/$fuzzer" "$corpus" -max_total_time="$seconds" -print_final_stats=1 \
        2>&1 | grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done' || true
done
