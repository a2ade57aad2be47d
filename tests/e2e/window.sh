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
    if [ -z "$wid" ]; then
        echo "no window"
        kill "$pid"
        exit 1
    fi
    sleep 1
}
