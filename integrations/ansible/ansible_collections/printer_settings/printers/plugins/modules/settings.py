#!/usr/bin/python
# -*- coding: utf-8 -*-
# SPDX-License-Identifier: MIT
from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
---
module: settings
short_description: Apply setting values to a printer through printer-settings-tool
version_added: 1.0.0
description:
  - Brings the settings of one printer of the managed host to the given values, with
    C(printer-settings-tool) on that host.
  - The values are checked against the printer's rules before anything is sent. The printer's
    current values are then read and only the items whose value differs are written, in one
    setting bracket, and each written value is read back to confirm it.
  - The task reports C(changed) only when a value was written and confirmed. A second run with
    the same values reads the printer and writes nothing.
  - In check mode the tool's C(--dry-run) is used; the printer's values are read, nothing is
    written, and the task reports what would change, with its diff.
  - The tool holds the printer's lock for each of its runs, so two tasks (or a technician's
    Printer Settings window) never talk to one printer at the same time; a task waits for the
    printer at most I(wait) seconds.
author:
  - Printer Settings developers
options:
  printer:
    description:
      - The printer's name as the host's spooler knows it
        (C(printer-settings-tool printers) lists them).
    type: str
    required: true
  values:
    description:
      - The wanted values, item name (or C(PAGE/INDEX)) to value.
      - A value is a title of the item's rule in any of the scheme's languages (letter case
        ignored) or a number the rule allows; flag items take titles joined by C(+) or the
        mask as a number.
      - Quote titles such as C('On') and C('Off'); YAML reads them as Booleans otherwise, and
        the module refuses Booleans.
      - Exactly one of I(values) and I(src) is given.
    type: dict
  src:
    description:
      - A file on the managed host written by C(printer-settings-tool export); its items are
        applied as with I(values).
      - Items that this printer's scheme lacks, or whose value its rule does not hold, are left
        out with a warning and returned in C(skipped).
    type: path
  force:
    description:
      - With I(src), apply a document made on another printer model all the same.
    type: bool
    default: false
  wait:
    description:
      - Seconds to wait for the printer while another Printer Settings program uses it; the
        task then fails with status C(busy) and nothing is sent.
      - C(null) waits as long as it takes.
    type: int
    default: 60
extends_documentation_fragment:
  - printer_settings.printers.tool
notes:
  - Uses only the JSON documents of C(printer-settings-tool) (C(--json)).
  - Supports check mode and diff mode.
seealso:
  - module: printer_settings.printers.info
'''

EXAMPLES = r'''
- name: Passbook printers of the branch use the bank's profile
  printer_settings.printers.settings:
    printer: Talvenor QR-520
    values:
      PrintQuality: Draft
      TearOffPosition: 5
      PageSkip: 'On'
    wait: 120

- name: Apply a profile exported from the reference printer
  printer_settings.printers.settings:
    printer: Talvenor QR-520
    src: /var/lib/printer-settings/qr520-profile.json

- name: Report drift without changing anything
  printer_settings.printers.settings:
    printer: Talvenor QR-520
    values: "{{ passbook_profile }}"
  check_mode: true
  register: drift
'''

RETURN = r'''
changed:
  description: Whether a value was written and confirmed (in check mode, whether one would be).
  returned: always
  type: bool
diff:
  description: Item name to the value before and after, for the items written (or that would
    be); each value is its title and number, as C(Draft (0)).
  returned: always
  type: dict
  sample:
    before: {PrintQuality: Letter quality (1)}
    after: {PrintQuality: Draft (0)}
written:
  description: Items written and confirmed by reading them back.
  returned: always
  type: list
  elements: str
  sample: [PrintQuality]
not_confirmed:
  description: Items sent whose value could not be read back (the task then fails).
  returned: always
  type: list
  elements: str
not_sent:
  description: Items that could not be sent (the task then fails).
  returned: always
  type: list
  elements: str
unchanged:
  description: Items that already held the wanted value.
  returned: always
  type: list
  elements: str
  sample: [TearOffPosition]
skipped:
  description: Items of I(src) that were left out, each with C(page), C(name), C(value) and
    C(reason), as the tool reports them.
  returned: always
  type: list
  elements: dict
records:
  description: The tool's records of the items written (or that would be), with C(previous),
    C(value), C(valueTitle), C(outcome) and C(readBack) (see docs/command-line.md).
  returned: always
  type: list
  elements: dict
