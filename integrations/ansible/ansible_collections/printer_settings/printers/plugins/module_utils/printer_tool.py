# -*- coding: utf-8 -*-
# SPDX-License-Identifier: MIT
# Runs printer-settings-tool on the managed host, reads its JSON documents and turns its exit
# statuses into module failures that carry the tool's own message.
from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json
import os

# The exit statuses of the tool's printer verbs and the word the modules report for each.
STATUS_WORDS = {
    0: 'done',
    1: 'start-refused',
    2: 'unreachable',
    3: 'bad-input',
    4: 'busy',
}

# What a failure with each status says before the tool's message.
STATUS_TEXTS = {
    1: 'a start-up check refused the printer',
    2: 'the printer cannot be reached or did not confirm a value',
    3: 'bad input; nothing was sent',
    4: 'the printer is busy',
}

# The options every module of the collection takes.
TOOL_OPTIONS = dict(
    tool=dict(type='str', default='printer-settings-tool'),
    environment=dict(type='dict', default={}),
    lang=dict(type='str', choices=['CN', 'CHT', 'EN', 'JP']),
    wait=dict(type='int', default=60),
)

MESSAGE_PREFIX = 'printer-settings-tool: '


class ToolResult:
    """One run of the tool: exit status, the parsed document (None without one), stderr."""

    def __init__(self, rc, document, stderr):
        self.rc = rc
        self.document = document
        self.stderr = stderr

    @property
    def status(self):
        return STATUS_WORDS.get(self.rc, 'failed')

    def message(self):
        """The tool's messages on one line, without their prefix."""
        lines = []
        for line in self.stderr.splitlines():
            line = line.strip()
            if line.startswith(MESSAGE_PREFIX):
                line = line[len(MESSAGE_PREFIX):]
            if line:
                lines.append(line)
        return '; '.join(lines) or 'exit status %d' % self.rc


class ToolRunner:
    """Runs the tool named by the module's `tool` option with its `environment`."""

    def __init__(self, module):
        self.module = module
        tool = module.params['tool']
        if os.sep in tool:
            if not os.access(tool, os.X_OK):
                module.fail_json(msg='%s is not an executable file' % tool, status='failed')
            self.path = tool
        else:
            self.path = module.get_bin_path(tool, required=True)
        self.environ = dict((str(k), str(v)) for k, v in module.params['environment'].items())

    def run(self, verb, args, data=None, printer_verb=True):
        """Runs one verb with --json (and for the printer verbs --lang and --wait)."""
        command = [self.path, verb] + list(args) + ['--json']
        if printer_verb:
            if self.module.params['lang']:
                command += ['--lang', self.module.params['lang']]
            if self.module.params['wait'] is not None:
                command += ['--wait', str(self.module.params['wait'])]
        rc, out, err = self.module.run_command(command, environ_update=self.environ, data=data)
        document = None
        if out.strip():
            try:
                document = json.loads(out)
            except ValueError:
                document = None
        return ToolResult(rc, document, err)

    def fail(self, result, subject, detail=None, **extra):
        """Ends the module with the status of `result` and `detail`, by default the tool's
        message."""
        what = STATUS_TEXTS.get(result.rc, 'printer-settings-tool failed')
        self.module.fail_json(msg='%s: %s: %s' % (subject, what, detail or result.message()),
                              rc=result.rc, status=result.status, stderr=result.stderr,
                              **extra)

    def require_document(self, result, subject):
        """The document of a run that must have succeeded, or a failure."""
        if result.rc != 0:
            self.fail(result, subject)
        if not isinstance(result.document, dict):
            self.module.fail_json(msg='%s: printer-settings-tool wrote no JSON document' % subject,
                                  rc=result.rc, status='failed', stderr=result.stderr)
        return result.document


def item_key(item):
    """How a result names an item: its Name, or its place for an item without one."""
    return item.get('name') or '%s/%d' % (item.get('page'), item.get('index', 0))


def shown_value(value, title):
    """A value as diffs and reports show it: "Draft (0)", the number alone outside the rule."""
    if value is None:
        return None
    if title is None:
        return str(value)
    return '%s (%d)' % (' '.join(title.split()), value)
