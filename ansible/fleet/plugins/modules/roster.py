#!/usr/bin/python
# -*- coding: utf-8 -*-

# Copyright (c) 2026 the velmora developers
# MIT License (see LICENSE in velmora's source)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: roster
short_description: Make a game server's clients.txt hold a roster of admins and groups
version_added: "1.5.0"
description:
  - Hands the roster to C(velmora --apply -) on the host, which makes the C(clients.txt) at
    I(path) hold the roster's admins and groups and changes only what differs.
  - An admin of the roster is found in the file by its key, letter case aside, as the server
    finds it, and changed in place; one that is missing is added at the end of the C(players)
    block. Every other byte of the file stays as it was.
  - A group of the roster is found in the file's global C(groups) section by its kind and
    name, letter case aside; one whose flags differ gets them on its first line, and one that
    is missing is added at the end of its kind's block.
  - Without I(admins), the file's admins are left as they are; without I(groups), its groups.
  - A file that does not exist is written as velmora writes a new one. A file that already holds
    the roster is not touched, and the task reports no change.
  - A roster velmora refuses (an unknown member, two admins with one key, a group neither the
    file nor the roster defines), or a file it cannot read, parse or write, fails the host with
    velmora's own message, and the file is left as it was. So does a group that I(prune) would
    take out while an admin still has it.
  - The server reads C(clients.txt) when it starts or reloads its admins; this module does not
    reload it.
options:
  path:
    description:
      - The C(clients.txt) to change, on the host.
    type: path
    required: true
  admins:
    description:
      - The roster's admins, a list as C(velmora --list --json) gives them, for example a JSON
        file read with the C(file) lookup and the C(from_json) filter.
      - Each admin has C(key), C(name), C(steam), C(ip), C(admin) and C(immunity), each a text
        or null; C(line) and C(account) are allowed and ignored. C(key) defaults to C(name), and
        an absent C(name) to C(key).
      - At least one of I(admins) and I(groups) is given.
    type: list
    elements: dict
  groups:
    description:
      - The roster's groups, a list as C(velmora --groups --json) gives them.
      - Each group has C(kind) (C(Admin) or C(Immunity)), C(name) and C(flags), the flags as
        one text of words; C(line) is allowed and ignored.
    type: list
    elements: dict
    version_added: "1.6.0"
  prune:
    description:
      - Also take out the admins of the file that I(admins) does not name, when it is given,
        and the groups that I(groups) does not name, when it is given.
    type: bool
    default: false
  backup:
    description:
      - Keep the old file beside the new one, under a name with the time it was changed, when
        the file changes.
    type: bool
    default: false
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
    support: full
  platform:
    platforms: posix
requirements:
  - velmora 1.6.0 or newer on the host
notes:
  - Runs that change one file at the same time take turns, so no change is lost; see velmora's
    C(--wait).
author:
  - the velmora developers
"""

EXAMPLES = r"""
- name: Make clients.txt hold the roster
  velmora.fleet.roster:
    path: /srv/game/eu1/cfg/clients.txt
    admins: "{{ lookup('file', 'roster.json') | from_json }}"

- name: Make clients.txt hold exactly the roster, keeping the old file
  velmora.fleet.roster:
    path: "{{ server_dir }}/cfg/clients.txt"
    admins:
      - name: Ann
        steam: STEAM_0:1:1234567
        admin: Serveradmin
        immunity: NoFun
      - name: Bob
        ip: 10.0.0.2
        admin: Teamadmin
    prune: true
    backup: true
    executable: /home/steam/bin/velmora

- name: Add a group on the server, and make every admin of it a moderator
  velmora.fleet.roster:
    path: "{{ server_dir }}/cfg/clients.txt"
    groups:
      - kind: Admin
        name: Moderator
        flags: b c k
"""

RETURN = r"""
added:
  description: The keys of the admins added, in roster order.
  returned: success
  type: list
  elements: str
  sample: ["Ann"]
changed_admins:
  description: The keys of the admins changed in place, in roster order.
  returned: success
  type: list
  elements: str
  sample: ["Bob"]
