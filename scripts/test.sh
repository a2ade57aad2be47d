#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds with warnings as errors and runs every test: the unit and widget
# tests, clang-tidy on the program's sources, the same tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, the end-to-end tests of the
# real program under Xvfb, Chromium's drawing of the CSS and SVG exports
# against the PNG, and GIMP's reading of the .ggr files velmix-render writes;
# then the Debian package is built, checked with lintian, installed, started
# and purged.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Every source, script and CMake file carries the licence line.
scripts/spdx.py --check

jobs=$(nproc)
mkdir -p build
# Each phase's wall time and processor time (user + system, its children's
# included) go to the log and build/phases.txt, with the processor time the
# whole machine spent meanwhile: what other programs took of it shows.
: >build/phases.txt
busy() { awk '/^cpu / {print $2 + $3 + $4 + $7 + $8}' /proc/stat; }
start=$(busy)
phase() { # NAME COMMAND...
  local name=$1 t b0
  shift
  t=$(mktemp)
  b0=$(busy)
  /usr/bin/time -f '%e %U %S' -o "$t" "$@"
  awk -v n="$name" -v b="$(($(busy) - b0))" -v hz="$(getconf CLK_TCK)" '{t = $0}
    END {split(t, f, " "); printf "%-15s %5.0f s wall %5.0f s CPU  machine %5.0f s CPU\n",
      n, f[1], f[2] + f[3], b / hz}' "$t" |
    tee -a build/phases.txt
  rm -f "$t"
}
# One Release build for /usr serves the tests, the end-to-end runs and the
# package, so that what is tested is what is shipped (its tests install
# nothing).
phase configure cmake -S . -B build/ci -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMIX_WERROR=ON \
  -DCMAKE_INSTALL_PREFIX=/usr
phase build cmake --build build/ci -j "$jobs"
phase ctest ctest --test-dir build/ci --output-on-failure -j "$jobs"

# The sanitizer build and its tests, and clang-tidy (at the lowest priority,
# checking again only a source whose inputs changed), keep the processors
# busy in the background while the end-to-end runs, the browser, GIMP and the
# package's installs mostly wait. Each has a log of its own, shown at the end.
sanitize() {
  # Debug information of lines only, what the sanitizers' reports name,
  # which the compiler writes far quicker than the full information. A unity
  # build (all of a library's sources compiled as one, a test with its moc
  # code) instruments the Qt and standard templates they share once, not
  # once a source: a quarter less processor time. clang-tidy reads the
  # libraries the same way (scripts/tidy.py); the Release build compiles each
  # source alone, so each includes what it uses.
  phase sanitize-cfg cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DVELMIX_WERROR=ON "-DVELMIX_SANITIZE=address;undefined" \
    -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=0
  # Only what its tests run: each test program and both programs.
  phase sanitize-build cmake --build build/sanitize -j "$jobs" --target velmix velmix-render \
    $(ctest --test-dir build/sanitize -N | sed -n 's/^ *Test *#[0-9]*: \(tst_.*\|leak_canary\)$/\1/p')
  ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 \
  LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  VELMIX_SOAK_ACTIONS=400 \
    phase sanitize-test ctest --test-dir build/sanitize --output-on-failure -j "$jobs"
}
# Each in a process group of its own, so that all of it ends with the script.
set -m
(renice -n 5 -p "$BASHPID" >/dev/null && sanitize) >build/sanitize.log 2>&1 &
san=$!
phase tidy nice -n 19 env TIDY_JOBS="$jobs" scripts/tidy.py build/ci >build/ci/tidy.log 2>&1 &
tidy=$!
set +m
trap 'kill -- -"$san" -"$tidy" 2>/dev/null || true' EXIT

phase validate bash -c 'appstreamcli validate --no-net data/org.velmix.Velmix.metainfo.xml &&
  desktop-file-validate data/org.velmix.Velmix.desktop'
phase e2e tests/e2e/run.sh build/ci
phase browser tests/browser/run.sh build/ci
phase gimp tests/gimp/run.sh build/ci
phase package scripts/package-check.sh build/ci
wait "$san" || { cat build/sanitize.log; exit 1; }
cat build/sanitize.log
wait "$tidy" || { cat build/ci/tidy.log; exit 1; }
cat build/ci/tidy.log
# Phases from "sanitize" on overlap those after them: their walls overlap.
cat build/phases.txt
# The whole run: its processor time is every phase's, the background's too.
times >build/times.txt # not in a pipe: a subshell's children are not the script's
tail -n 1 build/times.txt | awk -v w="$SECONDS" -v b="$(($(busy) - start))" \
  -v hz="$(getconf CLK_TCK)" '{gsub(/[ms]/, " "); printf "%-15s %5.0f s wall %5.0f s CPU  machine %5.0f s CPU\n",
    "total", w, $1 * 60 + $2 + $3 * 60 + $4, b / hz}'
echo "All tests passed."
