#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# The English texts are current and whole: lupdate, run with the build's
# project on a copy of the committed file, changes nothing; no entry is left
# unfinished; every translation has its source's line breaks and
# placeholders.
#   tests/translations.py LUPDATE PROJECT.json FILE.ts [LUPDATE-OPTION]...
import difflib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

PLACEHOLDER = re.compile(r"%L?(\d{1,2}|n)")
BREAK = re.compile(r"\r\n|\r|\n")


# An element's text with lupdate's <byte value="xd"/> characters.
def text(e):
    out = e.text or ""
    for c in e:
        if c.tag == "byte":
            out += chr(int(c.get("value")[1:], 16))
        out += c.tail or ""
    return out


def shape(s):
    return BREAK.findall(s), sorted(PLACEHOLDER.findall(s))


# lupdate on a copy of the file (-ts takes the place of the project's
# file), and what it changed.
def stale(lupdate, project, ts, options):
    with tempfile.TemporaryDirectory() as tmp:
        copy = os.path.join(tmp, os.path.basename(ts))
        shutil.copyfile(ts, copy)
        run = subprocess.run([lupdate, "-project", project, "-ts", copy,
                              *options], capture_output=True, text=True)
        if run.returncode:
            return ["lupdate failed:\n" + run.stdout + run.stderr]
        with open(ts, encoding="utf-8") as a, \
                open(copy, encoding="utf-8") as b:
            diff = list(difflib.unified_diff(
                a.readlines(), b.readlines(), ts, "lupdate"))
    # Made current by the target update_translations; then translate
    # what it adds.
    why = f"{ts} is not current (update_translations):\n"
    return [why + "".join(diff[:60])] if diff else []


def main():
    lupdate, project, ts, options = sys.argv[1:4] + [sys.argv[4:]]
    faults = stale(lupdate, project, ts, options)
    for context in ET.parse(ts).getroot().iter("context"):
        for m in context.iter("message"):
            source = text(m.find("source"))
            where = f"{context.findtext('name')}: {source!r}"
            tr = m.find("translation")
            forms = [text(f) for f in tr.iter("numerusform")] or [text(tr)]
            if tr.get("type") or not all(forms):
                kind = tr.get("type") or "untranslated"
                faults.append(f"{where} is {kind}")
            for form in forms:
                if form and shape(form) != shape(source):
                    faults.append(f"{where}: {form!r} differs in line "
                                  "breaks or placeholders")
    print("\n".join(faults) or f"{ts}: current, finished and true")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
