#!/usr/bin/env bash
# The Windows programs under Wine beside the Linux ones, byte for byte: printer-settings-tool
# scheme dump of every shipped scheme in every language and strings in every language, and
# printer-settings run modes 101 (values report) and 102 (menu refresh) on the emulated demo
# printers, with the commands each emulated printer received.
#   scripts/compare-windows.sh [WINDOWS_BUILD]     (default build-win; WINEPREFIX must be set)
# The Linux programs come from build/ (scripts/build.sh) when it has them, else a build of the
# two programs without windows is made in build-win-host/.
set -euo pipefail
cd "$(dirname "$0")/.."
win=${1:-build-win}
linux=build
: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix of the Windows build (scripts/check-windows.sh)}"
wine=/usr/lib/wine/wine64
if [[ ! -x "$linux/tools/printer-settings-tool" || ! -x "$linux/src/app/printer-settings" ]]; then
    linux=build-win-host
    cmake -S . -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPS_BUILD_UI=OFF \
          -DPS_BUILD_TESTS=OFF -DPS_WARNINGS_AS_ERRORS=ON >/dev/null
    cmake --build "$linux" --target printer-settings printer-settings-tool >/dev/null
fi

work="$PWD/$win/compare"
rm -rf "$work"
mkdir -p "$work"
windows_path() { printf 'Z:%s' "$(realpath "$1")"; }  # a host path as the programs under Wine see it

differences=0
compared=0
# same NAME FILE_LINUX FILE_WINDOWS
same() {
    compared=$((compared + 1))
    if cmp -s "$2" "$3"; then return; fi
    differences=$((differences + 1))
    echo "DIFFERENT: $1 ($2 and $3)"
    diff <(od -An -c "$2") <(od -An -c "$3") | head -n 12 || true
}
# run_tool NAME ARGS... : the tool on both systems, output and exit status compared
run_tool() {
    local name=$1
    shift
    local linux_args=() windows_args=()
    for arg in "$@"; do
        linux_args+=("$arg")
        if [[ -e "$arg" ]]; then windows_args+=("$(windows_path "$arg")"); else windows_args+=("$arg"); fi
    done
    local rc=0
    "$linux/tools/printer-settings-tool" "${linux_args[@]}" >"$work/$name.linux" 2>/dev/null || rc=$?
    echo "exit $rc" >>"$work/$name.linux"
    rc=0
    "$wine" "$win/tools/printer-settings-tool.exe" "${windows_args[@]}" >"$work/$name.windows" \
        2>/dev/null || rc=$?
    echo "exit $rc" >>"$work/$name.windows"
    same "printer-settings-tool $*" "$work/$name.linux" "$work/$name.windows"
}

for lang in CN CHT EN JP; do
    run_tool "dump-QR-520-$lang" scheme dump --lang "$lang" resources/Scheme/QR-520_Settings.Dat
    run_tool "dump-QJ-760-$lang" scheme dump --lang "$lang" resources/Scheme/QJ-760_Settings.Dat \
        resources/Scheme/QJ-760_Menu.Dat
    run_tool "strings-$lang" strings --lang "$lang"
done

# The window-less run modes on two fresh copies of the demo, on a virtual clock that starts at
# the same moment (the values report names its time).
for side in linux windows; do
    mkdir -p "$work/$side"
    cp -r resources/emulation resources/Scheme "$work/$side/"
    sed -i 's/^Speed=1$/Virtual=1\nLocalTime=2024-05-01 10:00:00/' \
        "$work/$side/emulation/demo/emulation.ini"
done
run_program() {  # PRINTER RUN_MODE, on both systems
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
        PRINTER_SETTINGS_EMULATION="$work/linux/emulation/demo" \
        "$linux/src/app/printer-settings" "$@" >/dev/null 2>&1 || true
    PRINTER_SETTINGS_EMULATION="$(windows_path "$work/windows/emulation/demo")" \
        "$wine" "$win/src/app/printer-settings.exe" "$@" >/dev/null 2>&1 || true
}
run_program "Talvenor QR-520" 101
run_program "Talvenor QJ-760" 102
run_program "Talvenor QJ-760" 101
cache="emulation/demo/temp/Talvenor Printer"
for file in "Talvenor QR-520" "Talvenor QJ-760" "Talvenor QJ-760.DAT" "Talvenor QJ-760.ini"; do
    if [[ ! -f "$work/linux/$cache/$file" ]]; then
        echo "MISSING: the Linux run wrote no \"$file\""
        differences=$((differences + 1))
        continue
    fi
    same "run modes 101/102: $file" "$work/linux/$cache/$file" "$work/windows/$cache/$file"
done
for log in "$work"/linux/emulation/demo/devices/*/commands.log; do
    device=$(basename "$(dirname "$log")")
    same "commands received by the emulated $device" "$log" \
        "$work/windows/emulation/demo/devices/$device/commands.log"
done

echo "Windows beside Linux: $compared outputs compared, $differences different"
((differences == 0))
