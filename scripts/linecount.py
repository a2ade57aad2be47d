#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Lines of the program against lines of its tests.

The tests are every file under tests/ (sources, scripts, tables and data
alike), the fuzzers' generated corpus and images aside; a line counts unless
it is blank or only a comment (it starts with //, # or ;). The program is its
.cpp/.h files outside tests/ and bench/, a line counting unless blank or
starting with //.

Also the characters a counted line carries on average, runs of blanks taken
as one: a suite made shorter by packing its lines shows there.

usage: scripts/linecount.py [-v]   (-v: every test file too, lines and characters a line)
"""
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TESTS = re.compile(r"(^|/)tests?/")
NOT_TESTS = re.compile(r"/corpus/|\.(png|jpe?g|bmp|gz)$")
CODE = re.compile(r"\.(cpp|h|hpp|cc)$")
NOT_CODE = re.compile(r"(^|/)(tests?|bench)/")
TEST_COMMENT = re.compile(r"^\s*(//.*|#.*|;.*)?$")
CODE_COMMENT = re.compile(r"^\s*(//.*)?$")
BLANKS = re.compile(r"[ \t]+")


def files():
    """The files git keeps, or every file where there is no repository."""
    try:
        out = subprocess.run(["git", "-C", ROOT, "ls-files", "-z"], capture_output=True,
                             check=True).stdout
        return [p for p in out.decode("utf-8", "replace").split("\0") if p]
    except (OSError, subprocess.CalledProcessError):
        return [os.path.relpath(os.path.join(d, n), ROOT)
                for d, dirs, names in os.walk(ROOT)
                if not os.path.relpath(d, ROOT).startswith((".", "build"))
                for n in names]


def count(path, comment):
    """Counted lines and their characters (blank runs as one, line end included)."""
    n = chars = 0
    with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.rstrip("\r\n")
            if comment.match(line):
                continue
            n += 1
            chars += len(BLANKS.sub(" ", line)) + 1
    return n, chars


def main():
    tests, code = {}, [0, 0]
    for path in files():
        if not os.path.isfile(os.path.join(ROOT, path)):
            continue
        if TESTS.search(path) and not NOT_TESTS.search(path):
            tests[path] = count(path, TEST_COMMENT)
        elif CODE.search(path) and not NOT_CODE.search(path):
            n, chars = count(path, CODE_COMMENT)
            code[0] += n
            code[1] += chars
    lines = sum(n for n, _ in tests.values())
    chars = sum(c for _, c in tests.values())
    print(f"code {code[0]}  tests {lines}  tests/code {lines / code[0]:.4f}")
    print(f"characters a line: code {code[1] / code[0]:.1f}  tests {chars / lines:.1f}")
    print(f"by characters: tests/code {chars / code[1]:.4f}")
    if "-v" in sys.argv:
        for name, (n, c) in sorted(tests.items(), key=lambda t: -t[1][0]):
            print(f"{n:6}  {c / max(n, 1):5.1f}  {name}")


if __name__ == "__main__":
    main()
