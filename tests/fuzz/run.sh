#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the fuzz targets with clang and runs each for SECONDS (default 60)
# from its seed corpus in tests/fuzz/corpus/<target>, each input within 2
# seconds and 200 MB (the readers' bounds); new interesting inputs are added
# to the corpus. Needs clang and libclang-rt-14-dev.
#   tests/fuzz/run.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/fuzz}
targets=${FUZZ_TARGETS:-$(cd tests/fuzz && basename -s .cpp fuzz_*.cpp)}
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELMIX_FUZZ=ON "-DVELMIX_SANITIZE=fuzzer-no-link;address;undefined" >/dev/null
cmake --build "$build" --target $targets
for t in $targets; do
    mkdir -p "tests/fuzz/corpus/$t"
    echo "== $t for ${2:-60}s"
    "$build/bin/$t" -max_total_time="${2:-60}" -max_len=4096 -timeout=2 -rss_limit_mb=200 \
        "tests/fuzz/corpus/$t" 2>&1 | grep -E 'ERROR|SUMMARY|Done' || true
done
