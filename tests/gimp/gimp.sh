# SPDX-License-Identifier: MIT
# Sourced by tests/gimp/run.sh and tests/browser/run.sh (BUILD as $1): the
# runner's folder in `here`, the programs of BUILD/bin, a work folder made
# the current one and removed at the end (kept with KEEP=1), and
# run_gimp CALLS, which runs samples.scm's CALLS in gimp-console in batch
# mode, GIMP's colours going to gimp.txt, with a settings folder of its own
# in gimp/config (where it would write a gradient too) that reads gradients
# from gimp/gradients only and no other data: quick, and the user's GIMP is
# neither read nor changed. Its chatter goes
# to gimp/log, shown when it fails or writes nothing.
# shellcheck disable=SC2034 # seven is read by the runners
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run.sh BUILD}" && pwd)
render=$build/bin/velmix-render
check=$build/bin/browsercheck
work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
cd "$work"
mkdir -p gimp/config gimp/gradients
# Seven points, POS:COLOR, that both runners draw.
seven="0:#1a2b3c 120:#ff8800 260:#00ffcc 430:#ffffff 610:#3300ff 800:#808080 1000:#f0e68c"
run_gimp() {
  local g=$work/gimp
  printf '(%s-path "")\n' brush dynamics pattern palette tool-preset mypaint-brush \
    >gimp/config/gimprc
  printf '(gradient-path "%s/gradients")\n' "$g" >>gimp/config/gimprc
  local s="(define port (open-output-file \"$work/gimp.txt\"))
$(<"$here/../gimp/samples.scm")
$1
(close-output-port port)"
  if ! GIMP2_DIRECTORY=$g/config timeout 120 gimp-console -i -f \
    -b "$s" -b '(gimp-quit 0)' >gimp/log 2>&1 || [ ! -s gimp.txt ]; then
    tail -n 20 gimp/log >&2
    echo "gimp: no colours" >&2
    exit 1
  fi
}
