#!/usr/bin/env bash
# Installs what is missing, builds Chromint and starts it.
#
#   bash scripts/run.sh [arguments for chromint...]
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

bash scripts/deps.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo

exec "$ROOT/build/app/chromint" "$@"
