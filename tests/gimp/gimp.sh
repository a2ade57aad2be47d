# SPDX-License-Identifier: MIT
# Sourced by tests/gimp/run.sh and tests/browser/run.sh: run_gimp SCRIPT DIR OUT
# runs the Script-Fu file SCRIPT in gimp-console in batch mode, with a
# settings folder of its own in DIR that reads gradients from DIR/gradients
# only and no other data: quick, and the user's GIMP is neither read nor
# changed. Its chatter goes to DIR/log, shown when it fails or writes no OUT.
run_gimp() {
  mkdir -p "$2/config" "$2/saved"
  cat >"$2/config/gimprc" <<EOT
(gradient-path "$2/gradients")
(gradient-path-writable "$2/saved")
(brush-path "")
(dynamics-path "")
(pattern-path "")
(palette-path "")
(tool-preset-path "")
(mypaint-brush-path "")
EOT
  if ! GIMP2_DIRECTORY="$2/config" timeout 120 gimp-console -i -f \
    -b "$(cat "$1")" -b '(gimp-quit 0)' >"$2/log" 2>&1 || [ ! -s "$3" ]; then
    tail -n 20 "$2/log" >&2
    echo "gimp: no colours read" >&2
    exit 1
  fi
}