command:
  description: The bytes sent (in check mode, that would be sent) as hex pairs.
  returned: always
  type: str
status:
  description: C(done), or on failure C(start-refused), C(unreachable), C(bad-input), C(busy)
    or C(failed), from the tool's exit status.
  returned: always
  type: str
rc:
  description: The exit status of the tool's last run.
  returned: always
  type: int
'''

import json

from ansible.module_utils.basic import AnsibleModule
from ansible.module_utils.six import string_types
from ansible_collections.printer_settings.printers.plugins.module_utils.printer_tool import (
    TOOL_OPTIONS, ToolRunner, item_key, shown_value)


def assignments(module, values):
    """NAME=VALUE arguments of `set`; Booleans are refused (an unquoted On or Off)."""
    args = []
    for name, value in values.items():
        if isinstance(value, bool):
            module.fail_json(msg='%s: the value is a YAML Boolean; quote the title (\'On\', '
                                 '\'Off\') or give the number' % name, status='bad-input')
        if not isinstance(value, (string_types, int)):
            module.fail_json(msg='%s: the value must be a title or a number' % name,
                             status='bad-input')
        args.append('%s=%s' % (name, value))
    return args


def profile_of(runner, printer, values):
    """The values as an import document: `set --dry-run` checks each against its rule and turns
    titles into numbers, sending nothing."""
    checked = runner.require_document(
        runner.run('set', [printer] + assignments(runner.module, values) + ['--dry-run']),
        printer)
    items = [dict(page=i['page'], name=i['name'], code=i['code'], value=i['value'])
             for i in checked['items']]
    return dict(format=checked['format'], model=checked['model'], items=items)


def outcome_names(items, outcome):
    return [item_key(i) for i in items if i.get('outcome') == outcome]


def main():
    module = AnsibleModule(
        argument_spec=dict(
            printer=dict(type='str', required=True),
            values=dict(type='dict'),
            src=dict(type='path'),
            force=dict(type='bool', default=False),
            **TOOL_OPTIONS),
        mutually_exclusive=[('values', 'src')],
        required_one_of=[('values', 'src')],
        supports_check_mode=True,
    )
    printer = module.params['printer']
    result = dict(changed=False, diff=dict(before={}, after={}), written=[], not_confirmed=[],
                  not_sent=[], unchanged=[], skipped=[], records=[], command='', status='done',
                  rc=0)
    if module.params['values'] is not None and not module.params['values']:
        module.exit_json(**result)

    runner = ToolRunner(module)
    args = [printer]
    data = None
    if module.params['values'] is not None:
        data = json.dumps(profile_of(runner, printer, module.params['values']))
        args.append('-')
    else:
        args.append(module.params['src'])
    if module.check_mode:
        args.append('--dry-run')
    if module.params['force']:
        args.append('--force')

    # import reads the printer and writes only what differs, all under the printer's lock.
    run = runner.run('import', args, data=data)
    document = run.document
    if not isinstance(document, dict) or 'items' not in document:
        runner.fail(run, printer)
    items = document['items']
    result.update(
        records=items,
        command=document.get('command', ''),
        unchanged=[item_key(i) for i in document.get('unchanged', [])],
        skipped=document.get('skipped', []),
        written=outcome_names(items, 'confirmed'),
        not_confirmed=outcome_names(items, 'not-confirmed'),
        not_sent=outcome_names(items, 'not-sent'),
        rc=run.rc,
        status=run.status,
    )
    for item in items:
        key = item_key(item)
        result['diff']['before'][key] = shown_value(item.get('previous'),
                                                    item.get('previousTitle'))
        result['diff']['after'][key] = shown_value(item.get('value'), item.get('valueTitle'))
    for skipped in result['skipped']:
        module.warn('%s: %s item "%s" left out: %s' % (printer, skipped.get('page'),
                                                       skipped.get('name'), skipped.get('reason')))

    result['changed'] = bool(items) if module.check_mode else bool(result['written'])
    if run.rc != 0:
        # A partial write: say what the printer now holds and what it may not.
        parts = []
        for label, key in (('written and confirmed', 'written'),
                           ('sent, not confirmed', 'not_confirmed'), ('not sent', 'not_sent')):
            if result[key]:
                parts.append('%s: %s' % (label, ', '.join(result[key])))
        result.pop('rc')
        result.pop('status')
        runner.fail(run, printer, '; '.join(parts) or None, **result)
    module.exit_json(**result)


if __name__ == '__main__':
    main()
