#!/bin/sh
# SPDX-License-Identifier: MIT
# Counts what one values report (run mode 101) on a fresh copy of the demo emulation directory
# writes and reads: state.ini replacements, fsync calls, scheme and menu files opened.
#   bench/state-writes.sh [BUILD_DIR] [PRINTER]     (needs strace)
set -e
build=${1:-build}
printer=${2:-Talvenor QR-520}
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$root/resources/emulation" "$root/resources/Scheme" "$work/"
PRINTER_SETTINGS_EMULATION="$work/emulation/demo" strace -f -qq -o "$work/trace" \
    -e trace=fsync,fdatasync,rename,renameat,renameat2,open,openat \
    "$build/src/app/printer-settings" "$printer" 101 >/dev/null 2>&1 || true
count() { grep -cE "$1" "$work/trace" || true; }
echo "state.ini written:      $(grep -E 'rename(at2?)?\(' "$work/trace" | grep -c 'state\.ini"' || true)"
echo "files replaced:         $(count 'rename(at2?)?\(')"
echo "fsync calls:            $(count '(fsync|fdatasync)\(')"
echo "scheme and menu opened: $(grep -E 'open(at)?\(' "$work/trace" | grep -cE '_(Settings|Menu)\.Dat' || true)"
echo "devices made:           $(ls "$work/emulation/demo/devices" 2>/dev/null | wc -l)"
