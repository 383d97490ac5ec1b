#!/usr/bin/env bash
# Start-up, memory, idle and exit figures of the real program beside a bare Qt 6 window of the
# same size: the median of 10 runs of each, each with a fresh settings folder, on the X server
# in DISPLAY (or an own Xvfb when none is set).
#
#   bash scripts/measure-startup.sh [build folder, default build]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${1:-$ROOT/build}
probe=$BUILD/bench/startup_probe
app=$BUILD/app/chromint
bare=$BUILD/bench/bare_qt_window
[[ -x $probe && -x $app && -x $bare ]] || { echo "build first: bash scripts/build.sh build"; exit 1; }

xvfb=""
if [[ -z "${DISPLAY:-}" ]]; then
    export DISPLAY=:$((90 + RANDOM % 9))
    Xvfb "$DISPLAY" -screen 0 1920x1080x24 -noreset -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill $xvfb 2>/dev/null' EXIT
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi

work=$(mktemp -d)
median() { sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }
measure() { # <label> <program>
    local results=$work/results-$1 run
    for run in $(seq 10); do
        export XDG_CONFIG_HOME=$work/config-$1-$run
        "$probe" 526 415 "$2" >>"$results"
    done
    field() { cut -d' ' -f"$1" "$results" | median; }
    echo "$1:"
    echo "  first window mapped:        $(field 1) ms (median of 10)"
    echo "  main window mapped:         $(field 2) ms"
    echo "  resident memory (RSS) 2 s after:     $(( $(field 3 | cut -d. -f1) / 1024 )) MiB ($(field 3) KiB)"
    echo "  proportional memory (PSS) 2 s after: $(( $(field 5 | cut -d. -f1) / 1024 )) MiB ($(field 5) KiB)"
    echo "  CPU while idle over 3 s:    $(field 4) ms"
    echo "  exit after the window closed: $(field 6) ms"
}
measure chromint "$app"
measure "bare Qt 6 window" "$bare"
rm -rf "$work"
