#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for SECONDS (default 60)
# from its seed corpus in tests/fuzz/corpus/<target>; new interesting inputs
# are added to the corpus.
#   tests/fuzz/run.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/fuzz}
seconds=${2:-60}
for p in clang libclang-rt-14-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$p" >/dev/null
done
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELMIX_FUZZ=ON "-DVELMIX_SANITIZE=fuzzer-no-link;address;undefined" >/dev/null
cmake --build "$build" --target fuzz_settings fuzz_roundtrip fuzz_number fuzz_renderargs
for t in ${FUZZ_TARGETS:-fuzz_settings fuzz_roundtrip fuzz_number fuzz_renderargs}; do
    mkdir -p "tests/fuzz/corpus/$t"
    echo "== $t for ${seconds}s"
    "$build/bin/$t" -max_total_time="$seconds" -print_final_stats=1 -max_len=4096 \
        "tests/fuzz/corpus/$t" 2>&1 | grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done' || true
done
