#!/usr/bin/env bash
# Configures and builds one build folder with Ninja.
#
#   bash scripts/build.sh <build-dir> [extra cmake arguments...]
#
# Relative build folders are taken from the repository root.
set -euo pipefail

if [[ $# -lt 1 ]]; then
    echo "usage: $0 <build-dir> [cmake arguments...]" >&2
    exit 2
fi

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=$1
shift
if [[ "$BUILD_DIR" != /* ]]; then
    BUILD_DIR="$ROOT/$BUILD_DIR"
fi

# A folder configured earlier with another generator cannot switch to Ninja.
CACHE="$BUILD_DIR/CMakeCache.txt"
if [[ -f "$CACHE" ]] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$CACHE"; then
    echo "build: $BUILD_DIR was configured with another generator; starting it afresh"
    rm -rf "$BUILD_DIR"
fi

JOBS=$(nproc 2>/dev/null || echo 2)

echo "build: configuring $BUILD_DIR $*"
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja --log-level=WARNING "$@"

echo "build: compiling $BUILD_DIR with $JOBS jobs"
cmake --build "$BUILD_DIR" --parallel "$JOBS"
