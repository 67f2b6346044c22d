#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (run as root on Debian 12), and any
# further packages named on the command line.
set -euo pipefail
packages=(g++ cmake ninja-build pkg-config zlib1g-dev nlohmann-json3-dev libgtest-dev libgmock-dev
          # JSON Schema validation of the tool's documents in the tests
          libvalijson-dev
          # the windows: Qt 6 Widgets and SVG, the display plug-ins (offscreen, xcb), a bare X
          # server for runs without a desktop, and fonts for Chinese and Japanese text
          qt6-base-dev qt6-svg-dev qt6-qpa-plugins xvfb xauth fonts-noto-cjk fonts-dejavu-core
          # the Linux spooler: libcups, and for the end-to-end tests a CUPS server of their own
          # (cupsd, lpadmin and lp, the socket backend of the cups package)
          libcups2-dev cups-daemon cups-client cups
          # the Ansible collection's playbook tests
          ansible-core
          "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y --no-install-recommends "${missing[@]}"
fi
