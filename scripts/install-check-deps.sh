#!/usr/bin/env bash
# Installs what the sanitizer and fuzz runs need on top of the build: gcc's sanitizer runtimes
# (with g++), and clang 14 with its runtime libraries for libFuzzer (Debian 12).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh libasan8 libubsan1 libtsan2 clang-14 libclang-rt-14-dev
