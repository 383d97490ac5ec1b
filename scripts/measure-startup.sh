#!/usr/bin/env bash
# Start-up and idle figures of the real program: the median of 10 runs, each with a fresh
# settings folder, on the X server in DISPLAY (or an own Xvfb when none is set).
#
#   bash scripts/measure-startup.sh [build folder, default build]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${1:-$ROOT/build}
probe=$BUILD/bench/startup_probe
app=$BUILD/app/chromint
[[ -x $probe && -x $app ]] || { echo "build first: bash scripts/build.sh build"; exit 1; }

xvfb=""
if [[ -z "${DISPLAY:-}" ]]; then
    export DISPLAY=:$((90 + RANDOM % 9))
    Xvfb "$DISPLAY" -screen 0 1920x1080x24 -noreset -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill $xvfb 2>/dev/null' EXIT
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi

work=$(mktemp -d)
results=$work/results
for run in $(seq 10); do
    export XDG_CONFIG_HOME=$work/config-$run
    "$probe" 526 415 "$app" >>"$results"
done
median() { sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }
echo "first window mapped: $(cut -d' ' -f1 "$results" | median) ms (median of 10)"
echo "main window mapped:  $(cut -d' ' -f2 "$results" | median) ms"
echo "resident memory 2 s after: $(( $(cut -d' ' -f3 "$results" | median | cut -d. -f1) / 1024 )) MiB"
echo "CPU while idle over 3 s: $(cut -d' ' -f4 "$results" | median) ms"
rm -rf "$work"
