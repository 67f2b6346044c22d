#!/usr/bin/env bash
# Builds the whole suite with sanitizers and runs it; any finding fails a test and the script.
#   scripts/check-sanitizers.sh [address|thread|all]   (default all)
# address: AddressSanitizer + UndefinedBehaviorSanitizer in build-asan/
# thread:  ThreadSanitizer in build-tsan/; tests labelled "ui" (Qt, which is not instrumented)
#          are left out unless PS_TSAN_EXCLUDE_LABEL is set to something else (empty: none).
# The windows are left out of both (PS_SANITIZE_UI=ON puts them in): Qt is not instrumented, and
# its own allocations at exit would read as leaks. The normal suite runs the UI tests.
# The compiler is clang 14 (its sanitizers, and it builds faster than gcc does with them); set
# PS_SANITIZE_CXX=g++ for gcc's.
set -euo pipefail
cd "$(dirname "$0")/.."
mode="${1:-all}"
case "$mode" in address|thread|all) ;; *) echo "usage: $0 [address|thread|all]" >&2; exit 1 ;; esac
scripts/install-check-deps.sh
compiler="${PS_SANITIZE_CXX:-clang++-14}"
command -v "$compiler" >/dev/null || compiler=clang++

# Every finding stops the program with its own exit status, so a test that expects a failure
# status cannot mistake one for its own. Leaks count as findings.
export ASAN_OPTIONS="detect_leaks=1:exitcode=86:strict_init_order=1:check_initialization_order=1:detect_stack_use_after_return=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:exitcode=86${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
export TSAN_OPTIONS="exitcode=86:second_deadlock_stack=1${TSAN_OPTIONS:+:$TSAN_OPTIONS}"
if [ -f tests/sanitizers/tsan.supp ]; then
    TSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/tsan.supp:$TSAN_OPTIONS"
fi

run_suite() {
    local dir="$1" sanitize="$2"
    shift 2
    echo "== $sanitize: building in $dir"
    cmake -S . -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
          -DPS_WARNINGS_AS_ERRORS=ON -DPS_SANITIZE="$sanitize" -DPS_BUILD_UI="${PS_SANITIZE_UI:-OFF}" \
          >/dev/null
    cmake --build "$dir" -j2
    echo "== $sanitize: running the suite"
    ctest --test-dir "$dir" -j2 --output-on-failure "$@"
}

if [ "$mode" = address ] || [ "$mode" = all ]; then
    run_suite build-asan address,undefined
fi
if [ "$mode" = thread ] || [ "$mode" = all ]; then
    exclude="${PS_TSAN_EXCLUDE_LABEL-ui}"
    if [ -n "$exclude" ]; then
        run_suite build-tsan thread -LE "^${exclude}\$"
    else
        run_suite build-tsan thread
    fi
fi
