#!/usr/bin/env bash
# Configures and builds into build/ (warnings are errors); arguments go to the configure step
# (scripts/build.sh -DPS_BUILD_UI=OFF leaves the windows out).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPS_WARNINGS_AS_ERRORS=ON "$@"
cmake --build build
