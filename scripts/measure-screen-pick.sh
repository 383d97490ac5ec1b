#!/usr/bin/env bash
# Measures the still-frame picker in a headless Wayland session with one 1920 x 1080 output:
# the time from the command to the picker on the screen (the portal's screenshot included),
# one magnifier redraw at 8x, and the processor time the picker uses while it waits with a
# still pointer. Needs a build with benchmarks (bash scripts/test.sh or scripts/run.sh).
#
#   bash scripts/measure-screen-pick.sh [build-dir]
set -u
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${1:-$ROOT/build}
source "$ROOT/tests/wayland/session.sh"
wl_session_available || exit 1
WL_SESSION_WIDTH=1920 WL_SESSION_HEIGHT=1080 wl_session_start || exit 1
WL_VPOINTER=$BUILD/tests/wayland/chromint_vpointer
wl_spawn pointer "$(wl_stage_binary "$WL_VPOINTER")" "$WL_WIDTH" "$WL_HEIGHT" hold

bench=$(wl_stage_binary "$BUILD/bench/screen_pick_bench")
wl_run env QT_QPA_PLATFORM=wayland "$bench" --benchmark_min_time=0.5 2>/dev/null |
    grep -E '^(Benchmark|BM_)'

# The program's own "From screen...", then five seconds with a still pointer.
app=$(wl_stage_binary "$BUILD/app/chromint")
wl_spawn app "$app"
wl_wait_window chromint >/dev/null || { echo "no main window"; exit 1; }
sleep 1
wl_place chromint 400 300 526 415
wl_run wtype -s 900 -k Down -k Right -k Return &
sleep 0.3
wl_pointer_click $((400 + 483)) $((300 + 62))
wait $!
sleep 1.5
pid=$(pgrep -f -n "$WL_WORK/bin/chromint$")
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
before=$(ticks)
sleep 5
after=$(ticks)
hz=$(getconf CLK_TCK)
echo "processor time of the waiting picker over 5 s: $(( (after - before) * 1000 / hz )) ms"
wl_run wtype -k Escape
wl_session_stop
