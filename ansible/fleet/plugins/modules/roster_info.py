#!/usr/bin/python
# -*- coding: utf-8 -*-

# Copyright (c) 2026 the velmora developers
# MIT License (see LICENSE in velmora's source)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: roster_info
short_description: Give the admins and groups a game server's clients.txt holds
version_added: "1.5.0"
description:
  - Runs C(velmora --export) on the host and gives its admins and groups, in the form the
    I(admins) and I(groups) of M(velmora.fleet.roster) take, so that one server's admins and
    groups can become every server's.
  - Changes nothing.
options:
  path:
    description:
      - The C(clients.txt) to read, on the host.
    type: path
    required: true
  executable:
    description:
      - The velmora program on the host, a name to look for on the C(PATH) or a path.
    type: str
    default: velmora
extends_documentation_fragment:
  - action_common_attributes
attributes:
  check_mode:
    support: full
  diff_mode:
    support: none
  platform:
    platforms: posix
requirements:
  - velmora 1.6.0 or newer on the host
author:
  - the velmora developers
"""

EXAMPLES = r"""
- name: Read the admins of the first server
  velmora.fleet.roster_info:
    path: /srv/game/eu1/cfg/clients.txt
  register: first

- name: Give the other servers the same admins and groups
  velmora.fleet.roster:
    path: "{{ server_dir }}/cfg/clients.txt"
    admins: "{{ first.admins }}"
    groups: "{{ first.groups }}"
"""

RETURN = r"""
admins:
  description:
    - The admins in file order, each with C(line) (of its key), C(key), C(name), C(steam),
      C(ip), C(admin), C(immunity) and C(account) (the Steam account as STEAM_0:Y:Z), null
      where the entry has none.
  returned: success
  type: list
  elements: dict
  sample: [{"line": 9, "key": "Ann", "name": "Ann", "steam": "STEAM_0:1:1234567", "ip": null,
            "admin": "Serveradmin", "immunity": "NoFun", "account": "STEAM_0:1:1234567"}]
groups:
  description:
    - The groups of the file's global C(groups) section in file order, each with C(kind)
      (C(Admin) or C(Immunity)), C(name), C(flags) (the words of all its lines, joined by one
      blank) and C(line) (its first line).
  returned: success
  type: list
  elements: dict
  sample: [{"kind": "Admin", "name": "Serveradmin", "flags": "A B C", "line": 49}]
  version_added: "1.6.0"
"""

import json

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.velmora.fleet.plugins.module_utils.velmora import velmora_program

ARGUMENT_SPEC = dict(
    path=dict(type="path", required=True),
    executable=dict(type="str", default="velmora"),
)


def main():
    module = AnsibleModule(argument_spec=ARGUMENT_SPEC, supports_check_mode=True)
    program = velmora_program(module)
    rc, out, err = module.run_command([program, "--export", module.params["path"]])
    if rc != 0:
        module.fail_json(msg=err.strip() or "velmora failed", rc=rc)
    try:
        roster = json.loads(out)
        admins, groups = roster["admins"], roster["groups"]
    except (ValueError, KeyError, TypeError):
        module.fail_json(msg="velmora gave an answer that is not its JSON", stdout=out, rc=rc)
    module.exit_json(changed=False, admins=admins, groups=groups)


if __name__ == "__main__":
    main()
