#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# The English texts are current and whole: lupdate, run with the build's
# project on a copy of the committed file, changes nothing; no entry is left
# unfinished; every translation has its source's line breaks and
# placeholders.
#   tests/translations.py LUPDATE PROJECT.json FILE.ts [LUPDATE-OPTION]...
import filecmp
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

HOLDER = re.compile(r"%L?(\d{1,2}|n)")
BREAK = re.compile(r"\r\n|\r|\n")


# An element's text with lupdate's <byte value="xd"/> characters.
def text(e):
    out = e.text or ""
    for c in e:
        out += chr(int(c.get("value")[1:], 16)) + (c.tail or "")
    return out


def shape(s):
    return BREAK.findall(s), sorted(HOLDER.findall(s))


# lupdate on a copy of the file (-ts takes the place of the project's
# file), and whether it changed it.
def stale(lupdate, project, ts, options):
    with tempfile.TemporaryDirectory() as tmp:
        copy = os.path.join(tmp, "copy.ts")
        shutil.copyfile(ts, copy)
        run = subprocess.run([lupdate, "-project", project, "-ts", copy, *options],
                             capture_output=True, text=True)
        same = filecmp.cmp(ts, copy, shallow=False)
    if run.returncode:
        return ["lupdate failed:\n" + run.stdout + run.stderr]
    # Made current by the target update_translations; then translate
    # what it adds.
    return [] if same else [f"{ts} not current (update_translations)"]


def main():
    ts = sys.argv[3]
    faults = stale(*sys.argv[1:4], sys.argv[4:])
    for ctx in ET.parse(ts).getroot().iter("context"):
        for m in ctx.iter("message"):
            src = text(m.find("source"))
            where = f"{ctx.findtext('name')}: {src!r}"
            tr = m.find("translation")
            if tr.get("type") or not text(tr):
                faults.append(f"{where} is {tr.get('type') or 'untranslated'}")
            elif shape(text(tr)) != shape(src):
                faults.append(f"{where}: {text(tr)!r} differs in breaks "
                              "or placeholders")
    print("\n".join(faults) or f"{ts}: current and finished")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
