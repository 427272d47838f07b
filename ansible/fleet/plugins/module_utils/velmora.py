# -*- coding: utf-8 -*-

# Copyright (c) 2026 the velmora developers
# MIT License (see LICENSE in velmora's source)

"""What the velmora.fleet modules share: finding the velmora program on the host."""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import os


def velmora_program(module):
    """The velmora program the task's executable names: a path, or a name looked for on the
    PATH. Fails the host when there is none to run."""
    executable = module.params["executable"]
    if os.sep in executable:
        if not os.access(executable, os.X_OK):
            module.fail_json(msg="velmora cannot be run: %s" % executable)
        return executable
    return module.get_bin_path(executable, required=True)
