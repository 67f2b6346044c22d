#!/usr/bin/env bash
# The Windows build, checked on Linux: installs Debian's mingw-w64 (posix thread model), its
# zlib, the GoogleTest sources and wine64; cross-builds into build-win/ everything that needs no
# Qt (the core, the Win32 and emulated backends, printer-settings without windows,
# printer-settings-tool, the tests); runs the tests under Wine through CTest; and compares the
# programs' output with the Linux build's (scripts/compare-windows.sh). Run as root on Debian 12.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)

# The cross compiler, zlib and GoogleTest's sources for the target, and Wine; the Linux
# packages besides, for the Linux programs the Windows ones are compared with.
scripts/install-deps.sh g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest wine64
installed=$(date +%s)

build=build-win
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$build" -G Ninja "${launcher[@]}" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release -DPS_BUILD_UI=OFF -DPS_WARNINGS_AS_ERRORS=ON
cmake --build "$build"
built=$(date +%s)

# A private Wine prefix: no display (the null graphics driver), no printers but the test's own.
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
export WINEPREFIX="$PWD/$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    "$wine" wineboot --init
    "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
    "$wineserver" -w
fi
# One Wine server for the whole run, so each test program starts in a fraction of a second.
# Its background services start with the first program: a program of our own with no output,
# as they keep the output of the program that started them open for as long as they run.
"$wineserver" -k 2>/dev/null || true
"$wineserver" -p
trap '"$wineserver" -k 2>/dev/null || true' EXIT
"$wine" reg query 'HKCU\Software\Wine' </dev/null >/dev/null 2>&1 || true

rc=0
PS_TEST_INSTALL_PRINTER=1 ctest --test-dir "$build" --output-on-failure -j2 --timeout 600 || rc=$?
tested=$(date +%s)
scripts/compare-windows.sh "$build" || rc=$?
compared=$(date +%s)

echo "Windows check: packages $((installed - started)) s, cross build $((built - installed)) s," \
     "tests under Wine $((tested - built)) s, comparison with Linux $((compared - tested)) s;" \
     "$((compared - started)) s in all"
exit "$rc"
