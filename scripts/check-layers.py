#!/usr/bin/env python3
"""Checks that each folder of src/ includes only the folders below it.

The table is the layering of the program (docs/architecture.md, "Layers"):
a folder may include its own headers and those of the folders listed for it.
Exits 1 and names each include that breaks the table, or a folder missing
from it.
"""
import os
import re
import sys

# folder -> folders it may include (by the prefix of the include path, see
# prefix_of_include)
ALLOWED = {
    "core/base": [],
    "core/settings": ["base"],
    "core/net": ["base"],
    "core/config": ["settings", "net", "base"],
    "core/policy": ["settings", "base"],
    "core/activity": ["policy", "settings", "base"],
    "core/models": ["activity", "policy", "settings", "base"],
    "core/session": ["models", "activity", "policy", "config", "settings", "base"],
    "psl": ["policy"],
    "crypto": ["config", "base"],
    "gio": ["crypto", "config", "net", "settings", "base"],
    "browser": ["base"],
    "webext": ["psl", "policy", "settings", "base"],
    "ui/widgets": ["base"],
    "ui/parent": ["ui/widgets", "browser", "crypto", "session", "models", "activity", "policy",
                  "config", "net", "settings", "base"],
    "ui/child": ["ui/parent", "ui/widgets", "browser", "gio", "crypto", "session", "models",
                 "activity", "policy", "config", "net", "settings", "base"],
    "app": ["ui/child", "ui/widgets", "psl", "gio", "session", "models", "activity", "policy", "config", "net", "settings", "base"],
    "cli": ["psl", "gio", "crypto", "models", "activity", "policy", "config", "net", "settings",
            "base"],
}


def prefix_of_folder(folder):
    """The include path prefix that names a folder: the folders of src/core
    are included by their own name ("base/..."), the others by their path
    below src ("ui/widgets/...", "gio/...")."""
    return folder[len("core/"):] if folder.startswith("core/") else folder


def prefix_of_include(path):
    """The folder prefix of an include path: its first part, or its first two
    for the folders of src/ui."""
    parts = path.split("/")
    return "/".join(parts[:2]) if parts[0] == "ui" else parts[0]


# Include path prefix -> the folder it names.
FOLDER_OF = {prefix_of_folder(name): name for name in ALLOWED}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def check_acyclic():
    state = {}

    def visit(folder, path):
        if state.get(folder) == "done":
            return
        if state.get(folder) == "open":
            sys.exit("check-layers: the table has a cycle: " + " -> ".join(path + [folder]))
        state[folder] = "open"
        for dep in ALLOWED[folder]:
            visit(FOLDER_OF[dep], path + [folder])
        state[folder] = "done"

    for folder in ALLOWED:
        visit(folder, [])


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
    check_acyclic()
    problems = []
    for dirpath, _, files in os.walk(root):
        sources = [f for f in files if f.endswith((".h", ".cpp"))]
        if not sources:
            continue
        folder = os.path.relpath(dirpath, root)
        if folder not in ALLOWED:
            problems.append(f"src/{folder}: folder missing from the layer table")
            continue
        own = prefix_of_folder(folder)
        for name in sources:
            with open(os.path.join(dirpath, name), encoding="utf-8", errors="replace") as f:
                text = f.read()
            for inc in INCLUDE.findall(text):
                if "/" not in inc:
                    continue
                top = prefix_of_include(inc)
                if top == own:
                    continue
                if top not in ALLOWED[folder]:
                    problems.append(f"src/{folder}/{name}: includes {inc}")
    for p in problems:
        print("check-layers:", p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
