#!/usr/bin/env bash
# Installs what is needed, builds, and runs the main job on the emulated printers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh >/dev/null
build/tools/printer-settings-tool scheme dump resources/Scheme/QR-520_Settings.Dat
