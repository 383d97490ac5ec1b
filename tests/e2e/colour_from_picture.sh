#!/usr/bin/env bash
# Colours from a picture with the real program: "From image...", open a PNG through the file
# dialog, choose 5 colours, "Done", and the main window shows the chosen colour; after Exit
# the picture's folder and the recent-files list are in the settings.
#
#   colour_from_picture.sh <path to chromint>
set -u
app=$1
source "$(dirname "$0")/session.sh"

# A 40 x 30 PNG of one colour, #12AB34, so every sample is that colour.
picture="$work/flat green.png"
base64 -d >"$picture" <<'PNG'
iVBORw0KGgoAAAANSUhEUgAAACgAAAAeCAIAAADRv8uKAAAAK0lEQVR42u3NMQ0AAAgDsGlAC64xiQw4mvRvavpE
xGKxWCwWi8VisVj8N16S9GnthiqgDgAAAABJRU5ErkJggg==
PNG

start
open_menu 483 62                          # the "Color" button
xdotool key Down Right Down Return        # Receive > From image... (below From screen...)
image_window=$(wait_window 'Color from image')
[[ -n "$image_window" ]] || fail "the picture window did not open"

xdotool windowfocus --sync "$image_window"
xdotool key ctrl+o
open_window=$(wait_window 'Open')
[[ -n "$open_window" ]] || fail "the file dialog did not open"
xdotool windowfocus --sync "$open_window"
xdotool type --delay 10 "$picture"
xdotool key Return
# Keys reach the picture window only once the modal file dialog has gone.
wait_window_gone 'Open'

# Without a window manager the focus does not return by itself.
xdotool windowfocus --sync "$image_window"
xdotool key shift+Tab                     # from the list or the picture to the number box
xdotool key ctrl+a
xdotool type --delay 20 "5"
xdotool key ctrl+c                        # "Choose"
sleep 0.5
xdotool key ctrl+Return                   # "Done"
wait_window_gone 'Color from image'

copied=$(copy_html)
[[ "$copied" == "#12AB34" ]] || fail "the main window shows '$copied', expected '#12AB34'"
quit
grep -qF "$work" "$settings_file" || fail "the picture's folder is not in the settings"
grep -qF "flat green.png" "$settings_file" || fail "the picture is not among the recent files"
echo "passed: a colour from a PNG through From image..., and its folder and name kept"
