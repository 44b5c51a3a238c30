#!/usr/bin/env python3
"""Checks that the folders under src/ include only layers below their own.

Every `#include "folder/..."` of a source or header under src/ must name a
folder of a lower layer, or the including folder itself. A folder that
includes one of its own layer, or of a layer above, is reported with the
file and line, and the check fails.
"""
import pathlib
import re
import sys

# The layers, bottom up. A folder may use the folders of the layers below
# its own, never one beside it or above it.
LAYERS = [
    # Resource IDs and templates: names every layer may use; no code.
    ["res"],
    # The 3D dialog look: a library that needs nothing of setup, only the
    # platform; the setup window follows colour changes through it.
    ["dlg3d"],
    # The base: process state, string banks and message boxes, paths,
    # options, the platform-call table and the fault guard, handle owners,
    # the setup window with its progress panels and the message loop.
    ["shell"],
    # Subsystems that need only the base: the file table and file copy; the
    # registry configuration and the probes of the system's.
    ["files", "registry"],
    # Subsystems that use the file table or the probes: the services and the
    # service account, the program group, the loader module.
    ["services", "progman", "loader"],
    # The two flows: the install sequence with its dialogs, and maintenance
    # (the uninstall, and the loader module through its menu).
    ["flow", "maint"],
    # The program: start-up, the start handler and the entry point, the one
    # place that knows every flow.
    ["program"],
]

INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z0-9_]+)/')


def main():
    src = pathlib.Path(__file__).resolve().parent.parent / "src"
    layer_of = {folder: level for level, folders in enumerate(LAYERS) for folder in folders}
    failures = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in {".cpp", ".h", ".inc"} or not path.is_file():
            continue
        folder = path.relative_to(src).parts[0]
        if folder not in layer_of:
            failures.append(f"{path.relative_to(src.parent)}: folder '{folder}' has no layer in scripts/check_layers.py")
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match or match.group(1) == folder:
                continue
            used = match.group(1)
            if used not in layer_of:
                failures.append(f"{path.relative_to(src.parent)}:{number}: includes '{used}/', which has no layer")
            elif layer_of[used] >= layer_of[folder]:
                where = "beside" if layer_of[used] == layer_of[folder] else "above"
                failures.append(f"{path.relative_to(src.parent)}:{number}: '{folder}/' includes '{used}/', a layer {where} it")
    for failure in failures:
        print(failure)
    if failures:
        print(f"layer check: {len(failures)} include(s) against the layer order", file=sys.stderr)
        return 1
    print("layer check: every include goes to a lower layer")
    return 0


if __name__ == "__main__":
    sys.exit(main())
