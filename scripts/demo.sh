#!/usr/bin/env bash
# Installs what is needed, builds, and opens Printer Settings on the emulated demo printers:
#   scripts/demo.sh                          main window of the passbook printer Talvenor QR-520
#   scripts/demo.sh "Talvenor QJ-760" 99     the inkjet printer's maintenance page
#   scripts/demo.sh "Talvenor QR-520" 1 0    run mode 1: the setting dialog of base item 0
# Without a display it runs the window-less run modes instead: the current-values report
# (run mode 101) and the menu refresh (run mode 102).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh >/dev/null

# A fresh copy of the demo, so every run starts from the same printers.
demo=build/demo
rm -rf "$demo"
mkdir -p "$demo"
cp -r resources/emulation resources/Scheme "$demo/"
export PRINTER_SETTINGS_EMULATION="$PWD/$demo/emulation/demo"
cache="$PRINTER_SETTINGS_EMULATION/temp/Talvenor Printer"
program=build/src/app/printer-settings

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
    (($#)) || set -- "Talvenor QR-520"
    printf 'Opening Printer Settings:'; printf ' "%s"' "$@"; echo
    rc=0
    "$program" "$@" || rc=$?
    echo "(exit status $rc; commands the printers received: $PRINTER_SETTINGS_EMULATION/devices/*/commands.log)"
    exit "$rc"
fi
echo "No display: running the window-less demo instead."
echo "(Run it on a desktop for the windows; scripts/screenshots.sh shows them without one.)"
echo

run() {
    printf '$ printer-settings'; printf ' "%s"' "$@"; echo
    local rc=0
    "$program" "$@" || rc=$?
    echo "(exit status $rc)"
}

run "Talvenor QR-520" 101
echo "--- values report of Talvenor QR-520:"
tr -d '\r' < "$cache/Talvenor QR-520"
echo
run "Talvenor QJ-760" 102
echo "--- menu downloaded from Talvenor QJ-760: $(wc -c < "$cache/Talvenor QJ-760.DAT") bytes;" \
     "$(tr -d '\r' < "$cache/Talvenor QJ-760.ini" | grep PrinterName)"
echo
run "Talvenor QJ-760" 101
echo "--- values report of Talvenor QJ-760:"
tr -d '\r' < "$cache/Talvenor QJ-760"
echo
run "Talvenor QR-520 Network" 101
echo "--- a printer behind the network port monitor cannot be read over USB: no report" \
     "($(ls "$cache" | grep -c Network || true) files for it)"
echo
echo "Commands the emulated QR-520 received: $PRINTER_SETTINGS_EMULATION/devices/qr520/commands.log"
