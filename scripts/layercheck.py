#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A library includes only its own headers and those of the libraries it
links: every quoted include of a library's sources and headers is checked
against the link graph CMake wrote (build/layers.txt, a target a line).

usage: scripts/layercheck.py MANIFEST [FILE=INCLUDE ...]
  FILE=INCLUDE pretends FILE (from the source tree) includes INCLUDE, as a
  test that the check fails on an include across layers.
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
LINK_ONLY = re.compile(r"^\$<LINK_ONLY:(.+)>$")


def read_manifest(path):
    """name -> (folder, files, links, public links)"""
    targets = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            name, folder, files, links, public = line.rstrip("\n").split("|")
            split = lambda text: [t for t in text.split(";") if t]
            files = [os.path.normpath(os.path.join(folder, p)) for p in split(files)]
            targets[name] = (folder, files, split(links),
                             [t for t in split(public) if not LINK_ONLY.match(t)])
    return targets


def main(argv):
    targets = read_manifest(argv[1])
    pretend = dict(arg.split("=", 1) for arg in argv[2:])
    generated = os.path.join(os.path.dirname(os.path.abspath(argv[1])), "generated")
    owner = {}
    for name, (_, files, _, _) in targets.items():
        for path in files:
            if path.endswith(".h"):
                base = generated if path.startswith(generated + os.sep) else ROOT
                owner[os.path.relpath(path, base)] = name

    def reach(name, seen):
        if name in targets and name not in seen:
            seen.add(name)
            for dep in targets[name][3]:
                reach(dep, seen)
        return seen

    failures = []
    for name, (_, files, links, _) in sorted(targets.items()):
        allowed = {name}
        for dep in links:
            reach(LINK_ONLY.sub(r"\1", dep), allowed)
        for path in files:
            if not os.path.isfile(path):
                continue
            with open(path, encoding="utf-8") as f:
                includes = INCLUDE.findall(f.read())
            rel = os.path.relpath(path, ROOT)
            if rel in pretend:
                includes.append(pretend[rel])
            for inc in includes:
                if inc in owner and owner[inc] not in allowed:
                    failures.append(f"{rel}: {inc} is {owner[inc]}'s, which {name} does not link")
                elif inc not in owner and os.path.isfile(os.path.join(ROOT, inc)) and \
                        os.path.join(ROOT, inc) not in files:
                    failures.append(f"{rel}: {inc} is in no library's headers")
    for line in failures:
        print(line)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
