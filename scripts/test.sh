#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds with warnings as errors and runs every test: the unit and widget
# tests, clang-tidy on the program's sources, the same again under AddressSanitizer and UndefinedBehaviorSanitizer,
# the end-to-end tests of the real program under Xvfb, and Chromium's drawing
# of the CSS and SVG exports against the PNG, and GIMP's reading of the .ggr
# files velmix-render writes; then the Debian package is built,
# checked with lintian, installed, started and purged.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Every source, script and CMake file carries the licence line.
scripts/spdx.py --check

jobs=$(nproc)
cmake -S . -B build/ci -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMIX_WERROR=ON
cmake --build build/ci -j "$jobs"
ctest --test-dir build/ci --output-on-failure -j "$jobs"
# clang-tidy on the program's sources, in the background at the lowest
# priority: it takes what the builds and the end-to-end tests leave idle, and
# every processor once they are done. A source is checked again only when what
# it was compiled from changed.
TIDY_JOBS=$jobs nice -n 19 scripts/tidy.py build/ci >build/ci/tidy.log 2>&1 &
tidy=$!
trap 'kill "$tidy" 2>/dev/null || true' EXIT

cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMIX_WERROR=ON \
  "-DVELMIX_SANITIZE=address;undefined"
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 \
LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
VELMIX_SOAK_ACTIONS=400 \
  ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

appstreamcli validate --no-net data/org.velmix.Velmix.metainfo.xml
desktop-file-validate data/org.velmix.Velmix.desktop
tests/e2e/run.sh build/ci
tests/browser/run.sh build/ci
tests/gimp/run.sh build/ci
scripts/package-check.sh build/deb
wait "$tidy" || { cat build/ci/tidy.log; exit 1; }
cat build/ci/tidy.log
echo "All tests passed."
