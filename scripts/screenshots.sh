#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Takes the screenshots of docs/screenshots (Japanese) and
# docs/screenshots/en (English) that show the colour box's context menu
# (colormenu.png), the options dialog's CSS choices (option_css.png) and the
# system information window (sysinfo.png): the real program on Xvfb with
# openbox, driven with xdotool, the screen taken with ImageMagick's import
# and cut to the windows shown.
#   scripts/screenshots.sh [BUILD_DIR]     (default: build/ci)
# Needs Xvfb, openbox, xdotool, xwininfo, xprop and ImageMagick, and the
# program built in BUILD_DIR; run it under the shared CPU lock.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/ci}" && pwd)
work=$(mktemp -d /tmp/velmix-shots.XXXXXX)
chmod 755 "$work"
xpid='' wmpid='' pid=''
# Nothing started here outlives the script, whatever ends it.
cleanup() {
    # The program may stand in a modal dialog, which a TERM would wait on.
    [ -z "$pid" ] || kill -KILL "$pid" 2>/dev/null || true
    for p in $pid $wmpid $xpid; do
        kill "$p" 2>/dev/null || true
        wait "$p" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# Runs CONDITION (shell text) every tenth of a second until it holds, at most
# N times.
poll() { # N CONDITION
    for _ in $(seq 1 "$1"); do
        eval "$2" && return 0
        sleep 0.1
    done
    return 1
}

dispfile="$work/display"
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$dispfile" >/dev/null 2>&1 &
xpid=$!
poll 100 '[ -s "$dispfile" ]'
export DISPLAY=":$(cat "$dispfile")"
openbox --sm-disable >/dev/null 2>&1 &
wmpid=$!
# Windows mapped before the manager is ready stay unmanaged.
poll 100 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window' && sleep 1
# A desktop for the system information to name, and the Japanese texts
# unless the settings file chooses English.
export XDG_CURRENT_DESKTOP=openbox LANG=C.UTF-8
unset LC_ALL LC_MESSAGES LANGUAGE

# A window's frame (as the manager draws it) on the screen: x y width height.
frame() { # window
    local ext el er et eb
    ext=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ,)
    read -r el er et eb <<<"${ext:-0 0 0 0}"
    xwininfo -id "$1" | awk -v l="$el" -v r="$er" -v t="$et" -v b="$eb" '
        /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
        /Width:/ {w = $NF} /Height:/ {h = $NF}
        END {print x - l, y - t, w + l + r, h + t + b}'
}
# The newest visible window of the program titled TITLE.
window() { # title
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n 1
}
# The program's open menu (a window the manager does not frame).
menu() {
    local w
    for w in $(xdotool search --onlyvisible --class velmix 2>/dev/null); do
        xwininfo -id "$w" | grep -q 'Override Redirect State: yes' && { echo "$w"; return; }
    done
}
# The screen cut to the rectangle that holds every given "x y w h".
shoot() { # file "x y w h"...
    local file=$1 l=100000 t=100000 r=0 b=0 x y w h
    shift
    for rect in "$@"; do
        read -r x y w h <<<"$rect"
        l=$((x < l ? x : l)) t=$((y < t ? y : t))
        r=$((x + w > r ? x + w : r)) b=$((y + h > b ? y + h : b))
    done
    sleep 0.5
    import -window root "$work/screen.png"
    convert "$work/screen.png" -crop "$((r - l))x$((b - t))+$l+$t" +repage "$file"
    echo "$file: $((r - l)) x $((b - t))"
}

for lang in ja en; do
    out="$root/docs/screenshots"
    [ "$lang" = en ] && out="$out/en"
    prog="$work/$lang/velmix"
    mkdir -p "$prog" "$work/$lang/home"
    cp "$build/lib/velmix/velmix" "$prog/"
    cp -r "$build/lib/velmix/help" "$prog/"
    # The main window at the screen's corner, a CSS rule for a hero box
    # that repeats one way, the language.
    {
        printf '[IniCheck]\nDummy=1\n[Option]\nMainLeft=0\nMainTop=0\n'
        printf 'CssSelector=.hero\nCssRepeat=axis\n'
        [ "$lang" = en ] && printf 'Language=en\n'
    } >"$prog/velmix.ini"
    HOME="$work/$lang/home" "$prog/velmix" >/dev/null 2>&1 &
    pid=$!
    poll 300 'wid=$(window Velmix); [ -n "$wid" ]'
    sleep 1
    xdotool windowactivate "$wid" 2>/dev/null || true; sleep 0.5
    read -r mx my mw mh < <(frame "$wid")

    # 1. The second colour box's context menu, by its right button.
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    xdotool mousemove --sync $((X + 369)) $((Y + 72)) click 3
    poll 50 'm=$(menu); [ -n "$m" ]'
    read -r ux uy uw uh < <(frame "$m")
    shoot "$out/colormenu.png" "$mx $my $mw $mh" "$ux $uy $uw $uh"
    xdotool key Escape
    sleep 0.5

    # 2. The options dialog of the CSS copy (File, Copy as CSS).
    xdotool windowactivate "$wid" 2>/dev/null || true; sleep 0.5
    xdotool key --window "$wid" alt+f
    sleep 0.5
    xdotool key s
    poll 50 'o=$(xdotool getactivewindow); [ "$o" != "$wid" ]'
    sleep 1
    shoot "$out/option_css.png" "$(frame "$o")"
    xdotool key Escape
    sleep 0.5

    # 3. The system information window, from the about box (Help, About,
    # then its button).
    xdotool windowactivate "$wid" 2>/dev/null || true; sleep 0.5
    xdotool key --window "$wid" alt+h
    sleep 0.5
    xdotool key a
    poll 50 'about=$(xdotool getactivewindow); [ "$about" != "$wid" ]'
    sleep 0.5
    xdotool key alt+s
    poll 50 'info=$(xdotool getactivewindow); [ "$info" != "$about" ]'
    sleep 1
    shoot "$out/sysinfo.png" "$(frame "$info")"
    xdotool key Escape
    sleep 0.5
    xdotool key Escape
    sleep 0.5
    kill -KILL "$pid"
    wait "$pid" 2>/dev/null || true
    pid=''
done
