#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# One run of the program on a display of its own: wait for its window, then
#   menu:    take a screenshot (with TITLE_FILE, open the tile window with
#            Alt+V, T and write the caption its title bar shows there) and
#            quit with Alt+F, X, the File menu's exit;
#   TERM, INT, HUP, display: choose random colours and remember them, move
#            the window, take a screenshot, then send the program the signal
#            or end the display under it.
#   places:  check that the main window's frame stands where the file put
#            it, open the tile window, check that every title bar is on the
#            screen, close the tile window with its close box and open it
#            again (where a window manager draws one), quit by the menu.
#   session.sh PROGRAM_DIR SHOT_FILE menu|places|TERM|INT|HUP|display [TITLE_FILE]
# VELMIX_WM names a window manager to run on the display (openbox, metacity).
# Exits 0 when the program ended as it should: by the menu, by the signal it
# was sent, or at once when the display went away; 3 when the main window's
# frame was not where the file put it.
set -u
prog=$1 shot=$2 way=$3
wm=${VELMIX_WM:-}
ini="$prog/velmix.ini"
. "$(dirname "$0")/display.sh"
# What the X tools say of windows that come and go, and the shell of its
# jobs' deaths ("Hangup"), is noise: a run says what went wrong on standard
# output.
exec 2>/dev/null
# Opens a menu of the main window with its Alt key and chooses an item by its
# letter once the menu is open, pairs at a time, each once the menu has
# closed; then waits until CONDITION holds.
# choose_until CONDITION ALT+KEY LETTER [ALT+KEY LETTER...]
choose_until() {
    local c=$1 k
    shift
    xdotool windowfocus --sync "$wid"
    for ((k = 1; k < $#; k += 2)); do
        xdotool key --window "$wid" "${!k}"
        poll 100 '[ -n "$(other yes)" ]' || return 1
        xdotool key "${@:k+1:1}"
        poll 100 '[ -z "$(other yes)" ]' || return 1
    done
    poll 100 "$c"
}

# The program's visible top-level window other than the main one, or with
# "yes" its open menu: a menu is override-redirect.
# other [yes]
other() {
    local w
    for w in $(xdotool search --onlyvisible --class velmix | grep -vx "$wid"); do
        xwininfo -id "$w" | grep -q "Redirect State: ${1:-no}" && { echo "$w"; return; }
    done
}

opened='tile=$(other); [ -n "$tile" ]'
# Ends the run as failed (with STATUS, else 1): says why and ends the program.
# die WHY [STATUS]
die() {
    echo "$1"
    kill "$pid"
    exit "${2:-1}"
}
# Quits by the File menu's exit, Alt+F, X, and ends the run with its status.
quit() {
    choose_until '! kill -0 "$pid"' alt+f x || die "running after Alt+F, X"
    wait "$pid"
    exit
}

# Where the file puts the main window's frame, in pixels.
want=$(awk -F= '/^MainLeft=/ {l = $2} /^MainTop=/ {t = $2}
    END {if (l != "") printf "%d %d", l / 15, t / 15}' "$ini")

display 1280x1024
trap 'kill "$xpid"; wait "$xpid"' EXIT
if [ -n "$wm" ]; then
    # openbox or metacity
    "$wm" --sm-disable >/dev/null &
    # The manager says on the root window that it runs a little before it
    # manages new windows (a window mapped in between stays unmanaged): it
    # does once it lists a window of its own clients.
    xmessage probe >/dev/null &
    poll 100 'xprop -root _NET_CLIENT_LIST | grep -q 0x'
    kill $!
fi
# The program keeps a signal it finds ignored, as a background job of a
# script finds SIGINT and a run under nohup SIGHUP: each signal this sends
# is at its default, as from a terminal.
env --default-signal=HUP,INT,TERM "$prog/velmix" >/dev/null 2>"$shot.stderr" &
pid=$!
poll 300 'wid=$(xdotool search --onlyvisible --name "^Velmix$" | head -1); [ -n "$wid" ]' || {
    grep -v XDG_RUNTIME_DIR "$shot.stderr"
    kill -0 "$pid" || { wait "$pid"; echo "ended with $?"; }
    die "no window"
}
if [ "$way" = places ]; then
    # The main window's frame stands where the file put it (15 twips a
    # pixel). A wrong place is not tried again.
    corner() { frame "$wid" | cut -d' ' -f1,2; }
    poll 50 '[ "$(corner)" = "$want" ]' ||
        die "main window at $(corner), not $want" 3
    choose_until "$opened" alt+v t || die "no tile window"
    # Framed (the manager has set its state) and still for half a second.
    # settled window
    settled() {
        local at
        [ -z "$wm" ] || xprop -id "$1" WM_STATE | grep -q Normal || return 1
        at=$(frame "$1") && sleep 0.5 && [ "$(frame "$1")" = "$at" ]
    }
    poll 50 'settled "$tile"' || die "tile never settled"
    # Once settled, each frame's top row is on the screen and at least 100
    # pixels of its title bar.
    for w in "$wid" "$tile"; do
        read -r x y width _ < <(frame "$w")
        [ "$y" -ge 0 ] && [ "$x" -le 1180 ] && [ $((x + width)) -ge 100 ] ||
            die "title bar out of reach: $x,$y"
    done
    # As its close box does: the window manager asks it to close. Opened
    # again, it comes back where it was. (Qt never sees metacity's frame on
    # a first mapping, only on later ones: there it comes back with its
    # title bar, not its inside, where the inside was.) Asked again if a
    # busy machine lost the request.
    [ -n "$wm" ] || quit
    was=$(frame "$tile")
    for _ in 1 2 3; do
        wmctrl -i -c "$tile"
        poll 50 '[ -z "$(other)" ]' && break
    done
    [ -z "$(other)" ] || die "tile not closed"
    choose_until "$opened" alt+v t || die "tile not opened again"
    [ "$wm" = metacity ] || poll 50 '[ "$(frame "$tile")" = "$was" ]' ||
        die "tile back at $(frame "$tile"), not $was"
    quit
fi
if [ "$way" = menu ]; then
    # The picture SHOWS names (if any) shows once the window is drawn.
    poll 50 'import -window root "$shot" && { [ -z "${SHOWS:-}" ] || shows "$shot" "$SHOWS"; }'
    [ -z "${4:-}" ] || { choose_until "$opened" alt+v t &&
        xprop -id "$tile" _NET_WM_NAME | cut -d'"' -f2 >"$4"; }
    quit
fi
# Alt+E opens the edit menu: R chooses random colours, S remembers them,
# which writes the file at once.
choose_until "grep -q '^tate= 0' '$ini'" alt+e r alt+e s ||
    die "remembering wrote nothing"
# Moved after the remember: only the ending can write this place.
xdotool windowmove --sync "$wid" 123 87
import -window root "$shot"

# A change is in the file within a second; ended without a word (the display
# gone) the program keeps what it wrote before: the place moved to.
if [ "$way" = display ]; then
    poll 50 "grep -q '^MainLeft= 1845' '$ini'"
    kill "$xpid"
    # what the window system library ends it with
    want=1
else
    kill -s "$way" "$pid"
    want=$((128 + $(kill -l "$way")))
fi
poll 100 '! kill -0 "$pid"' || die "running after $way"
wait "$pid"
status=$?
[ "$status" -eq "$want" ] || die "status $status, not $want"
