#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Draws the CSS and SVG exports in headless Chromium and compares every pixel
# with velmix-render's PNG of the same gradient, tiled the same way (OKLab
# blends too, whose stops follow the curve); then has GIMP read the SVG files
# as gradients of its own and compares its colours at the pixel centres with
# the PNG.
# Usage: tests/browser/run.sh BUILD   (velmix-render and browsercheck in BUILD/bin)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run.sh BUILD}" && pwd)
render="$build/bin/velmix-render"
check="$build/bin/browsercheck"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# The points, each POS:COLOR[:off], velmix-render's -p added below.
seven=(0:#1a2b3c 120:#ff8800 260:#00ffcc 430:#ffffff 610:#3300ff 800:#808080 1000:#f0e68c)
two=(0:#000000 1000:#ffffff)
dark=(0:#102030 1000:#203048)
ties=(0:#ff0000 500:#00ff00 500:#0000ff 500:#ffff00 1000:#00ffff)
crowd=(0:#000000 100:#ff0000 200:#00ff00 300:#0000ff 1000:#ffffff)
near=(300:#000000 305:#ff0000 310:#00ff00 312:#0000ff 700:#ffffff)
disabled=(0:#ff0000 200:#ffffff:off 333:#00ff00 500:#000000:off 667:#0000ff 1000:#ff0000
  900:#ffff00:off)
one=(600:#336699)

# name, then velmix-render's arguments
cases=(
  "startup -s 100"
  "startup-v -s 100 --vertical -t 50"
  "two-4 ${two[*]} -s 4 -t 50"
  "two-40 ${two[*]} -s 40"
  "two-2000 ${two[*]} -s 2000"
  "dark-2000-v ${dark[*]} -s 2000 --vertical"
  "seven-280 ${seven[*]} -s 280 -t 50"
  "seven-100-v ${seven[*]} -s 100 --vertical"
  "ties-280 ${ties[*]} -s 280"
  "ties-40-v ${ties[*]} -s 40 --vertical -t 50"
  "crowd-4 ${crowd[*]} -s 4"
  "near-280 ${near[*]} -s 280 -t 50"
  "near-40-v ${near[*]} -s 40 --vertical"
  "disabled-280 ${disabled[*]} -s 280"
  "one-40 ${one[*]} -s 40 -t 50"
  "one-100-v ${one[*]} -s 100 --vertical"
  "oklab-seven-2000 ${seven[*]} -s 2000 --blend oklab"
  "oklab-startup-100-v -s 100 --vertical -t 50 --blend oklab"
  "oklab-ties-280 ${ties[*]} -s 280 --blend oklab -t 50"
  "oklab-two-40 ${two[*]} -s 40 --blend oklab"
)
for c in "${cases[@]}"; do
  read -r -a words <<<"$(sed -E 's/ ([0-9]+:#)/ -p \1/g' <<<"$c")"
  name=${words[0]}
  for ext in png css svg; do
    "$render" "${words[@]:1}" -o "$name.$ext"
  done
  echo "$name" >>cases.txt
done

size=$("$check" layout .)
# sRGB forced: no display profile may alter the values. A profile of its own,
# so a browser the user has open is neither used nor disturbed.
if ! chromium --headless --disable-gpu --no-sandbox --hide-scrollbars \
  --force-device-scale-factor=1 --force-color-profile=srgb --user-data-dir="$work/profile" \
  --window-size="$size" --screenshot="$work/shot.png" "file://$work/page.html" >chromium.log 2>&1 ||
  [ ! -s shot.png ]; then
  tail -n 20 chromium.log >&2
  echo "browser: chromium made no screenshot" >&2
  exit 1
fi
"$check" compare . shot.png

# GIMP reads the SVG files as gradients of its own.
. "$here/../gimp/gimp.sh"
{
  echo "(define port (open-output-file \"$work/gimp.txt\"))"
  cat "$here/samples.scm"
  "$check" gimp-calls .
  echo "(close-output-port port)"
} >gimp.scm
run_gimp gimp.scm "$work/gimp" gimp.txt
"$check" gimp-compare .
