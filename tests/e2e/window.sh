# Sourced by the end-to-end scripts: starts a command in the background and
# waits for the main window. Sets pid and wid; exits 1 if no window comes.
#   start_and_wait COMMAND [ARGS...]
start_and_wait() {
    "$@" >/dev/null 2>&1 &
    pid=$!
    wid=""
    for _ in $(seq 1 100); do
        wid=$(xdotool search --onlyvisible --name '^Velmix$' 2>/dev/null | head -n 1 || true)
        [ -n "$wid" ] && break
        sleep 0.1
    done
    [ -n "$wid" ] || { echo "no window"; kill "$pid"; exit 1; }
    sleep 1
}

# Opens a menu of the main window with its Alt key and chooses an item by its
# letter, pairs at a time, until CONDITION holds; tried again if a busy
# machine was slow to open a menu.
#   choose_until CONDITION ALT+KEY LETTER [ALT+KEY LETTER...]
choose_until() {
    local condition=$1 k
    shift
    local keys=("$@")
    for _ in 1 2 3; do
        xdotool windowfocus --sync "$wid" 2>/dev/null || true
        for ((k = 0; k < ${#keys[@]}; k += 2)); do
            xdotool key --window "$wid" "${keys[k]}"
            sleep 0.5
            xdotool key "${keys[k + 1]}"
            sleep 0.5
        done
        for _ in $(seq 1 30); do
            eval "$condition" && return 0
            sleep 0.1
        done
        xdotool key Escape
    done
    return 1
}
