# SPDX-License-Identifier: MIT
# shellcheck shell=bash
# Sourced by tests/e2e/session.sh and scripts/screenshots.sh.

# Runs CONDITION (shell text) every tenth of a second until it holds, at most
# N times.
# poll N CONDITION
poll() {
    for _ in $(seq 1 "$1"); do
        eval "$2" && return 0
        sleep 0.1
    done
    return 1
}

# Starts Xvfb of that size on a display it finds free, its process in xpid,
# DISPLAY naming it.
# display WIDTHxHEIGHT
display() {
    local f
    f=$(mktemp)
    Xvfb -displayfd 5 -screen 0 "$1x24" -nolisten tcp 5>"$f" >/dev/null 2>&1 &
    xpid=$!
    poll 100 '[ -s "$f" ]'
    export DISPLAY=":$(cat "$f")"
    rm -f "$f"
}

# A window's frame (as the manager draws it; none without one) on the
# screen: x y width height.
# frame window
frame() {
    local e
    # left, right, top, bottom
    e=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ,)
    xwininfo -id "$1" | awk -v e="${e:-0 0 0 0}" 'BEGIN {split(e, f)}
        /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
        /Width:/ {w = $NF} /Height:/ {h = $NF}
        END {print x - f[1], y - f[3], w + f[1] + f[2], h + f[3] + f[4]}'
}
