# -*- coding: utf-8 -*-
# SPDX-License-Identifier: MIT
# The options every module of the collection passes to printer-settings-tool (TOOL_OPTIONS).

from __future__ import absolute_import, division, print_function

__metaclass__ = type


class ModuleDocFragment(object):
    DOCUMENTATION = r'''
options:
  lang:
    description:
      - The language of the titles in the results (C(CN), C(CHT), C(EN) or C(JP)); by default
        the host's system language.
    type: str
    choices: [CN, CHT, EN, JP]
  tool:
    description:
      - The tool on the managed host, a path or a command name looked up on C(PATH).
    type: str
    default: printer-settings-tool
  environment:
    description:
      - Environment variables for the tool, for example C(PRINTER_SETTINGS_EMULATION) to work
        on an emulation directory.
    type: dict
    default: {}
'''
