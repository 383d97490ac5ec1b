# Shared steps of the end-to-end runs: sourced by each script after it sets $app.
# Starts the real program on the X server in DISPLAY with a private settings folder and
# drives it through xdotool; everything is removed again on exit.

[[ -n "${DISPLAY:-}" ]] || { echo "no X server (DISPLAY unset): skipped"; exit 77; }
for tool in xdotool xclip; do
    command -v "$tool" >/dev/null || { echo "$tool missing: skipped"; exit 77; }
done

work=$(mktemp -d -t chromint-e2e.XXXXXX)
pid=""
cleanup() {
    [[ -n "$pid" ]] && kill "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME"
settings_file="$XDG_CONFIG_HOME/Qelvo/Chromint.conf"

fail() { echo "FAILED: $*"; exit 1; }

start() {
    "$app" >"$work/log" 2>&1 &
    pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Chromint$' | head -n 1)
    [[ -n "$window" ]] || fail "no main window appeared"
    # The splash window has the same title; wait until it is gone and the main window stays.
    sleep 1
    window=$(xdotool search --onlyvisible --name '^Chromint$' | head -n 1)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    left=$X top=$Y
}

click() { # x y, relative to the window's client area
    # Without --sync: it waits for a pointer motion event, which can take seconds to come.
    xdotool mousemove $((left + $1)) $((top + $2)) sleep 0.1 click 1
    sleep 0.3
}

copy_html() {
    click 483 62                          # "Color" button opens the colour menu
    xdotool key Down Down Down Right Return # Receive, Export..., Copy > first item (HTML)
    sleep 0.5
    xclip -o -selection clipboard 2>/dev/null
}

quit() {
    click 22 21                          # the application button opens the application menu
    xdotool key Up Return                # its last item: "Exit"
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || { wait "$pid"; pid=""; return; }
        sleep 0.1
    done
    fail "the program did not end after Exit"
}

# Waits for a visible window with exactly this title and prints its id.
wait_window() {
    timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1
}
