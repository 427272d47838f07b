"""Holds each Ansible module's documented options against the argument_spec it gives
AnsibleModule, as Ansible's own sanity test of modules does: the same names, and for each the
same type, default, required, choices and elements. Also reads EXAMPLES and RETURN, which must
be YAML.

    module_docs.py MODULE.py...
"""

import ast
import sys

import yaml

# What Ansible takes an option to be when it does not say.
IMPLIED = {"type": "str", "default": None, "required": False, "choices": None, "elements": None}


def module_parts(path):
    """The module's DOCUMENTATION, EXAMPLES, RETURN and ARGUMENT_SPEC, read without running it."""
    parts = {}
    for node in ast.parse(open(path, encoding="utf-8").read()).body:
        if isinstance(node, ast.Assign) and isinstance(node.targets[0], ast.Name):
            name = node.targets[0].id
            if name in ("DOCUMENTATION", "EXAMPLES", "RETURN"):
                parts[name] = ast.literal_eval(node.value)
            elif name == "ARGUMENT_SPEC":
                parts[name] = eval(compile(ast.Expression(node.value), path, "eval"), {"dict": dict})
    return parts


def problems(path):
    parts = module_parts(path)
    for part in ("DOCUMENTATION", "EXAMPLES", "RETURN", "ARGUMENT_SPEC"):
        if part not in parts:
            yield "no %s" % part
            return
    documented = yaml.safe_load(parts["DOCUMENTATION"])["options"]
    yaml.safe_load(parts["EXAMPLES"])
    yaml.safe_load(parts["RETURN"])
    accepted = parts["ARGUMENT_SPEC"]
    if set(documented) != set(accepted):
        yield "documented options %s, ARGUMENT_SPEC %s" % (sorted(documented), sorted(accepted))
    for name in sorted(set(documented) & set(accepted)):
        for field, implied in IMPLIED.items():
            said = documented[name].get(field, implied)
            taken = accepted[name].get(field, implied)
            if said != taken:
                yield "%s: %s is %r in DOCUMENTATION, %r in ARGUMENT_SPEC" % (
                    name, field, said, taken)


failed = False
for module in sys.argv[1:]:
    for problem in problems(module):
        print("%s: %s" % (module, problem), file=sys.stderr)
        failed = True
sys.exit(1 if failed else 0)
