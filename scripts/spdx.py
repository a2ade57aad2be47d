#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Puts the licence line at the top of every tracked source, script and CMake
file (after a #! line), or with --check lists those without it and fails.

    scripts/spdx.py [--check]
"""
import subprocess
import sys
from pathlib import Path

TAG = "SPDX-License-Identifier: MIT"
ROOT = Path(__file__).resolve().parent.parent


def comment(path: Path, first: str):
    """The comment that opens a line in this file, or None when the file is
    none of ours to mark (images, data, documents, corpora)."""
    name = path.name
    if name.endswith((".cpp", ".h", ".h.in")):
        return "//"
    if name == "CMakeLists.txt" or name.endswith((".cmake", ".sh", ".py")):
        return "#"
    if first.startswith("#!"):
        return "#"
    return None


def main() -> int:
    check = "--check" in sys.argv[1:]
    files = subprocess.run(["git", "ls-files", "-z"], cwd=ROOT, check=True,
                           capture_output=True).stdout.decode().split("\0")
    missing = []
    for name in filter(None, files):
        path = ROOT / name
        if not path.is_file() or path.is_symlink():
            continue
        try:
            text = path.read_text(encoding="utf-8")
        except UnicodeDecodeError:
            continue
        lines = text.splitlines(keepends=True)
        mark = comment(path, lines[0] if lines else "")
        if mark is None or any(TAG in line for line in lines[:3]):
            continue
        missing.append(name)
        if not check:
            at = 1 if lines and lines[0].startswith("#!") else 0
            lines.insert(at, f"{mark} {TAG}\n")
            path.write_text("".join(lines), encoding="utf-8")
    if check and missing:
        print("without an SPDX licence line:", *missing, sep="\n  ")
        return 1
    if not check:
        print(f"licence line added to {len(missing)} file(s)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
