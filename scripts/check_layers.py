#!/usr/bin/env python3
"""Checks that no source file includes a header of a higher layer.

The folders under src/ are layers, from the ground up. A file may include headers of its own
folder and of the folders below it; folders on the same rank (geometry and tooldb; cli and
ui/qt) may not include each other. Every violation is printed as file:line and the check
exits 1; a clean tree exits 0.

Usage: check_layers.py [SRC_DIR]   (default: the src/ folder next to this script's folder)
"""
import os
import re
import sys

# From the ground up; folders in one tuple share a rank.
LAYERS = [
    ("platform",),
    ("base",),
    ("geometry", "tooldb"),
    ("model",),
    ("cad",),
    ("paths",),
    ("cam",),
    ("script",),
    ("reports",),
    ("ui",),
    ("ui/qt", "cli"),
]

RANK = {folder: rank for rank, group in enumerate(LAYERS) for folder in group}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def folder_of(path):
    """The layer folder of a path relative to src/ (ui/qt before ui), or None."""
    parts = path.replace(os.sep, "/").split("/")
    if len(parts) >= 3 and "/".join(parts[:2]) in RANK:
        return "/".join(parts[:2])
    if len(parts) >= 2 and parts[0] in RANK:
        return parts[0]
    return None


def check(src):
    problems = []
    for root, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            full = os.path.join(root, name)
            rel = os.path.relpath(full, src)
            here = folder_of(rel)
            if here is None:
                problems.append(f"{rel}: file outside every layer folder")
                continue
            with open(full, encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    target = m.group(1)
                    there = folder_of(target)
                    if there is None or there == here:
                        continue
                    if RANK[there] >= RANK[here]:
                        problems.append(
                            f"{rel}:{number}: {here}/ includes \"{target}\" of layer "
                            f"{there}/, which is not below it")
    return problems


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "src")
    problems = check(src)
    for p in problems:
        print(p)
    if problems:
        order = " < ".join(" = ".join(g) for g in LAYERS)
        print(f"layer order: {order}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
