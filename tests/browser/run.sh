#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# shellcheck disable=SC2034 # the point sets are read by name
# Draws the CSS and SVG exports in headless Chromium and compares every pixel
# with velmix-render's PNG of the same gradient, tiled the same way (OKLab
# blends too, whose stops follow the curve), and other programs' SVG files
# with velmix-render's reading of them; then has GIMP read the SVG files
# as gradients of its own and compares its colours at the pixel centres with
# the PNG. CSS as other tools write it is drawn from the file by both.
# Usage: tests/browser/run.sh BUILD   (velmix-render and browsercheck in BUILD/bin)
set -euo pipefail
. "$(dirname "$0")/../gimp/gimp.sh"

# The points of each set, POS:COLOR[:off] (velmix-render's -p added below;
# seven in gimp.sh).
startup=""
two="0:#000000 1000:#ffffff"
dark="0:#102030 1000:#203048"
ties="0:#ff0000 500:#00ff00 500:#0000ff 500:#ffff00 1000:#00ffff"
crowd="0:#000000 100:#ff0000 200:#00ff00 300:#0000ff 1000:#ffffff"
near="300:#000000 305:#ff0000 310:#00ff00 312:#0000ff 700:#ffffff"
disabled="0:#ff0000 200:#ffffff:off 333:#00ff00 500:#000000:off 667:#0000ff 1000:#ff0000"
disabled+=" 900:#ffff00:off"
one="600:#336699"

# [oklab-]SET-SIZE[-v][-axis] (the blend, the set, the length, vertical, the
# CSS repeated only across the gradient), then velmix-render's further
# arguments
cases=(
  startup-100
  "startup-100-v -t 50"
  "two-4 -t 50"
  two-40
  two-2000
  dark-2000-v
  "seven-280 -t 50"
  seven-100-v
  ties-280
  "ties-40-v -t 50"
  crowd-4
  "near-280 -t 50"
  near-40-v
  disabled-280
  "one-40 -t 50"
  one-100-v
  oklab-seven-2000
  "oklab-startup-100-v -t 50"
  "oklab-ties-280 -t 50"
  oklab-two-40
  "seven-280-axis -t 50"
  dark-200-v-axis
  "oklab-ties-100-v-axis -t 30"
)
for c in "${cases[@]}"; do
  read -r name more <<<"$c"
  base=${name%-axis}
  IFS=- read -r set size v <<<"${base#oklab-}"
  p=${!set}
  read -r -a args <<<"${p:+-p ${p// / -p }} -s $size $more"
  [ -z "$v" ] || args+=(--vertical)
  [ "$name" = "${name#oklab-}" ] || args+=(--blend oklab)
  [ "$name" = "$base" ] || args+=(--repeat axis --selector html)
  for ext in png css svg; do
    "$render" "${args[@]}" -o "$name.$ext"
  done
  echo "$name" >>cases.txt
  # GIMP names a gradient by its element's id, and ours are all "velmix".
  sed "s/id=\"velmix\"/id=\"$name\"/" "$name.svg" >"gimp/gradients/$name.svg"
  calls+="(samples \"$name\" $size 0.5)"
done

# CSS as other tools write it (tests/browser/foreign/NAME.css): the page
# shows the file itself, velmix-render draws what it reads from it; within the
# error it says plus the browser's level. NAME SIZE THICKNESS
foreign=(
  # Bootstrap 5 with $enable-gradients: its translucent overlay on a
  # button's colour.
  "bootstrap-overlay 120 60"
  # A tint over a gradient: two layers, the first on top.
  "two-layers 300 30"
  "size-elsewhere 240 20"
  "to-bottom 400 40"
  "half-turn 250 30"
  "hard-stop 400 10"
# Gradients of SVG files as Inkscape writes them (tests/browser/foreign/
# sheet.svg: a <style> sheet, a swatch among them, a reversed vector fading
# by stop-opacity; vertical.svg), each named by its id: Chromium draws the
# file cut to its rectangle at X, Y, velmix-render what it reads from it.
# NAME SIZE THICKNESS FILE#ID X Y
  "sheet 1000 20 sheet.svg#linearGradient1236 0 0"
  "fade 1000 20 sheet.svg#linearGradient1202 0 20"
  "vertical 1000 20 vertical.svg#linearGradient1302 0 0"
)
cp "$here"/foreign/* .
for c in "${foreign[@]}"; do
  read -r name size thick svg at <<<"$c"
  said=$("$render" --from "${svg:-$name.css}" -s "$size" -t "$thick" -o "$name.png" 2>&1 |
    sed -n 's/.*largest error \([0-9]*\).*/\1/p')
  echo "$name ${said:-0}${svg:+ ${svg%#*} $at}" >>foreign.txt
done

size=$("$check" layout .)
# sRGB forced: no display profile may alter the values. A profile of its own,
# so a browser the user has open is neither used nor disturbed.
if ! chromium --headless --disable-gpu --no-sandbox --hide-scrollbars \
  --force-device-scale-factor=1 --force-color-profile=srgb --user-data-dir=profile \
  --window-size="$size" --screenshot=shot.png "file://$work/page.html" >chromium.log 2>&1 ||
  [ ! -s shot.png ]; then
  tail -n 20 chromium.log >&2
  echo "browser: no screenshot" >&2
  exit 1
fi
"$check" compare . shot.png

# GIMP reads the SVG files as gradients of its own.
run_gimp "$calls"
"$check" gimp-compare .
