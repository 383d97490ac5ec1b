#!/usr/bin/env bash
# A web developer's session: paste a CSS Color 4 colour into the code box and read the RGB
# editors, switch the box to oklch(), and find it still showing oklch() after a restart.
#
#   css_notations.sh <path to chromint>
set -u
app=$1
source "$(dirname "$0")/session.sh"

select_and_copy() { # x y of a text box
    click "$1" "$2"
    xdotool key ctrl+a ctrl+c
}
editor_text() { clipboard_after select_and_copy 372 "$1"; } # y of an editor, right column
code_box_text() { clipboard_after select_and_copy 468 398; }

start
click 468 398
xdotool key ctrl+a
xdotool type --delay 20 'oklch(70% 0.1 200)'
sleep 0.3
rgb="$(editor_text 140) $(editor_text 164) $(editor_text 188)"
[[ "$rgb" == "64 177 183" ]] || fail "oklch(70% 0.1 200) gave R G B '$rgb', expected '64 177 183'"
copied=$(copy_html)
[[ "$copied" == "#40B1B7" ]] || fail "the HTML code is '$copied', expected '#40B1B7'"

open_menu 383 398                 # the notation list beside the code box
xdotool key End Return            # its last entry: oklch()
sleep 0.3
shown=$(code_box_text)
[[ "$shown" == oklch\(* ]] || fail "the code box shows '$shown' in oklch()"
quit

start
again=$(code_box_text)
[[ "$again" == "$shown" ]] || fail "after a restart the code box shows '$again', expected '$shown'"
echo "code box: $shown"
