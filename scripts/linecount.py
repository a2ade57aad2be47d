#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Lines of the program against lines of its tests: non-blank lines that are
not only a comment, in the program's .cpp/.h files (outside tests/ and bench/)
and in tests/ (.cpp/.h, and .sh/.py, whose '#' lines are comments).

Also the characters a counted line carries on average, indentation included,
in the program and in the tests.

usage: scripts/linecount.py [-v]   (-v: every test file too, lines and characters a line)
"""
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def count(path):
    """Counted lines and their characters (indentation included)."""
    n, chars, in_block = 0, 0, False
    c_like = path.endswith((".cpp", ".h"))
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            s = line.strip()
            if not s:
                continue
            if c_like:
                if in_block:
                    in_block = "*/" not in s
                    continue
                if s.startswith("//"):
                    continue
                if s.startswith("/*"):
                    in_block = "*/" not in s
                    continue
            elif s.startswith("#") and not s.startswith("#!"):
                continue
            n += 1
            chars += len(line.rstrip("\n\r"))
    return n, chars


def main():
    code, code_chars, tests = 0, 0, {}
    for d, dirs, files in os.walk(ROOT):
        rel = os.path.relpath(d, ROOT)
        top = rel.split(os.sep)[0] if rel != "." else ""
        if top.startswith((".", "build")) or top == "bench":
            dirs[:] = []
            continue
        for name in files:
            path = os.path.join(d, name)
            if top == "tests" and name.endswith((".cpp", ".h", ".sh", ".py")):
                tests[os.path.relpath(path, ROOT)] = count(path)
            elif top != "tests" and name.endswith((".cpp", ".h")):
                n, chars = count(path)
                code += n
                code_chars += chars
    total = sum(n for n, _ in tests.values())
    total_chars = sum(c for _, c in tests.values())
    print(f"code {code}  tests {total}  tests/code {total / code:.4f}")
    # A test line should carry no more than a code line: fewer lines made by
    # packing them would show here.
    print(f"characters a line: code {code_chars / code:.1f}  tests {total_chars / total:.1f}")
    if "-v" in sys.argv:
        for name, (n, chars) in sorted(tests.items(), key=lambda t: -t[1][0]):
            print(f"{n:6}  {chars / max(n, 1):5.1f}  {name}")


if __name__ == "__main__":
    main()
