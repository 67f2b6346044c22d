#!/usr/bin/python
# -*- coding: utf-8 -*-
# SPDX-License-Identifier: MIT
from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
---
module: info
short_description: List a host's printers and read their current setting values
version_added: 1.0.0
description:
  - Lists the printers the managed host's spooler knows, with C(printer-settings-tool printers).
  - For the printers named in I(printers), reads the current values from the printer with
    C(printer-settings-tool get), as the Printer Settings windows read them; nothing is written.
  - The results serve as facts (C(register), C(set_fact)) and for reports across many hosts.
author:
  - Printer Settings developers
options:
  printers:
    description:
      - The printers whose values are read; by default none, only the list.
    type: list
    elements: str
    default: []
  items:
    description:
      - The items to read, by name or C(PAGE/INDEX); by default every setting item.
    type: list
    elements: str
    default: []
  wait:
    description:
      - Seconds to wait for a printer while another Printer Settings program uses it; the task
        then fails with status C(busy).
      - C(null) waits as long as it takes.
    type: int
    default: 60
extends_documentation_fragment:
  - printer_settings.printers.tool
notes:
  - Uses only the JSON documents of C(printer-settings-tool) (C(--json)).
  - A printer that cannot be read fails the task with the tool's message and status.
seealso:
  - module: printer_settings.printers.settings
'''

EXAMPLES = r'''
- name: The printers of the host
  printer_settings.printers.info:
  register: host_printers

- name: The current values of every usable printer
  printer_settings.printers.info:
    printers: "{{ host_printers.printers | selectattr('usable') | map(attribute='name') | list }}"
  register: current

- name: Print quality of the passbook printer
  ansible.builtin.debug:
    msg: "{{ current.settings['Talvenor QR-520'].current.PrintQuality }}"
'''

RETURN = r'''
printers:
  description: The printers of the host as the tool lists them, each with C(name), C(port),
    C(portKind), C(driver), C(online), C(queuedJobs), C(usable), C(scheme) and C(schemeFound).
  returned: always
  type: list
  elements: dict
settings:
  description:
    - For each printer of I(printers), by name, what was read.
    - C(model), C(schemeVersion), C(menuVersion) and C(language) of the tool's document.
    - C(records), the tool's item records (C(page), C(name), C(title), C(code), C(value),
      C(valueTitle), C(inRule) ...).
    - C(current), item name to the value's title, or to the number for flag items and when the
      rule lacks the value (null when the printer did not return it); it can be given to the
      settings module as its I(values).
  returned: always
  type: dict
  sample:
    Talvenor QR-520:
      model: Talvenor QR-520
      schemeVersion: 2.3.0.8
      menuVersion: 0
      language: EN
      records: []
      current: {PrintQuality: Draft, TearOffPosition: 5}
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.printer_settings.printers.plugins.module_utils.printer_tool import (
    TOOL_OPTIONS, ToolRunner, item_key)

HEADER_KEYS = ('model', 'schemeVersion', 'menuVersion', 'language')


def read_printer(runner, printer, items):
    document = runner.require_document(runner.run('get', [printer] + items), printer)
    settings = dict((key, document.get(key)) for key in HEADER_KEYS)
    settings['records'] = document['items']
    settings['current'] = dict((item_key(i), current_value(i)) for i in document['items'])
    return settings


def current_value(item):
    """The value as the settings module takes it back: the rule title, or the number for flag
    items (their title lists flag numbers) and for values the rule lacks."""
    if item.get('bytes') == 3 or item.get('valueTitle') is None:
        return item.get('value')
    return item['valueTitle']


def main():
    module = AnsibleModule(
        argument_spec=dict(
            printers=dict(type='list', elements='str', default=[]),
            items=dict(type='list', elements='str', default=[]),
            **TOOL_OPTIONS),
        supports_check_mode=True,
    )
    runner = ToolRunner(module)
    listed = runner.require_document(runner.run('printers', [], printer_verb=False), 'printers')
    settings = {}
    for printer in module.params['printers']:
        settings[printer] = read_printer(runner, printer, module.params['items'])
    module.exit_json(changed=False, printers=listed['printers'], settings=settings)


if __name__ == '__main__':
    main()
