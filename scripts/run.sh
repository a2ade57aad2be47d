#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the program and velmix-render and starts the program:
# build/release/lib/velmix/velmix, build/release/bin/velmix-render.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/release --target velmix velmix-render
exec build/release/lib/velmix/velmix "$@"