removed:
  description: The keys of the admins taken out, in file order; only with I(prune).
  returned: success
  type: list
  elements: str
  sample: []
groups_added:
  description: The groups added, each by C(kind) and C(name), in roster order.
  returned: success, when I(groups) is given
  type: list
  elements: dict
  sample: [{"kind": "Admin", "name": "Moderator"}]
  version_added: "1.6.0"
groups_changed:
  description: The groups whose flags were changed, each by C(kind) and C(name).
  returned: success, when I(groups) is given
  type: list
  elements: dict
  sample: []
  version_added: "1.6.0"
groups_removed:
  description: The groups taken out, each by C(kind) and C(name); only with I(prune).
  returned: success, when I(groups) is given
  type: list
  elements: dict
  sample: []
  version_added: "1.6.0"
backup_file:
  description: The copy of the old file, when I(backup) kept one.
  returned: changed and backup
  type: str
  sample: /srv/game/eu1/cfg/clients.txt.12345.2026-12-09@10:00:00~
"""

import json
import os

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.velmora.fleet.plugins.module_utils.velmora import velmora_program

ARGUMENT_SPEC = dict(
    path=dict(type="path", required=True),
    admins=dict(type="list", elements="dict"),
    groups=dict(type="list", elements="dict"),
    prune=dict(type="bool", default=False),
    backup=dict(type="bool", default=False),
    executable=dict(type="str", default="velmora"),
)


def apply_roster(module, program, dry_run):
    """velmora --apply's answer about the file: changed, added, changed_admins, removed and,
    in a dry run, diff. Fails the host with velmora's own message when velmora refuses."""
    argv = [program, "--apply", "-", "--json"]
    if module.params["prune"]:
        argv.append("--prune")
    if dry_run:
        argv.append("--dry-run")
    argv.append(module.params["path"])
    # Only the parts given: velmora leaves the other part of the file as it is.
    roster = json.dumps(dict((part, module.params[part]) for part in ("admins", "groups")
                             if module.params[part] is not None))
    rc, out, err = module.run_command(argv, data=roster, binary_data=True)
    answer = None
    if out.strip():
        try:
            answer = json.loads(out)["files"][0]
        except (ValueError, KeyError, IndexError):
            module.fail_json(msg="velmora gave an answer that is not its JSON", stdout=out,
                             stderr=err, rc=rc)
    if rc != 0 or answer is None or answer.get("error"):
        message = (answer or {}).get("error") or err.strip() or "velmora failed"
        module.fail_json(msg=message, rc=rc, stderr=err)
    return answer


def file_text(path):
    """The file's text, to show a change; empty for a file that does not exist."""
    try:
        with open(path, "rb") as contents:
            return contents.read().decode("utf-8", errors="replace")
    except (IOError, OSError):
        return ""


# What velmora's answer says was changed, as the module returns it.
ANSWERED = ("added", "changed_admins", "removed", "groups_added", "groups_changed",
            "groups_removed")


def outcome(answer):
    return dict((name, answer[name]) for name in ANSWERED if name in answer)


def main():
    module = AnsibleModule(argument_spec=ARGUMENT_SPEC, supports_check_mode=True,
                           required_one_of=[("admins", "groups")])
    program = velmora_program(module)
    path = module.params["path"]
    preview = apply_roster(module, program, dry_run=True)
    result = dict(changed=preview["changed"], **outcome(preview))
    if module.check_mode or not preview["changed"]:
        if module._diff and preview["changed"]:
            result["diff"] = dict(prepared=preview.get("diff", ""))
        module.exit_json(**result)

    if module.params["backup"] and os.path.exists(path):
        result["backup_file"] = module.backup_local(path)
    before = file_text(path) if module._diff else ""
    done = apply_roster(module, program, dry_run=False)
    result.update(changed=done["changed"], **outcome(done))
    if module._diff and done["changed"]:
        result["diff"] = dict(before=before, after=file_text(path), before_header=path,
                              after_header=path)
    module.exit_json(**result)


if __name__ == "__main__":
    main()
