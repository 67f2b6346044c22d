#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (run as root on Debian 12), and any
# further packages named on the command line.
set -euo pipefail
packages=(g++ cmake ninja-build pkg-config zlib1g-dev nlohmann-json3-dev libgtest-dev libgmock-dev
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
