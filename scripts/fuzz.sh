#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each one in turn.
#   scripts/fuzz.sh [--ci] [SECONDS] [TARGET...]
# Each target starts from its checked-in seeds (tests/fuzz/corpus/<target>/). A developer run
# (default 60 s a target) keeps what it learns in build-fuzz/corpus/<target>/ for the next run;
# --ci (default 30 s) starts from the seeds alone with a fixed random seed. Any finding (crash,
# sanitizer report, leak, time-out, memory limit) fails the script; the input that caused it is
# kept in build-fuzz/artifacts/<target>/. Nothing is written outside build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
ci=0
if [ "${1:-}" = --ci ]; then
    ci=1
    shift
fi
seconds=$((ci ? 30 : 60))
if [[ "${1:-}" =~ ^[0-9]+$ ]]; then
    seconds="$1"
    shift
fi
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(ini_reader_fuzzer item_rule_fuzzer hex_text_fuzzer menu_unpack_fuzzer
             reply_decoders_fuzzer emulation_config_fuzzer emulator_frames_fuzzer
             device_id_fuzzer device_uri_fuzzer ppd_keyword_fuzzer tool_document_fuzzer)
fi

scripts/install-check-deps.sh
compiler=clang++-14
command -v "$compiler" >/dev/null || compiler=clang++
out=build-fuzz
cmake -S . -B "$out" -G Ninja -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DPS_WARNINGS_AS_ERRORS=ON -DPS_BUILD_FUZZERS=ON -DPS_BUILD_TESTS=ON >/dev/null
cmake --build "$out" -j2 --target "${targets[@]}"

# The targets' own temporary files (emulation.ini) stay inside the build folder.
export TMPDIR="$PWD/$out/tmp"
mkdir -p "$TMPDIR" "$out/logs"
export ASAN_OPTIONS="detect_leaks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

failed=()
for target in "${targets[@]}"; do
    seeds="tests/fuzz/corpus/$target"
    [ -d "$seeds" ] || { echo "no seed corpus $seeds" >&2; exit 1; }
    corpus="$out/corpus/$target"
    artifacts="$out/artifacts/$target"
    options=(-max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048
             -max_len=4096 -artifact_prefix="$artifacts/")
    if ((ci)); then
        rm -rf "$corpus"
        options+=(-seed=1)
    fi
    mkdir -p "$corpus" "$artifacts"
    log="$out/logs/$target.log"
    echo "== $target ($seconds s)"
    rc=0
    "$out/tests/fuzz/$target" "${options[@]}" "$corpus" "$seeds" >"$log" 2>&1 || rc=$?
    grep -E '^stat::number_of_executed_units|^Done ' "$log" || true
    if ((rc != 0)); then
        echo "FINDING in $target (exit status $rc); log: $log" >&2
        grep -E -A30 '==ERROR|runtime error|ERROR: libFuzzer|SUMMARY' "$log" | head -60 >&2 || true
        failed+=("$target")
    fi
done
if ((${#failed[@]})); then
    echo "fuzz targets with findings: ${failed[*]}" >&2
    exit 1
fi
echo "no findings in ${#targets[@]} fuzz targets"
