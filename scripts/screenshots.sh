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

# poll N CONDITION, display WIDTHxHEIGHT (Xvfb as xpid), frame WINDOW.
. "$root/tests/e2e/display.sh"
display 1024x768
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wmpid=$!
# Windows mapped before the manager is ready stay unmanaged: no frames, no
# focus to follow, so without it nothing here would be right.
if ! poll 300 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"'; then
    echo "screenshots.sh: openbox did not start:" >&2
    cat "$work/openbox.log" >&2
    exit 1
fi
sleep 1
# A desktop for the system information to name, and the Japanese texts
# unless the settings file chooses English.
export XDG_CURRENT_DESKTOP=openbox LANG=C.UTF-8
unset LC_ALL LC_MESSAGES LANGUAGE

# The newest visible window of the program titled TITLE.
window() { # title
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n 1
}
# The window that has the focus once it is another than WINDOW, within ten
# seconds.
focused_other() { # window
    local f
    for _ in $(seq 1 100); do
        f=$(xdotool getactivewindow 2>/dev/null || true)
        [ -n "$f" ] && [ "$f" != "$1" ] && { echo "$f"; return 0; }
        sleep 0.1
    done
    return 1
}
# The visible window titled TITLE, waited for at most ten seconds.
titled() { # title
    timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | tail -n 1 | grep .
}
# The Japanese or the English of a text, by the language taken.
pick() { # lang ja en
    if [ "$1" = en ]; then echo "$3"; else echo "$2"; fi
}
# Stops with what was not found and the whole screen as it stood.
fail() { # text
    import -window root /tmp/velmix-screenshots-failed.png 2>/dev/null || true
    echo "screenshots.sh: $1 ($lang); the screen: /tmp/velmix-screenshots-failed.png" >&2
    exit 1
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
    # Without the time chunks, so a run that draws the same pixels leaves
    # the file as it was.
    convert "$work/screen.png" -crop "$((r - l))x$((b - t))+$l+$t" +repage \
        -define png:exclude-chunks=date,time "$file"
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
        printf 'SaveInitPath=%s/\n' "$work/$lang/home"
        [ "$lang" = en ] && printf 'Language=en\n'
    } >"$prog/velmix.ini"
    HOME="$work/$lang/home" "$prog/velmix" >/dev/null 2>&1 &
    pid=$!
    poll 300 'wid=$(window Velmix); [ -n "$wid" ]' || fail "no main window"
    poll 100 'xprop -id "$wid" _NET_FRAME_EXTENTS | grep -q =' ||
        fail "the main window has no frame: $(cat "$work/openbox.log")"
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

    # 2. The options dialog of a CSS file: Save As (Ctrl+A), a name that
    # ends in .css, then the dialog that asks for the selector and the
    # repeat. ("CSSとしてｺﾋﾟｰ" copies the rule at once, with no dialog.)
    # Cancelled, so nothing is written.
    xdotool windowactivate --sync "$wid" 2>/dev/null || true; sleep 0.5
    xdotool key ctrl+a
    focused_other "$wid" >/dev/null || fail "no save dialog"
    sleep 1
    xdotool key ctrl+a
    xdotool type --delay 50 bg.css
    xdotool key Return
    o=$(titled "$(pick "$lang" '保存のオプション' 'Save Options')") || fail "no options dialog"
    xdotool windowactivate --sync "$o" 2>/dev/null || true
    shoot "$out/option_css.png" "$(frame "$o")"
    xdotool key Escape
    sleep 0.5

    # 3. The system information window, from the about box (Help, About,
    # then its button).
    xdotool windowactivate --sync "$wid" 2>/dev/null || true; sleep 0.5
    xdotool key alt+h
    sleep 0.5
    xdotool key a
    about=$(focused_other "$wid") || fail "no about box"
    sleep 0.5
    xdotool key alt+s
    info=$(titled "$(pick "$lang" 'ｼｽﾃﾑ情報' 'System Information')") || fail "no system information"
    xdotool windowactivate --sync "$info" 2>/dev/null || true
    shoot "$out/sysinfo.png" "$(frame "$info")"
    xdotool key Escape
    sleep 0.5
    xdotool windowactivate --sync "$about" 2>/dev/null || true
    xdotool key Escape
    sleep 0.5
    kill -KILL "$pid"
    wait "$pid" 2>/dev/null || true
    pid=''
done
