#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A manual page lists the options its program's --help lists, no more and no
fewer.

usage: tests/manpages.py PROGRAM PAGE.1 [PROGRAM PAGE.1]...
"""
import re
import subprocess
import sys

OPTION = re.compile(r"--?[a-z][a-z-]*")


def from_help(program):
    usage = subprocess.run([program, "--help"], capture_output=True, text=True, check=True)
    # An option's line starts with it, indented; its words follow two blanks.
    lines = re.findall(r"^ +(-.*?)(?: {2}|$)", usage.stdout, re.M)
    return {o for line in lines for o in OPTION.findall(line)}


def from_page(page):
    with open(page, encoding="utf-8") as f:
        roff = f.read().replace("\\-", "-")
    section = re.search(r"^\.SH OPTIONS\n(.*?)^\.SH ", roff, re.M | re.S).group(1)
    tags = re.findall(r"^\.TP\n(.*)", section, re.M)
    return {o for tag in tags for o in OPTION.findall(re.sub(r"\\f.", " ", tag))}


def main():
    faults = []
    for program, page in zip(sys.argv[1::2], sys.argv[2::2]):
        said, listed = from_help(program), from_page(page)
        faults += [f"{page}: {o} is in --help but not in the page" for o in sorted(said - listed)]
        faults += [f"{page}: {o} is in the page but not in --help" for o in sorted(listed - said)]
    print("\n".join(faults) or "the manual pages list what --help lists")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
