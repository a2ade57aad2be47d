#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# GIMP as the reference for the .ggr files velmix-render writes: each is
# loaded by gimp-console in batch mode, its colours asked at the positions
# x / L, and compared with the renderer's PNG of the same points within one
# level (compare.awk: pixels at points that share a position left out, where
# either side's colour is right, and the pixel the rasteriser draws late past
# a point between two pixels). Every shipped gradient must load, and match
# the PNG the renderer draws from its file. One gimp-console for all files.
# Usage: tests/gimp/run.sh BUILD   (velmix-render in BUILD/bin; KEEP=1 keeps
# the files made)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run.sh BUILD}" && pwd)
render="$build/bin/velmix-render"
work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
gimp="$work/gimp"
mkdir -p "$gimp/gradients"
. "$here/gimp.sh"

seven=(-p 0:#1a2b3c -p 120:#ff8800 -p 260:#00ffcc -p 430:#ffffff -p 610:#3300ff -p 800:#808080
  -p 1000:#f0e68c)
inside=(-p 100:#ffffff -p 250:#000000 -p 250:#ff00ff -p 700:#00ff00 -p 700:#123456
  -p 900:#abcdef)
# name, length, then the points
cases=(
  "two 100 -p 0:#000000 -p 1000:#ffffff"
  "inside 280 -p 150:#ff8800 -p 850:#0033cc"
  "three 333 -p 0:#102030 -p 417:#f0e68c -p 1000:#ff0000"
  "ties 280 -p 0:#ff0000 -p 500:#00ff00 -p 500:#0000ff -p 1000:#00ffff"
  "ties-inside 400 ${inside[*]}"
  "ties-short 77 ${inside[*]}"
  "seven 1000 ${seven[*]}"
  "seven-short 77 ${seven[*]}"
  "off 500 -p 0:#ff0000 -p 200:#ffffff:off -p 333:#00ff00 -p 1000:#0000ff"
)
for c in "${cases[@]}"; do
  read -r -a words <<<"$c"
  name=${words[0]}
  "$render" "${words[@]:2}" -o "$gimp/gradients/$name.ggr"
  "$render" "${words[@]:2}" -s "${words[1]}" -o "$work/$name.png"
  points=$(printf '%s\n' "${words[@]:2}" | grep -v -e '^-p$' -e ':off$' | cut -d: -f1 | paste -sd,)
  echo "$name ${words[1]} $points" >>"$work/cases.txt"
done
# The shipped ones as they are, drawn from their own files.
for f in "$here"/../../gradients/*.ggr; do
  name=$(basename "$f" .ggr)
  sed "s/^Name: .*/Name: shipped-$name/" "$f" >"$gimp/gradients/shipped-$name.ggr"
  "$render" --from "$f" -s 1000 -o "$work/shipped-$name.png"
  echo "shipped-$name 1000 -" >>"$work/cases.txt"
done

{
  echo "(define dir \"$work\")"
  echo "(define port (open-output-file \"$work/gimp.txt\"))"
  cat "$here/samples.scm"
  while read -r name length _; do echo "(samples \"$name\" $length)"; done <"$work/cases.txt"
  echo "(close-output-port port)"
} >"$work/gimp.scm"
run_gimp "$work/gimp.scm" "$work/gimp" "$work/gimp.txt"
awk -v cases="$work/cases.txt" -f "$here/compare.awk" "$work/gimp.txt"
