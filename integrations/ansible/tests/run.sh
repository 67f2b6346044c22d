#!/usr/bin/env bash
# The collection's tests: ansible-doc renders every module's documentation, then
# ansible-playbook runs the modules on the local host (connection: local) against a fresh copy
# of the demo emulation directory, and so does the example playbook.
# usage: run.sh PRINTER_SETTINGS_TOOL
# Exit 77 (skipped) when ansible-core is not installed (scripts/install-deps.sh installs it).
set -euo pipefail
tool=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
ansible_dir=$(dirname "$here")
root=$(cd "$ansible_dir/../.." && pwd)
if ! command -v ansible-playbook >/dev/null; then
    echo "ansible-playbook is not installed; skipped"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The demo refers to the shipped schemes as ..\..\Scheme, so they go side by side.
mkdir -p "$work/emulation/demo" "$work/bin"
cp "$root/resources/emulation/demo/emulation.ini" "$work/emulation/demo/"
cp -r "$root/resources/emulation/demo/program" "$work/emulation/demo/"
cp -r "$root/resources/Scheme" "$work/Scheme"
emulation="$work/emulation/demo"

export ANSIBLE_COLLECTIONS_PATH="$ansible_dir"
export ANSIBLE_HOME="$work/ansible-home" ANSIBLE_LOCAL_TEMP="$work/ansible-tmp"
export ANSIBLE_REMOTE_TEMP="$work/ansible-remote-tmp"
export ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_DEPRECATION_WARNINGS=0
export ANSIBLE_PYTHON_INTERPRETER=auto_silent

ansible-doc -t module printer_settings.printers.settings printer_settings.printers.info \
    >"$work/doc.txt"
test "$(grep -c "^EXAMPLES:" "$work/doc.txt")" = 2
test "$(grep -c "^RETURN VALUES:" "$work/doc.txt")" = 2

playbook() {
    ansible-playbook -i "$here/inventory.ini" -e "tool=$tool" -e "emulation=$emulation" "$@"
}

playbook "$here/rollout.yml"

# Another Printer Settings program holds the passbook printer's lock (that of its device).
lock="$emulation/temp/Talvenor Printer/locks/device qr520.lock"
mkdir -p "$(dirname "$lock")"
(
    exec 9>"$lock"
    flock 9
    playbook "$here/busy.yml" 9>&-
)

playbook "$here/partial.yml"

# The example as shipped, with the tool found on PATH and the emulation from the environment;
# run again, it changes nothing.
ln -s "$tool" "$work/bin/printer-settings-tool"
example() {
    PATH="$work/bin:$PATH" PRINTER_SETTINGS_EMULATION="$emulation" \
        ansible-playbook -i "$here/inventory.ini" -e "profile_dir=$work/profiles" \
        "$ansible_dir/examples/rollout.yml" | tee "$work/example.log"
}
example
grep -q "localhost *: ok=.* changed=[1-9]" "$work/example.log"
example
grep -q "localhost *: ok=.* changed=0 " "$work/example.log"
echo "ansible collection tests passed"
