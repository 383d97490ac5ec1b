#!/usr/bin/env bash
# The command line as a user meets it: --help, --version and an unknown option without a
# display; a picture named on the command line opens in the picture window, a missing one
# gives that window's own message, and a second invocation hands its picture to the running
# program instead of opening a second window.
#
#   command_line.sh <path to chromint>
set -u
app=$1
source "$(dirname "$0")/session.sh"

env -u DISPLAY "$app" --help >"$work/help" 2>&1 || fail "--help exited $?"
grep -q "^Usage: chromint" "$work/help" || fail "--help printed: $(head -n 2 "$work/help")"
version=$(env -u DISPLAY "$app" --version) || fail "--version exited $?"
[[ "$version" =~ ^chromint\ [0-9]+\.[0-9]+\.[0-9]+ ]] || fail "--version printed '$version'"
env -u DISPLAY "$app" --frobnicate >"$work/out" 2>"$work/err"
status=$?
[[ $status -eq 2 && ! -s "$work/out" ]] || fail "an unknown option exited $status"
grep -q "^chromint: Unknown option 'frobnicate'" "$work/err" || fail "an unknown option said: $(cat "$work/err")"

convert_png() { # path: a 4 x 4 picture
    printf 'P3 4 4 255\n%s\n' "$(printf '18 52 86 %.0s' $(seq 16))" >"$work/pic.ppm"
    cp "$work/pic.ppm" "$1"
}
picture=$work/photo.ppm
convert_png "$picture"

picture_window() { timeout 30 xdotool search --sync --onlyvisible --name '^Color from image$' | head -n 1; }
close_picture_window() {
    xdotool windowfocus --sync "$1"
    xdotool key Escape
    sleep 0.5
}

# A picture on the command line.
"$app" "$picture" >"$work/log" 2>&1 &
pid=$!
shown=$(picture_window)
[[ -n "$shown" ]] || fail "no picture window for a picture on the command line"
close_picture_window "$shown"
wait_until 30 main_window >/dev/null || fail "no main window after the picture window"
eval "$(xdotool getwindowgeometry --shell "$(main_window)")"
left=$X top=$Y
quit
grep -q "photo.ppm" "$settings_file" || fail "the picture is not among the recent files"

# A missing picture: the picture window says so itself.
"$app" "$work/missing.png" >"$work/log" 2>&1 &
pid=$!
shown=$(picture_window)
[[ -n "$shown" ]] || fail "no picture window for a missing picture"
wait_until 30 titled_at_least Chromint 2 || fail "no message for a missing picture"
xdotool key Return
wait_until 30 titled_exactly Chromint 1 || fail "the message did not close with Enter"
close_picture_window "$shown"
wait_until 30 main_window >/dev/null || fail "no main window after the picture window"
eval "$(xdotool getwindowgeometry --shell "$(main_window)")"
left=$X top=$Y
quit

# A second invocation hands its picture to the running program.
if [[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ]]; then
    start
    first=$pid
    timeout 10 "$app" "$picture" >"$work/second.log" 2>&1 || fail "the second invocation exited $?"
    shown=$(picture_window)
    [[ -n "$shown" ]] || fail "the running program did not open the handed-over picture"
    [[ "$(xdotool getwindowpid "$shown")" == "$first" ]] || fail "a second program opened the picture"
    close_picture_window "$shown"
    quit
fi
echo "passed: --help, --version, an unknown option, pictures on the command line and handed over"
