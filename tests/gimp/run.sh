#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# GIMP as the reference for the .ggr files velmix-render writes: each is
# loaded by gimp-console in batch mode, its colours asked at the positions
# x / L, and compared with the renderer's PNG of the same points within one
# level (browsercheck gimp-compare: pixels at points that share a position
# left out, where either side's colour is right, and the pixel the
# rasteriser draws late past a point between two pixels). Every shipped
# gradient must load, and match the PNG the renderer draws from its file.
# One gimp-console for all files.
# Usage: tests/gimp/run.sh BUILD   (velmix-render and browsercheck in
# BUILD/bin; KEEP=1 keeps the files made)
set -euo pipefail
. "$(dirname "$0")/gimp.sh"
to=gimp/gradients
inside=(100:#ffffff 250:#000000 250:#ff00ff 700:#00ff00 700:#123456 900:#abcdef)
# name, length, then the points, each POS:COLOR[:off]
cases=(
  "two 100 0:#000000 1000:#ffffff"
  "inside 280 150:#ff8800 850:#0033cc"
  "three 333 0:#102030 417:#f0e68c 1000:#ff0000"
  "ties 280 0:#ff0000 500:#00ff00 500:#0000ff 1000:#00ffff"
  "ties-inside 400 ${inside[*]}"
  "ties-short 77 ${inside[*]}"
  "seven 1000 $seven"
  "seven-short 77 $seven"
  "off 500 0:#ff0000 200:#ffffff:off 333:#00ff00 1000:#0000ff"
)
for c in "${cases[@]}"; do
  read -r name n points <<<"$c"
  read -r -a p <<<"-p ${points// / -p }"
  "$render" "${p[@]}" -o "$to/$name.ggr"
  "$render" "${p[@]}" -s "$n" -o "$name.png"
  at=$(tr ' ' '\n' <<<"$points" | grep -v ':off$' | cut -d: -f1 | paste -sd,)
  echo "$name $at" >>cases.txt
  calls+="(samples \"$name\" $n 0)"
done
# The shipped ones as they are, drawn from their own files.
for f in "$here"/../../gradients/*.ggr; do
  name=shipped-$(basename "$f" .ggr)
  sed "s/^Name: .*/Name: $name/" "$f" >"$to/$name.ggr"
  "$render" --from "$f" -s 1000 -o "$name.png"
  echo "$name" >>cases.txt
  calls+="(samples \"$name\" 1000 0)"
done
run_gimp "$calls"
"$check" gimp-compare .
