#!/usr/bin/env bash
# Runs the fuzz targets of fuzz/ with libFuzzer, for longer than the replay tests
# (fuzz.replay.<target>) run their corpus.
#
#   bash scripts/fuzz.sh TARGET SECONDS    one target, e.g. picture_psd 600
#   bash scripts/fuzz.sh --all SECONDS     every target, SECONDS each
#   bash scripts/fuzz.sh --list            the targets
#
# CHROMINT_FUZZ_SEED fixes libFuzzer's random seed (CI uses 1, so a run can be repeated);
# unset, every run takes a new one.
#
# Configures and builds build-fuzz (clang, -DCHROMINT_FUZZ=ON) first; CHROMINT_FUZZ_BUILD_DIR
# names another folder. Each run works on a copy of fuzz/corpus/<target> in
# <build>/fuzz-runs/<target>/corpus, so what it finds never lands in the repository's corpus;
# with the target's dictionary from fuzz/dict when there is one. At the end it prints the
# executions and the coverage (libFuzzer's cov: and ft:). On a finding it prints the
# reproducer's path and exits 1: replay it with <build>/fuzz/fuzz_<target> <file>, and keep it
# as fuzz/corpus/<target>/regression-<what> once the fault is fixed.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${CHROMINT_FUZZ_BUILD_DIR:-$ROOT/build-fuzz}
RUNS=$BUILD_DIR/fuzz-runs
JOBS=${JOBS:-$(nproc)}

usage() {
    echo "usage: $0 TARGET SECONDS | --all SECONDS | --list" >&2
    exit 2
}

# The targets, as fuzz/CMakeLists.txt declares them.
mapfile -t TARGETS < <(grep -oP '^chromint_add_fuzz_target\(\K[a-z_]+' "$ROOT/fuzz/CMakeLists.txt")

[[ $# -ge 1 ]] || usage
if [[ $1 == --list ]]; then
    printf '%s\n' "${TARGETS[@]}"
    exit 0
fi
[[ $# -eq 2 && $2 =~ ^[0-9]+$ && $2 -gt 0 ]] || usage
SECONDS_EACH=$2
if [[ $1 == --all ]]; then
    SELECTED=("${TARGETS[@]}")
else
    if ! printf '%s\n' "${TARGETS[@]}" | grep -qx -- "$1"; then
        echo "fuzz: no target $1; the targets are: ${TARGETS[*]}" >&2
        exit 2
    fi
    SELECTED=("$1")
fi

for tool in clang clang++; do
    if ! command -v "$tool" >/dev/null; then
        echo "fuzz: $tool is missing; scripts/deps.sh installs it" >&2
        exit 1
    fi
done

started=$(date +%s)
CACHE=$BUILD_DIR/CMakeCache.txt
if [[ ! -f $CACHE ]] || ! grep -q '^CHROMINT_FUZZ:BOOL=ON' "$CACHE"; then
    echo "fuzz: configuring $BUILD_DIR"
    CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja --log-level=WARNING \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only" \
        -DCHROMINT_FUZZ=ON -DCHROMINT_BUILD_BENCH=OFF
fi
build_targets=()
for target in "${SELECTED[@]}"; do
    build_targets+=("fuzz_$target")
done
echo "fuzz: building ${#build_targets[@]} target(s) with $JOBS jobs"
cmake --build "$BUILD_DIR" --parallel "$JOBS" --target "${build_targets[@]}"
built=$(date +%s)
echo "fuzz: built in $((built - started)) s"

# The readers of our own must never take much memory for the few kilobytes libFuzzer gives
# them: a large allocation is itself a finding there.
limits_for() {
    case $1 in
    picture_psd | picture_psp | picture_animator) echo "-rss_limit_mb=2048 -malloc_limit_mb=256" ;;
    *) echo "-rss_limit_mb=4096" ;;
    esac
}

failed=()
summary=()
for target in "${SELECTED[@]}"; do
    work=$RUNS/$target
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/findings"
    cp -R "$ROOT/fuzz/corpus/$target/." "$work/corpus/"
    args=(-max_total_time="$SECONDS_EACH" -timeout=20 -print_final_stats=1
          -artifact_prefix="$work/findings/")
    if [[ -n ${CHROMINT_FUZZ_SEED:-} ]]; then
        args+=(-seed="$CHROMINT_FUZZ_SEED")
    fi
    read -r -a limits <<<"$(limits_for "$target")"
    args+=("${limits[@]}")
    if [[ -f $ROOT/fuzz/dict/$target.dict ]]; then
        args+=(-dict="$ROOT/fuzz/dict/$target.dict")
    fi
    echo "fuzz: $target for $SECONDS_EACH s"
    status=0
    (cd "$work" && QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 \
        "$BUILD_DIR/fuzz/fuzz_$target" "${args[@]}" corpus) >"$work/log" 2>&1 || status=$?
    last=$(grep -E '^#[0-9]+' "$work/log" | tail -n 1 || true)
    runs=$(grep -oP 'stat::number_of_executed_units:\s*\K[0-9]+' "$work/log" || echo "?")
    speed=$(grep -oP 'stat::average_exec_per_sec:\s*\K[0-9]+' "$work/log" || echo "?")
    cov=$(grep -oP 'cov: \K[0-9]+' <<<"$last" || echo "?")
    ft=$(grep -oP 'ft: \K[0-9]+' <<<"$last" || echo "?")
    corpus=$(find "$work/corpus" -type f | wc -l)
    line=$(printf '%-20s %10s runs %7s exec/s  cov: %-5s ft: %-6s corpus: %s' \
        "$target" "$runs" "$speed" "$cov" "$ft" "$corpus")
    mapfile -t findings < <(find "$work/findings" -type f | sort)
    if [[ $status -ne 0 || ${#findings[@]} -gt 0 ]]; then
        failed+=("$target")
        line+="  FINDING"
        echo "fuzz: $target found a fault (exit $status); the last lines of $work/log:" >&2
        grep -E 'ERROR|SUMMARY|broken promise|runtime error|==[0-9]+==' "$work/log" | head -n 20 >&2 || true
        # The bytes too: on a CI machine the file is gone once the run ends.
        for finding in "${findings[@]}"; do
            echo "fuzz: reproducer: $finding ($(stat -c %s "$finding") bytes, base64 below)" >&2
            head -c 4096 "$finding" | base64 >&2
        done
    fi
    echo "  $line"
    summary+=("$line")
done

ended=$(date +%s)
echo
echo "fuzz: results (${SECONDS_EACH} s each)"
printf '  %s\n' "${summary[@]}"
echo "fuzz: total $((ended - started)) s, of which building $((built - started)) s"
if [[ ${#failed[@]} -gt 0 ]]; then
    echo "fuzz: findings in ${failed[*]}" >&2
    exit 1
fi
