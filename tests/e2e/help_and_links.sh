#!/usr/bin/env bash
# "Help topics" opens the user guide installed with the program in the desktop's browser; with
# no browser to start, the address is shown in a message instead of nothing happening.
#
#   help_and_links.sh <path to chromint>
set -u
real_app=$1
source "$(dirname "$0")/session.sh"

# The program finds the desktop's opener (xdg-open) on its PATH: one that notes what it was
# asked to open, then none at all.
mkdir -p "$work/opener" "$work/none"
printf '#!/bin/sh\necho "$@" >> "%s/opened"\n' "$work" >"$work/opener/xdg-open"
chmod +x "$work/opener/xdg-open"
app=$work/chromint
with_path() { printf '#!/bin/sh\nPATH=%s exec "%s" "$@"\n' "$1" "$real_app" >"$app"; chmod +x "$app"; }

help_topics() {
    open_menu 22 21         # the application button opens the application menu
    xdotool key Down Return # its first item: "Help topics"
}

with_path "$work/opener"
start
help_topics
wait_until 30 test -s "$work/opened"
opened=$(head -n 1 "$work/opened" 2>/dev/null)
guide=${opened#file://}
[[ "$guide" == */share/chromint/help/index.html ]] || fail "Help topics opened '$opened'"
grep -q "Chromint user guide" "$guide" || fail "the user guide at $guide is missing or empty"
quit

with_path "$work/none"
start
help_topics
wait_until 30 titled_exactly Chromint 2 || fail "no message when no browser could be started"
xdotool key Return
wait_until 30 titled_exactly Chromint 1 || fail "the message did not close with Enter"
quit
echo "passed: the user guide opens, and a missing browser is reported with the address"
