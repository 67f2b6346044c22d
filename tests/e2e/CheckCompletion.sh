#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The bash completion of printer-settings-tool: commands and options as its help names them,
# printer names with blanks completed whole and quoted, option values.
#   CheckCompletion.sh COMPLETION_FILE TOOL DATA_FOLDER WORK_DIR
set -uo pipefail
completion=$1 tool=$2 data=$3 work=$4
rm -rf "$work" && mkdir -p "$work"
cp -r "$data/emulation" "$data/Scheme" "$work/"
export PRINTER_SETTINGS_EMULATION=$work/emulation/demo
# shellcheck source=/dev/null
source "$completion"
failures=0

# expect "WORDS..." "=>" "EXPECTED COMPLETIONS..." (the last word is the one being completed)
expect() {
    local words=() want=()
    while [[ $1 != "=>" ]]; do words+=("$1"); shift; done
    shift
    want=("$@")
    COMP_WORDS=("$tool" "${words[@]}")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _printer_settings_tool
    local got
    got=$(printf '%s|' "${COMPREPLY[@]}")
    if [[ $got != "$(printf '%s|' "${want[@]}")" ]]; then
        echo "completing '${words[*]}': got '$got', want '$(printf '%s|' "${want[@]}")'"
        failures=$((failures + 1))
    fi
}

expect "ex" "=>" "export"
expect "s" "=>" "scheme" "set" "strings"
expect "-" "=>" "--help" "--version"
expect "import" "Talvenor QR-520" "x.json" "--" "=>" "--dry-run" "--force" "--json" "--lang" "--wait"
expect "get" "Talvenor\\ QR-520" "--page" "sub" "=>" "subgroup1" "subgroup2" "subgroup64"
expect "get" "--lang" "C" "=>" "CN" "CHT"
expect "get" "Talvenor\\ QR" "=>" \
    "Talvenor\\ QR-520" "Talvenor\\ QR-520\\ Network" "Talvenor\\ QR-520\\ LPT"
expect "set" "\"Talvenor QR-520 N" "=>" "Talvenor\\ QR-520\\ Network"
expect "get" "Talvenor\\ QJ-760" "--json" "Print" "=>"
expect "scheme" "l" "=>" "lint"
exit $((failures > 0))
