#!/bin/sh
# SPDX-License-Identifier: MIT
# Regenerates the string table the program carries (resources/strings/RESSTRING.ini: UTF-16LE
# with a byte-order mark and CR LF line ends) from its UTF-8 working copy RESSTRING.utf8.txt.
# Edit the UTF-8 copy, run this script, commit both; the localisation tests check they agree.
set -eu
dir=$(cd "$(dirname "$0")/../../resources/strings" && pwd)
src="$dir/RESSTRING.utf8.txt"
out="$dir/RESSTRING.ini"
{
    printf '\377\376'
    tr -d '\r' <"$src" | awk '{ printf "%s\r\n", $0 }' | iconv -f UTF-8 -t UTF-16LE
} >"$out.tmp"
mv "$out.tmp" "$out"
