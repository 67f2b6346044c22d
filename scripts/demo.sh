#!/usr/bin/env bash
# Installs what is needed, builds, and opens Printer Settings on the emulated demo printers:
#   scripts/demo.sh                          main window of the passbook printer Talvenor QR-520
#   scripts/demo.sh "Talvenor QJ-760" 99     the inkjet printer's maintenance page
#   scripts/demo.sh "Talvenor QR-520" 1 0    run mode 1: the setting dialog of base item 0
# Without a display it runs the window-less run modes instead: the current-values report
# (run mode 101) and the menu refresh (run mode 102). The demo printers are a fresh copy each
# time, in ~/.local/state/printer-settings/demo (printer-settings --demo; --keep goes on with
# the last one).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh >/dev/null
exec build/src/app/printer-settings --demo "$@"
