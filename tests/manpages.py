#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# A manual page lists the options its program's --help lists, no more and
# no fewer.
#   tests/manpages.py PROGRAM PAGE.1 [PROGRAM PAGE.1]...
import re
import subprocess
import sys

OPTION = re.compile(r"--?[a-z][a-z-]*")


def options(texts):
    return {o for t in texts for o in OPTION.findall(t)}


def main():
    faults = []
    for program, page in zip(sys.argv[1::2], sys.argv[2::2]):
        out = subprocess.run([program, "--help"], capture_output=True,
                             text=True, check=True).stdout
        # An option's line starts with it, indented; its words follow two
        # blanks.
        said = options(re.findall(r"^ +(-.*?)(?: {2}|$)", out, re.M))
        with open(page, encoding="utf-8") as f:
            roff = f.read().replace("\\-", "-")
        # The tags of the OPTIONS section's paragraphs, fonts as blanks.
        s = re.search(r"^\.SH OPTIONS\n(.*?)^\.SH ", roff, re.M | re.S)[1]
        tags = re.findall(r"^\.TP\n(.*)", s, re.M)
        listed = options(re.sub(r"\\f.", " ", t) for t in tags)
        for o in sorted(said ^ listed):
            where = "--help" if o in said else "the page"
            faults.append(f"{page}: {o} is only in {where}")
    print("\n".join(faults) or "the manual pages list what --help lists")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
