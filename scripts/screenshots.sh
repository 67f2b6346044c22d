#!/usr/bin/env bash
# Renders every window into PNG files under build/screenshots/ (offscreen, no display
# needed), in English and Simplified Chinese, against a fresh copy of the demo printers.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPS_WARNINGS_AS_ERRORS=ON -DPS_BUILD_UI=ON >/dev/null
cmake --build build --target ps-screenshots >/dev/null
out="${1:-build/screenshots}"
mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen
for lang in en:0x0409 zh-cn:0x0804; do
    demo=build/screenshots-demo
    rm -rf "$demo"
    mkdir -p "$demo"
    cp -r resources/emulation resources/Scheme "$demo/"
    build/tools/ps-screenshots "$demo/emulation/demo" "$out" "${lang#*:}" "${lang%%:*}"
done
