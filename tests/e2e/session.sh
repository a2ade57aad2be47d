#!/usr/bin/env bash
# One run of the program on the current display: wait for its window, take a
# screenshot, quit with Alt+F, X (the File menu's exit) and wait for the end.
#   session.sh PROGRAM_DIR SHOT_FILE [TITLE_FILE]
# With TITLE_FILE, the tile window is opened (Alt+V, T) and the caption its
# title bar shows is written there.
set -u
. "$(dirname "$0")/window.sh"
start_and_wait "$1/velmix"
import -window root "$2"
if [ -n "${3:-}" ]; then
    xdotool windowfocus --sync "$wid" 2>/dev/null || true
    xdotool key --window "$wid" alt+v && sleep 0.5 && xdotool key t
    tile=""
    for _ in $(seq 1 50); do
        tile=$(xdotool search --onlyvisible --pid "$pid" --name . 2>/dev/null | grep -vx "$wid" | head -n 1 || true)
        [ -n "$tile" ] && break
        sleep 0.1
    done
    [ -n "$tile" ] && xprop -id "$tile" _NET_WM_NAME | sed 's/^[^"]*"//; s/"$//' >"$3"
fi
# Alt+F opens the File menu, X chooses its exit.
choose_until '! kill -0 "$pid" 2>/dev/null' alt+f x || { echo "still running after Alt+F, X"; kill "$pid"; exit 1; }
wait "$pid"
