#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The English texts are current and whole: lupdate, run with the build's
project on a copy of the committed file, changes nothing; no entry is left
unfinished; every translation has its source's line breaks and placeholders.

usage: tests/translations.py LUPDATE PROJECT.json FILE.ts [LUPDATE-OPTION]...
"""
import difflib
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

PLACEHOLDER = re.compile(r"%L?(\d{1,2}|n)")
BREAK = re.compile(r"\r\n|\r|\n")


def text(element):
    """An element's text with lupdate's <byte value="xd"/> characters."""
    out = element.text or ""
    for child in element:
        if child.tag == "byte":
            out += chr(int(child.get("value")[1:], 16))
        out += child.tail or ""
    return out


def shape(s):
    return BREAK.findall(s), sorted(PLACEHOLDER.findall(s))


def stale(lupdate, project, ts, options):
    with tempfile.TemporaryDirectory() as tmp:
        copy = os.path.join(tmp, os.path.basename(ts))
        shutil.copyfile(ts, copy)
        with open(project, encoding="utf-8") as f:
            p = json.load(f)
        p["translations"] = [copy]
        path = os.path.join(tmp, "project.json")
        with open(path, "w", encoding="utf-8") as f:
            json.dump(p, f)
        run = subprocess.run([lupdate, "-project", path, *options], capture_output=True, text=True)
        if run.returncode:
            return ["lupdate failed:\n" + run.stdout + run.stderr]
        with open(ts, encoding="utf-8") as a, open(copy, encoding="utf-8") as b:
            diff = list(difflib.unified_diff(a.readlines(), b.readlines(), ts, "lupdate"))
    return [f"{ts} is not current (cmake --build BUILD --target update_translations, "
            "then translate what it adds):\n" + "".join(diff[:60])] if diff else []


def main():
    lupdate, project, ts, options = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
    faults = stale(lupdate, project, ts, options)
    for context in ET.parse(ts).getroot().iter("context"):
        for message in context.iter("message"):
            where = f"{context.findtext('name')}: {text(message.find('source'))!r}"
            tr = message.find("translation")
            forms = [text(f) for f in tr.iter("numerusform")] or [text(tr)]
            if tr.get("type") or not all(forms):
                faults.append(f"{where} is {tr.get('type') or 'untranslated'}")
            for form in forms:
                if form and shape(form) != shape(text(message.find("source"))):
                    faults.append(f"{where}: {form!r} differs in line breaks or placeholders")
    print("\n".join(faults) or f"{ts}: current, finished and true to its sources")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
