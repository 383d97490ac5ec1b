#!/usr/bin/env bash
# A user's session with the real program on the X server in DISPLAY: type colours into the
# code box, copy one as HTML, read the clipboard while the program runs, add three to the
# favourites, quit through the application menu, start again and find the same colour and
# the three favourites in order; then take screen colours with Alt+X and "From screen...".
#
#   copy_and_restart.sh <path to chromint>
set -u
app=$1
source "$(dirname "$0")/session.sh"

type_colour() {
    click 468 398                         # the code box
    xdotool key ctrl+a
    xdotool type --delay 20 "$1"
    sleep 0.3
}

add_to_favourites() {
    open_menu 483 62
    xdotool key Down Down Down Down Return # Receive, Export..., Copy, Add to favourites
    sleep 0.3
}

favourite_html() { # cell index
    click $((6 + 19 * $1 + 9)) 378
    copy_html
}

start
for colour in '#FF8000' '#4682B4' '#123456'; do
    type_colour "$colour"
    add_to_favourites
done
copied=$(copy_html)
[[ "$copied" == "#123456" ]] || fail "clipboard holds '$copied', expected '#123456'"
quit
[[ -s "$settings_file" ]] || fail "no settings file was written"

start
copied=$(copy_html)
[[ "$copied" == "#123456" ]] || fail "after a restart the colour is '$copied', expected '#123456'"

# Alt+X anywhere on the desktop takes the pixel under the pointer.
if command -v xsetroot >/dev/null; then
    xsetroot -solid '#3366CC'
    xdotool mousemove --sync 3 3
    xdotool key alt+x
    sleep 0.5
    copied=$(copy_html)
    [[ "$copied" == "#3366CC" ]] || fail "Alt+X over the desktop gave '$copied', expected '#3366CC'"

    # "From screen...": the picker window follows the pointer; Ctrl+Shift+X takes the colour
    # and brings the main window back, and Alt+X works again afterwards.
    open_menu 483 62
    xdotool key Down Right Return         # Receive > From screen...
    sleep 1
    xsetroot -solid '#CC6633'
    xdotool mousemove --sync 4 4
    sleep 0.5
    xdotool key ctrl+shift+x
    wait_until 30 main_window >/dev/null || fail "the main window did not come back after From screen..."
    copied=$(copy_html)
    [[ "$copied" == "#CC6633" ]] || fail "From screen... gave '$copied', expected '#CC6633'"
    xsetroot -solid '#3366CC'
    xdotool mousemove --sync 3 3
    xdotool key alt+x
    sleep 0.5
    copied=$(copy_html)
    [[ "$copied" == "#3366CC" ]] || fail "Alt+X after From screen... gave '$copied'"

    # "chromint --pick" from a script or a desktop shortcut: a click on the still frame of
    # the desktop prints the colour, or makes it current in the running program.
    if [[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ]]; then
        xsetroot -solid '#5A7D2C'
        xdotool mousemove --sync 6 6
        "$app" --pick --print >"$work/pick.out" 2>"$work/pick.err" &
        picker=$!
        wait_until 30 shows_a_window "$picker" || fail "--pick --print showed no still frame"
        sleep 0.5
        xdotool click 1
        wait "$picker" || fail "--pick --print failed: $(cat "$work/pick.err")"
        [[ "$(cat "$work/pick.out")" == "#5A7D2C" ]] || fail "--pick --print gave '$(cat "$work/pick.out")'"
        before=$(visible_windows)
        "$app" --pick || fail "--pick did not reach the running program"
        wait_until 30 test_more_windows "$before" || fail "--pick showed no still frame"
        sleep 0.5
        xdotool key Return
        sleep 0.5
        copied=$(copy_html)
        [[ "$copied" == "#5A7D2C" ]] || fail "--pick made '$copied' current, expected '#5A7D2C'"
    fi
    xsetroot -solid black
fi
index=0
for expected in '#123456' '#4682B4' '#FF8000'; do
    got=$(favourite_html $index)
    [[ "$got" == "$expected" ]] || fail "favourite $index is '$got', expected '$expected'"
    index=$((index + 1))
done
quit
echo "passed: copy as HTML, three favourites and the colour kept over a restart, Alt+X and From screen..."
