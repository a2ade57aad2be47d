#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the fuzz targets with clang and runs each for SECONDS (default 60)
# from its seed corpus in tests/fuzz/corpus/<target>, each input within 2
# seconds and 200 MB (the readers' bounds); new interesting inputs are added
# to the corpus. Needs clang and libclang-rt-14-dev.
#   tests/fuzz/run.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/../.."
b=${1:-build/fuzz} s=${2:-60}
targets=${FUZZ_TARGETS:-$(basename -s .cpp tests/fuzz/fuzz_*.cpp)}
CC=clang CXX=clang++ cmake -S . -B "$b" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELMIX_FUZZ=ON "-DVELMIX_SANITIZE=fuzzer-no-link;address;undefined" >/dev/null
cmake --build "$b" --target $targets
for t in $targets; do
    c=tests/fuzz/corpus/$t
    mkdir -p "$c"
    echo "== $t for ${s}s"
    "$b/bin/$t" -max_total_time="$s" -max_len=4096 -timeout=2 -rss_limit_mb=200 "$c" 2>&1 |
        grep -E 'ERROR|SUMMARY|Done' || true
done
