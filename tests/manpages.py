#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# A manual page lists the options its program's --help lists, no more and
# no fewer.
#   tests/manpages.py MANDIR PROGRAM...   (MANDIR/NAME.1 is PROGRAM's page)
import re
import subprocess
import sys
from pathlib import Path

OPT = re.compile(r"--?[a-z][a-z-]*")


def options(texts):
    return {o for t in texts for o in OPT.findall(t)}


def main():
    faults = []
    for prog in sys.argv[2:]:
        page = Path(sys.argv[1], Path(prog).name + ".1")
        out = subprocess.check_output([prog, "--help"], text=True)
        # An option's line starts with it, indented; its words follow two
        # blanks.
        said = options(re.findall(r"^ +(-.*?)(?: {2}|$)", out, re.M))
        roff = page.read_text(encoding="utf-8").replace("\\-", "-")
        # The tags of the OPTIONS section's paragraphs, fonts as blanks.
        s = re.search(r"^\.SH OPTIONS\n(.*?)^\.SH ", roff, re.M | re.S)[1]
        tags = re.findall(r"^\.TP\n(.*)", s, re.M)
        listed = options(re.sub(r"\\f.", " ", t) for t in tags)
        for o in sorted(said ^ listed):
            where = "--help" if o in said else "the page"
            faults.append(f"{page}: {o} is only in {where}")
    print("\n".join(faults) or "the pages match --help")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
