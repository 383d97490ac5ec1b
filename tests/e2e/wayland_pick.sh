#!/usr/bin/env bash
# Screen colours in a Wayland session, as a user gets them: a headless sway session with the
# desktop portals, a background of #336699 and two windows of known colours.
#   - "chromint --pick --print" picks through the portal, driven by pointer clicks at three
#     places, and prints each exact colour;
#   - "From screen..." in the native Wayland client shows the still-frame picker; the
#     pointer and the arrow keys move, Enter takes the colour, Esc changes nothing; the colour
#     is read back through the clipboard;
#   - a screenshot that fails and a session without any portal each give their message and
#     change no colour.
#
#   wayland_pick.sh <chromint> <chromint_vpointer> <chromint_solid_window>
set -u
source "$(dirname "$0")/../wayland/session.sh"
wl_session_available || { echo "skipped"; exit 77; }
command -v wtype >/dev/null && command -v wl-paste >/dev/null || { echo "wtype or wl-clipboard missing: skipped"; exit 77; }

# A sanitizer build finds leaks in the Wayland client library Qt uses, which are not ours.
allow_library_leaks() {
    printf 'leak:libwayland-client.so\nleak:libQt6WaylandClient.so\n' >"$WL_WORK/lsan.supp"
    chmod 644 "$WL_WORK/lsan.supp"
    WL_RUN+=("LSAN_OPTIONS=suppressions=$WL_WORK/lsan.supp")
}

fail() { echo "FAILED: $*"; [[ -n "${WL_WORK:-}" ]] && tail -n 20 "$WL_WORK"/log/app*.log 2>/dev/null; exit 1; }

wl_session_start || fail "the Wayland session did not start"
WL_VPOINTER=$2
app=$(wl_stage_binary "$1")
allow_library_leaks
solid=$(wl_stage_binary "$3")

# A pointer device present all the time, so clients hold a pointer before the first click.
wl_spawn pointer "$(wl_stage_binary "$2")" "$WL_WIDTH" "$WL_HEIGHT" hold
wl_spawn red "$solid" '#C83C1E' red
wl_spawn green "$solid" '#1E8C3C' green
wl_wait_window red >/dev/null && wl_wait_window green >/dev/null || fail "no test windows"
wl_place red 100 100 300 200   # x 100..399, y 100..299
wl_place green 100 400 200 150 # x 100..299, y 400..549
wl_pointer_move 1000 10

# --- chromint --pick --print, through the portal's own picker --------------------------------
pick_at() { # x y: prints what the command printed, then its exit status
    local out=$WL_WORK/pick.out
    wl_run "$app" --pick --print >"$out" 2>"$WL_WORK/pick.err" &
    local pid=$! waited
    # The portal's picker takes the next click once it runs.
    for waited in $(seq 100); do pgrep -x slurp >/dev/null && break; sleep 0.1; done
    sleep 0.5
    wl_pointer_click "$1" "$2"
    wait "$pid"
    echo "$(cat "$out") $?"
}
for place in "20 700 #336699" "150 150 #C83C1E" "250 470 #1E8C3C"; do
    read -r x y expected <<<"$place"
    got=$(pick_at "$x" "$y")
    [[ "$got" == "$expected 0" ]] || fail "--pick --print at $x,$y gave '$got', expected '$expected 0' ($(cat "$WL_WORK/pick.err"))"
done

# --- "From screen..." in the program's own window --------------------------------------------
wl_spawn app "$app"
wl_wait_window org.example.qelvo.Chromint >/dev/null || fail "no main window"
sleep 1.5 # the splash goes, the main window stays
wl_place org.example.qelvo.Chromint 480 340 526 415
wl_pointer_move 700 500

key() { wl_run wtype "$@"; sleep 0.3; }
# A menu of the Color button, then keys in it. wtype brings a new keyboard with each run, and
# a new keyboard arriving while a menu is open closes the menu: the keyboard comes first.
color_menu() {
    wl_run wtype -s 900 "$@" &
    local typing=$!
    sleep 0.3
    wl_pointer_click $((480 + 483)) $((340 + 62))
    wait "$typing"
    sleep 0.3
}
copy_html() {
    color_menu -k Down -k Down -k Down -k Right -k Return # Receive, Export..., Copy > HTML
    wl_run wl-paste --no-newline 2>/dev/null
}
# Waits until a window with this title shows, up to 15 seconds.
wait_title() {
    local waited
    for waited in $(seq 150); do
        wl_swaymsg -t get_tree | jq -e --arg t "$1" '[.. | objects | select(.name? == $t)] | length > 0' >/dev/null && return 0
        sleep 0.1
    done
    return 1
}
from_screen() {
    color_menu -k Down -k Right -k Return # Receive > From screen...
    wait_title "Screen color"
    sleep 0.3
}

from_screen
wl_pointer_move 385 150 # inside the red window
# Shift+Right: 10 to the right, 395, still red; five times Right: 400, the background.
key -s 300 -M shift -k Right -m shift -k Right -k Right -k Right -k Right -k Right -k Return
sleep 0.5
got=$(copy_html)
[[ "$got" == "#336699" ]] || fail "From screen... with the arrow keys gave '$got', expected '#336699'"

from_screen
wl_pointer_move 150 150
key -s 300 -k Escape
sleep 0.5
got=$(copy_html)
[[ "$got" == "#336699" ]] || fail "Esc in the picker changed the colour to '$got'"

# A screenshot the portal cannot write: its message, and the colour stays.
if [[ ! -e /tmp/out.png ]]; then
    mkdir -m 0755 /tmp/out.png
    from_screen
    message=$(wl_swaymsg -t get_tree | jq -r '.. | objects | select(.name? == "Screen color") | .name' | head -n 1)
    rmdir /tmp/out.png
    [[ "$message" == "Screen color" ]] || fail "a failed screenshot showed no message"
    key -s 300 -k Return
    got=$(copy_html)
    [[ "$got" == "#336699" ]] || fail "a failed screenshot changed the colour to '$got'"
fi
wl_session_stop

# --- a session without any desktop portal ------------------------------------------------------
wl_session_start --no-portal || fail "the Wayland session without portals did not start"
app=$(wl_stage_binary "$1")
allow_library_leaks
wl_run "$app" --pick --print >"$WL_WORK/pick.out" 2>"$WL_WORK/pick.err"
status=$?
[[ $status -eq 1 && ! -s "$WL_WORK/pick.out" ]] || fail "--pick --print without a portal exited $status"
grep -q "no desktop portal" "$WL_WORK/pick.err" || fail "--pick --print without a portal said: $(cat "$WL_WORK/pick.err")"
wl_session_stop
echo "passed"
