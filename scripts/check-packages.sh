#!/usr/bin/env bash
# Builds the Debian packages printer-settings-cli and printer-settings as a distribution would
# (its compiler flags, no tests) into build/packages/, checks them with lintian, installs them
# with apt-get, runs the installed programs from a folder outside the source tree, checks the
# desktop entry and the metainfo with their validators, purges the packages and checks that no
# file of theirs is left. Run as root on Debian 12.
#   scripts/check-packages.sh [--screenshot FILE]   FILE: the installed demo's main window
#                                                   under a bare X server (PNG)
set -euo pipefail
cd "$(dirname "$0")/.."
source=$PWD
screenshot=""
if [[ ${1:-} == --screenshot ]]; then
    screenshot=$(realpath -m "$2")
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update
scripts/install-deps.sh dpkg-dev lintian desktop-file-utils appstream file \
    ${screenshot:+xvfb imagemagick}

build=build/packages
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# What dpkg-buildflags gives a Debian package: optimisation and every hardening it knows.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE= -DPS_BUILD_TESTS=OFF \
    -DPS_WARNINGS_AS_ERRORS=ON -DCMAKE_INSTALL_PREFIX=/usr "${launcher[@]}" \
    "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j2
rm -rf "$build/packages"
(cd "$build" && cpack -G DEB >/dev/null)
cli=$(ls "$build"/packages/printer-settings-cli_*.deb)
windows=$(ls "$build"/packages/printer-settings_*.deb)

echo "== the packages"
for deb in "$cli" "$windows"; do
    dpkg-deb --field "$deb" Package Version Depends
    echo
done
if dpkg-deb --field "$cli" Depends | grep -qi 'qt'; then
    echo "printer-settings-cli depends on Qt" >&2
    exit 1
fi

echo "== lintian"
# Errors fail the check; the warnings and notes are shown.
lintian --fail-on error --display-info "$cli" "$windows"

echo "== install"
apt-get install -y "./$cli" "./$windows"

# Away from the source tree, as a user would run them; the demo in a state folder of its own.
run=$(mktemp -d)
cd "$run"
export XDG_STATE_HOME=$run/state
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM PRINTER_SETTINGS_EMULATION
printer-settings-tool --version
printer-settings --version
printer-settings --demo "Talvenor QR-520" 101
demo=$XDG_STATE_HOME/printer-settings/demo/emulation/demo
echo "--- values report:"
tr -d '\r' <"$demo/temp/Talvenor Printer/Talvenor QR-520"
PRINTER_SETTINGS_EMULATION=$demo printer-settings-tool printers
man -w printer-settings printer-settings-tool printer-emulator

echo "== desktop entry and metainfo"
desktop-file-validate /usr/share/applications/*.printersettings.desktop
appstreamcli validate --no-net /usr/share/metainfo/*.printersettings.metainfo.xml

if [[ -n $screenshot ]]; then
    echo "== the installed demo under a bare X server"
    Xvfb :97 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    sleep 2
    DISPLAY=:97 printer-settings --demo >/dev/null 2>&1 &
    program=$!
    sleep 6
    mkdir -p "$(dirname "$screenshot")"
    DISPLAY=:97 import -window root "$screenshot"
    kill "$program" "$xvfb" 2>/dev/null || true
    wait "$program" "$xvfb" 2>/dev/null || true
    echo "screenshot: $screenshot"
fi

echo "== purge"
cd "$source"
dpkg -L printer-settings-cli printer-settings | sort -u >"$run/files"
apt-get purge -y printer-settings printer-settings-cli
left=0
while IFS= read -r path; do
    [[ -e $path || -L $path ]] || continue
    # Folders other packages share (/usr/share/doc ...) stay; anything else is left over.
    if [[ -d $path && ! -L $path ]] && dpkg -S "$path" >/dev/null 2>&1; then continue; fi
    echo "left after purge: $path" >&2
    left=1
done <"$run/files"
rm -rf "$run"
((left == 0)) && echo "no file of the packages is left"
exit "$left"
