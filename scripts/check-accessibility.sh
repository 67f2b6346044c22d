#!/usr/bin/env bash
# Starts Printer Settings on the demo printers under a bare X server with Qt's accessibility
# bridge on, and prints what a screen reader sees of the main window and of the item dialog of
# run mode 1 (tools/accessibility/walk-tree.py). Fails when a control has no name.
#   scripts/check-accessibility.sh [PRINTER]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh at-spi2-core python3-pyatspi dbus-x11 >/dev/null
scripts/build.sh >/dev/null
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r resources/emulation resources/Scheme "$work/"
export PRINTER_SETTINGS_EMULATION="$work/emulation/demo"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
export DISPLAY=$display
sleep 1
eval "$(dbus-launch --sh-syntax)"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
sleep 2
printer=${1:-Talvenor QR-520}
rc=0
for args in "" "1 0"; do
    # shellcheck disable=SC2086
    build/src/app/printer-settings "$printer" $args >/dev/null 2>&1 &
    program=$!
    sleep 4
    echo "--- printer-settings \"$printer\" $args"
    tools/accessibility/walk-tree.py || rc=1
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
done
exit "$rc"
