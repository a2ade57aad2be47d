#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Runs clang-tidy (.clang-tidy, every warning an error) on the program's own
sources of a built tree, in parallel.

usage: scripts/tidy.py BUILD_DIR

A source is checked again only when something it was compiled from changed:
its text, any header it included (the build's own dependency record, system
headers too), its compile command, .clang-tidy or clang-tidy itself. A clean
result is remembered in BUILD_DIR/tidy/; a failing one never is.

TIDY_JOBS sets how many run at once (default: one per processor).
"""

import concurrent.futures
import hashlib
import json
import os
import shlex
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# The libraries' folders: tests, benchmarks and generated code are left out.
FOLDERS = ("core", "common", "settings", "export", "widgets", "about", "tile", "main", "app")
TIDY = os.environ.get("CLANG_TIDY", "clang-tidy")
# The static analyzer triples the time of a window's source, and the windows'
# objects are owned by their Qt parents, which it cannot follow: it runs on the
# folders without windows.
ANALYZED = ("core", "common", "settings", "export")


def digest_file(path, h):
    h.update(path.encode())
    if path.endswith(".gch"):
        return  # a precompiled header, which clang-tidy does not read
    try:
        if path.startswith(ROOT):
            with open(path, "rb") as f:
                h.update(f.read())
        else:
            # System headers: their size and time are enough.
            st = os.stat(path)
            h.update(f"{st.st_size} {st.st_mtime_ns}".encode())
    except OSError:
        h.update(b"missing")


def dependencies(build, output):
    """The files the build recorded for one object, absolute."""
    out = subprocess.run(["ninja", "-C", build, "-t", "deps", output],
                         capture_output=True, text=True, check=False).stdout
    lines = out.splitlines()
    if not lines or "(VALID)" not in lines[0]:
        return None
    return [os.path.normpath(os.path.join(build, l.strip())) for l in lines[1:] if l.strip()]


def without_pch(args):
    """A compile command without its precompiled header's flags."""
    out = []
    for a in args:
        if a == "-Winvalid-pch":
            continue
        if a.endswith("cmake_pch.hxx") and out and out[-1] == "-include":
            out.pop()
            continue
        out.append(a)
    return out


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    build = os.path.abspath(sys.argv[1])
    with open(os.path.join(build, "compile_commands.json")) as f:
        entries = json.load(f)
    # clang-tidy reads the sources as written, without gcc's precompiled
    # headers (which clang cannot load): from a copy of the compile commands
    # without them, so that each source must also include what it uses.
    db = os.path.join(build, "tidy", "db")
    for e in entries:
        e["arguments"] = without_pch(e.pop("arguments", None) or shlex.split(e.pop("command")))
    os.makedirs(db, exist_ok=True)
    with open(os.path.join(db, "compile_commands.json"), "w") as f:
        json.dump(entries, f)
    common = hashlib.sha256()
    common.update(subprocess.run([TIDY, "--version"], capture_output=True,
                                 check=True).stdout)
    digest_file(os.path.join(ROOT, ".clang-tidy"), common)

    jobs = []
    for e in entries:
        src = os.path.normpath(os.path.join(e["directory"], e["file"]))
        rel = os.path.relpath(src, ROOT)
        if rel.split(os.sep)[0] not in FOLDERS or "_autogen" in rel:
            continue
        h = common.copy()
        args = e["arguments"]
        h.update(" ".join(args).encode())
        digest_file(src, h)
        output = e.get("output") or (args[args.index("-o") + 1] if "-o" in args else None)
        deps = dependencies(build, output) if output else None
        if deps is None:
            h.update(os.urandom(16))  # no record: always checked
        else:
            for d in deps:
                digest_file(d, h)
        stamp = os.path.join(build, "tidy", rel.replace(os.sep, "_") + ".ok")
        analyze = rel.split(os.sep)[0] in ANALYZED
        h.update(b"analyze" if analyze else b"")
        jobs.append((rel, src, stamp, h.hexdigest(), analyze))
    if not jobs:
        sys.exit("tidy: no program sources in " + build)

    def run(job):
        rel, src, stamp, key, analyze = job
        try:
            with open(stamp) as f:
                if f.read() == key:
                    return rel, None
        except OSError:
            pass
        extra = [] if analyze else ["--checks=-clang-analyzer-*"]
        r = subprocess.run([TIDY, "-p", db, "--quiet", *extra, src], capture_output=True,
                           text=True, check=False)
        if r.returncode != 0:
            return rel, r.stdout + r.stderr
        os.makedirs(os.path.dirname(stamp), exist_ok=True)
        with open(stamp, "w") as f:
            f.write(key)
        return rel, None

    workers = int(os.environ.get("TIDY_JOBS", "0")) or os.cpu_count() or 1
    # Largest first, so that no long source is left to run alone at the end.
    jobs.sort(key=lambda j: -os.path.getsize(j[1]))
    failed = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=workers) as pool:
        for rel, report in pool.map(run, jobs):
            if report is not None:
                failed += 1
                print(f"tidy: {rel}\n{report}", file=sys.stderr)
    print(f"tidy: {len(jobs) - failed} of {len(jobs)} sources clean")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
