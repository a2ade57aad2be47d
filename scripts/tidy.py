#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Runs clang-tidy (.clang-tidy, every warning an error) on the program's own
sources of a built tree, in parallel.

usage: scripts/tidy.py BUILD_DIR

The sources of one library are checked together, as one file that includes
them (BUILD_DIR/tidy/unity/), and the static analyzer's checks, for the
folders it runs on, on each source alone. Each of these is run again only
when something its sources were compiled from changed: their text, any header
they included (the build's own dependency record, system headers too), their
compile command, .clang-tidy or clang-tidy itself. A clean result is
remembered in BUILD_DIR/tidy/; a failing one never is.

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
FOLDERS = ("core", "common", "settings", "export", "widgets", "about", "tile", "main", "library", "app")
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
    common = hashlib.sha256()
    common.update(subprocess.run([TIDY, "--version"], capture_output=True,
                                 check=True).stdout)
    digest_file(os.path.join(ROOT, ".clang-tidy"), common)

    def digest_source(h, args, src):
        digest_file(src, h)
        output = args[args.index("-o") + 1] if "-o" in args else None
        deps = dependencies(build, output) if output else None
        if deps is None:
            h.update(os.urandom(16))  # no record: always checked
        else:
            for d in deps:
                digest_file(d, h)

    # Most of a source's time is the checks walking the Qt and standard
    # headers it includes: the sources of one library (one compile command
    # but the file) are checked as one, which walks those headers once, as
    # the sanitizer build compiles them (scripts/test.sh). The static
    # analyzer follows only the functions of the file it is given, so it
    # still runs on each source alone; the Release build compiles each alone
    # too, so each still includes what it uses.
    groups = {}
    for e in entries:
        src = os.path.normpath(os.path.join(e["directory"], e["file"]))
        rel = os.path.relpath(src, ROOT)
        if rel.split(os.sep)[0] not in FOLDERS or "_autogen" in rel:
            continue
        args = e["arguments"]
        i = args.index("-o")
        # The objects' folder names the library.
        target = os.path.basename(os.path.dirname(args[i + 1])).removesuffix(".dir")
        key = tuple(a for a in args[:i] + args[i + 2:] if a not in (e["file"], src))
        groups.setdefault((target, e["directory"], key), []).append((rel, src, args))
    if not groups:
        sys.exit("tidy: no program sources in " + build)

    unity = os.path.join(build, "tidy", "unity")
    os.makedirs(unity, exist_ok=True)
    jobs = []  # (name, file, stamp, key, checks, size)
    count = 0
    names = [g[0] for g in groups]
    for n, ((name, directory, _), members) in enumerate(sorted(groups.items())):
        if names.count(name) > 1:  # a library whose sources differ in flags
            name += f".{n}"
        members.sort()
        count += len(members)
        if len(members) == 1:
            file = members[0][1]
        else:
            file = os.path.join(unity, name + ".cpp")
            text = "".join(f'#include "{src}" // NOLINT(bugprone-suspicious-include)\n'
                           for _, src, _ in members)
            try:
                with open(file) as f:
                    same = f.read() == text
            except OSError:
                same = False
            if not same:
                with open(file, "w") as f:
                    f.write(text)
            args = list(members[0][2])
            args[args.index(members[0][1]) if members[0][1] in args else -1] = file
            entries.append({"directory": directory, "file": file, "arguments": args})
        analyzed = [m for m in members if m[0].split(os.sep)[0] in ANALYZED]
        alone = len(members) == 1 and analyzed  # every check in one run
        h = common.copy()
        h.update(b"every check" if alone else b"matchers")
        for rel, src, args in members:
            h.update(" ".join(args).encode())
            digest_source(h, args, src)
        stamp = os.path.join(build, "tidy", name + ".ok")
        size = sum(os.path.getsize(src) for _, src, _ in members)
        jobs.append((name, file, stamp, h.hexdigest(), [] if alone else
                     ["--checks=-clang-analyzer-*"], size))
        for rel, src, args in [] if alone else analyzed:
            h = common.copy()
            h.update(b"analyzer " + " ".join(args).encode())
            digest_source(h, args, src)
            stamp = os.path.join(build, "tidy", rel.replace(os.sep, "_") + ".ok")
            jobs.append((rel, src, stamp, h.hexdigest(), ["--checks=-*,clang-analyzer-*"],
                         os.path.getsize(src)))
    os.makedirs(db, exist_ok=True)
    with open(os.path.join(db, "compile_commands.json"), "w") as f:
        json.dump(entries, f)

    def run(job):
        name, file, stamp, key, checks, _ = job
        try:
            with open(stamp) as f:
                if f.read() == key:
                    return name, None
        except OSError:
            pass
        r = subprocess.run([TIDY, "-p", db, "--quiet", *checks, file], capture_output=True,
                           text=True, check=False)
        if r.returncode != 0:
            return name, r.stdout + r.stderr
        os.makedirs(os.path.dirname(stamp), exist_ok=True)
        with open(stamp, "w") as f:
            f.write(key)
        return name, None

    workers = int(os.environ.get("TIDY_JOBS", "0")) or os.cpu_count() or 1
    # Largest first, so that no long one is left to run alone at the end.
    jobs.sort(key=lambda j: -j[5])
    failed = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=workers) as pool:
        for rel, report in pool.map(run, jobs):
            if report is not None:
                failed += 1
                print(f"tidy: {rel}\n{report}", file=sys.stderr)
    print(f"tidy: {len(jobs) - failed} of {len(jobs)} checks clean ({count} sources)")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
