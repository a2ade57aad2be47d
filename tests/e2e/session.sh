#!/usr/bin/env bash
# One run of the program on the current display: wait for its window, take a
# screenshot, quit with Alt+F, X (the File menu's exit) and wait for the end.
#   session.sh PROGRAM_DIR SHOT_FILE
set -u
"$1/velmix" >/dev/null 2>&1 &
pid=$!
wid=""
for _ in $(seq 1 100); do
    wid=$(xdotool search --onlyvisible --name '^Velmix$' 2>/dev/null | head -n 1 || true)
    [ -n "$wid" ] && break
    sleep 0.1
done
if [ -z "$wid" ]; then
    echo "no window"
    kill "$pid"
    exit 1
fi
sleep 0.5
import -window root "$2"
xdotool windowfocus --sync "$wid" 2>/dev/null || true
xdotool key --window "$wid" alt+f
sleep 0.3
xdotool key x
for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    echo "still running after Alt+F, X"
    kill "$pid"
    exit 1
fi
wait "$pid"
