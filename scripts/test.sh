#!/usr/bin/env bash
# Installs what is missing, builds Chromint twice and runs every test:
#   build/       RelWithDebInfo, benchmarks built
#   build-asan/  Debug with AddressSanitizer + UndefinedBehaviorSanitizer
# When DISPLAY is not set it starts its own Xvfb and stops it on exit.
#
#   bash scripts/test.sh
#
# CHROMINT_CTEST_JOBS=N runs N tests at once (default 1: widget tests share
# one X server, its clipboard and its root window).
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

CTEST_JOBS=${CHROMINT_CTEST_JOBS:-1}
CTEST_TIMEOUT=600 # seconds, per test program case

WORK=""
XVFB_PID=""
BUS_PID=""

cleanup() {
    if [[ -n "$BUS_PID" ]] && kill -0 "$BUS_PID" 2>/dev/null; then
        kill "$BUS_PID" 2>/dev/null
        wait "$BUS_PID" 2>/dev/null
    fi
    if [[ -n "$XVFB_PID" ]] && kill -0 "$XVFB_PID" 2>/dev/null; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        echo "test: stopped Xvfb $DISPLAY (pid $XVFB_PID)"
    fi
    if [[ -n "$WORK" ]]; then
        rm -rf "$WORK"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

log() { echo "test: $*"; }

STAGES=()
RESULTS=()
record() { STAGES+=("$1"); RESULTS+=("$2"); }

WORK=$(mktemp -d -t chromint-test.XXXXXX) || { echo "test: mktemp failed" >&2; exit 1; }
mkdir -m 0700 "$WORK/runtime"
export XDG_RUNTIME_DIR="$WORK/runtime"

# Sanitizer behaviour, also for the test discovery that runs during the build.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

# --- packages ---------------------------------------------------------------
if ! bash scripts/deps.sh; then
    echo "test: FAILED installing packages" >&2
    exit 1
fi

# --- builds -----------------------------------------------------------------
build_ok=1
if bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCHROMINT_BUILD_BENCH=ON; then
    record "build (RelWithDebInfo)" ok
else
    record "build (RelWithDebInfo)" FAILED
    build_ok=0
fi

asan_ok=1
if bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DCHROMINT_SANITIZE=ON \
    -DCHROMINT_BUILD_BENCH=OFF; then
    record "build-asan (Debug, ASan+UBSan)" ok
else
    record "build-asan (Debug, ASan+UBSan)" FAILED
    asan_ok=0
fi

# --- X server ---------------------------------------------------------------
start_xvfb() {
    local n
    for n in $(seq 99 199); do
        if [[ -e "/tmp/.X11-unix/X$n" || -e "/tmp/.X$n-lock" ]]; then
            continue
        fi
        Xvfb ":$n" -screen 0 1280x1024x24 -noreset -nolisten tcp \
            >"$WORK/xvfb-$n.log" 2>&1 &
        XVFB_PID=$!
        local tries
        for tries in $(seq 1 100); do
            if ! kill -0 "$XVFB_PID" 2>/dev/null; then
                break # lost a race for this number, or failed: try the next
            fi
            if xdpyinfo -display ":$n" >/dev/null 2>&1; then
                export DISPLAY=":$n"
                log "started Xvfb $DISPLAY (pid $XVFB_PID)"
                return 0
            fi
            sleep 0.1
        done
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=""
        cat "$WORK/xvfb-$n.log" >&2
    done
    return 1
}

# The X11 tests run on X11 even when started from a Wayland desktop; the Wayland ones start
# a session of their own.
unset WAYLAND_DISPLAY XDG_SESSION_TYPE
if [[ -z "${DISPLAY:-}" ]]; then
    if ! start_xvfb; then
        echo "test: FAILED to start Xvfb" >&2
        exit 1
    fi
else
    log "using the existing display $DISPLAY"
fi

# --- session bus ------------------------------------------------------------
# A private one, so that the tests never reach a Chromint the user runs (or its portals).
start_session_bus() {
    local address="unix:path=$WORK/bus"
    dbus-daemon --session --address="$address" --nofork --nopidfile \
        >"$WORK/dbus.log" 2>&1 &
    BUS_PID=$!
    local tries
    for tries in $(seq 1 50); do
        if [[ -S "$WORK/bus" ]]; then
            export DBUS_SESSION_BUS_ADDRESS="$address"
            log "started a private session bus (pid $BUS_PID)"
            return 0
        fi
        sleep 0.1
    done
    cat "$WORK/dbus.log" >&2
    return 1
}
if ! start_session_bus; then
    echo "test: FAILED to start a session bus" >&2
    exit 1
fi

# --- tests ------------------------------------------------------------------
TOTAL_PASSED=0
TOTAL_FAILED=0

run_ctest() { # <label> <build-dir>
    local label=$1 dir=$2 out="$WORK/ctest-$2.log"
    log "running ctest in $dir"
    ctest --test-dir "$dir" --output-on-failure --no-tests=error \
        --timeout "$CTEST_TIMEOUT" -j "$CTEST_JOBS" 2>&1 | tee "$out"
    local rc=${PIPESTATUS[0]}
    # "100% tests passed, 0 tests failed out of 12"
    local line passed=0 failed=0 total=0
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$out" | tail -n 1)
    if [[ $line =~ ([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+) ]]; then
        failed=${BASH_REMATCH[1]}
        total=${BASH_REMATCH[2]}
        passed=$((total - failed))
    fi
    TOTAL_PASSED=$((TOTAL_PASSED + passed))
    TOTAL_FAILED=$((TOTAL_FAILED + failed))
    if [[ $rc -eq 0 ]]; then
        record "$label" "ok ($passed/$total passed)"
    else
        record "$label" "FAILED ($failed of $total failed, ctest exit $rc)"
    fi
}

if [[ $build_ok -eq 1 ]]; then
    run_ctest "ctest build/" build
else
    record "ctest build/" "skipped (build failed)"
fi
if [[ $asan_ok -eq 1 ]]; then
    run_ctest "ctest build-asan/" build-asan
else
    record "ctest build-asan/" "skipped (build failed)"
fi

# --- summary ----------------------------------------------------------------
status=0
echo
echo "==================== Chromint test summary ===================="
for i in "${!STAGES[@]}"; do
    printf '  %-34s %s\n' "${STAGES[$i]}" "${RESULTS[$i]}"
    if [[ "${RESULTS[$i]}" != ok* ]]; then
        status=1
    fi
done
echo "==============================================================="
if [[ $status -eq 0 ]]; then
    echo "ALL PASSED"
else
    echo "FAILURES ABOVE"
fi
echo "ctest: $TOTAL_PASSED passed, $TOTAL_FAILED failed"
exit $status
