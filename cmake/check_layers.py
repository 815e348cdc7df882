#!/usr/bin/env python3
"""Checks that the layers point one way.

Usage: check_layers.py SOURCE_ROOT

A file may include headers of its own layer and of lower ones only; one back end never includes
another; no production file includes test code (tests/, and the fuzz harnesses of fuzz/); and no
header outside platform/ includes SDL, X11 or GTK. Every breach is printed as "file:line: ..."; the exit code is 1 when there is one.
"""
import os
import re
import sys

# The strict order, lowest first (the README's layout table). tools/ may use anything below app/.
LAYERS = ["base", "platform", "core", "engine3d", "modules", "world", "backends", "game", "levels", "tools", "app"]
RANK = {name: rank for rank, name in enumerate(LAYERS)}

# Folders of test code, which may include anything and which no layer may include.
TEST_SIDE = ("tests/", "fuzz/")
SOURCE_SUFFIXES = (".h", ".hpp", ".inl", ".c", ".cpp")
HEADER_SUFFIXES = (".h", ".hpp", ".inl")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
WINDOW_SYSTEM = re.compile(r"^(SDL2?[/_.]|SDL\.h$|X11/|gtk/|gdk/|glib|gio/|gobject/)")


def unit(path):
    """The layer of a path and, for back ends, which one: ("backends", "d3d8")."""
    parts = path.split("/")
    if parts[0] not in RANK:
        return None
    if parts[0] == "backends" and len(parts) > 2:
        return ("backends", parts[1])
    return (parts[0], None)


def breaches(relative, lines):
    own = unit(relative)
    header = relative.endswith(HEADER_SUFFIXES)
    for number, line in enumerate(lines, 1):
        match = INCLUDE.match(line)
        if not match:
            continue
        target = match.group(2)
        where = f"{relative}:{number}"
        if header and not relative.startswith("platform/") and WINDOW_SYSTEM.match(target):
            yield f"{where}: header outside platform/ includes <{target}>"
            continue
        if target.startswith(TEST_SIDE):
            yield f"{where}: production code includes test code \"{target}\""
            continue
        other = unit(target)
        if not other:
            continue
        if RANK[other[0]] > RANK[own[0]]:
            yield f"{where}: {own[0]}/ includes \"{target}\" of the higher layer {other[0]}/"
        elif other[0] == own[0] == "backends" and other[1] != own[1]:
            yield f"{where}: back end {own[1]}/ includes \"{target}\" of the back end {other[1]}/"


def check(root):
    found = []
    for layer in LAYERS:
        for folder, _, files in os.walk(os.path.join(root, layer)):
            for name in sorted(files):
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                path = os.path.join(folder, name)
                relative = os.path.relpath(path, root).replace(os.sep, "/")
                with open(path, encoding="utf-8", errors="replace") as source:
                    found.extend(breaches(relative, source.read().splitlines()))
    return found


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    found = check(argv[1])
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
