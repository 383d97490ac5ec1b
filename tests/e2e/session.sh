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

fail() {
    echo "FAILED: $*"
    if [[ -s "$work/log" ]]; then
        echo "--- the program's output:"
        tail -n 20 "$work/log"
    fi
    exit 1
}

# Polls a command every 0.1 s for up to $1 seconds; true as soon as it succeeds. Sanitizer
# builds on a busy machine can be many times slower than usual, so waits are for a state,
# never for a fixed time.
wait_until() {
    local tries=$(($1 * 10))
    shift
    while ((tries-- > 0)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# The main window: visible, titled "Chromint", and not the splash window of the same title.
main_window() {
    local w
    for w in $(xdotool search --onlyvisible --pid "$pid" --name '^Chromint$' 2>/dev/null); do
        xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q SPLASH && continue
        echo "$w"
        return 0
    done
    return 1
}

start() {
    "$app" >"$work/log" 2>&1 &
    pid=$!
    wait_until 30 main_window >/dev/null || fail "no main window appeared"
    window=$(main_window)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    left=$X top=$Y
}

click() { # x y, relative to the window's client area
    # Without --sync: it waits for a pointer motion event, which can take seconds to come.
    xdotool mousemove $((left + $1)) $((top + $2)) sleep 0.1 click 1
    sleep 0.3
}

visible_windows() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
test_more_windows() { (($(visible_windows) > $1)); }
shows_a_window() { xdotool search --onlyvisible --pid "$1" >/dev/null 2>&1; }

# Clicks something that opens a menu or a list and waits until it is on the screen, so that
# the keys which follow reach the menu and not the window behind it.
open_menu() { # x y
    local before
    before=$(visible_windows)
    click "$1" "$2"
    wait_until 20 test_more_windows "$before" || fail "no menu opened at $1,$2"
}

# The clipboard's text once the program has put something there (empty after 20 s).
clipboard_after() { # command...
    printf '' | xclip -loops 1 -selection clipboard >/dev/null 2>&1
    "$@"
    local text=""
    for _ in $(seq 200); do
        text=$(xclip -o -selection clipboard 2>/dev/null)
        [[ -n "$text" ]] && break
        sleep 0.1
    done
    printf '%s' "$text"
}

copy_html() {
    clipboard_after _copy_html_keys
}
_copy_html_keys() {
    open_menu 483 62                        # "Color" button opens the colour menu
    xdotool key Down Down Down Right Return # Receive, Export..., Copy > first item (HTML)
}

quit() {
    open_menu 22 21                      # the application button opens the application menu
    xdotool key Up Return                # its last item: "Exit"
    # A sanitizer build checks for leaks on the way out, which takes seconds on a busy machine.
    wait_until 60 program_ended || fail "the program did not end after Exit"
    wait "$pid"
    pid=""
}

# Waits for a visible window with exactly this title and prints its id.
wait_window() {
    timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1
}

program_ended() { ! kill -0 "$pid" 2>/dev/null; }
window_gone() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null; }
titled_windows() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }
titled_exactly() { (($(titled_windows "$1") == $2)); } # title count
titled_at_least() { (($(titled_windows "$1") >= $2)); }

# Waits until no visible window has this title any more.
wait_window_gone() {
    wait_until 30 window_gone "$1" || fail "the window '$1' did not close"
}
