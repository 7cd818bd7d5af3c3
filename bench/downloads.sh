#!/usr/bin/env bash
# Runs the download benchmark (the engine's HTTP jobs against the curl command
# on a local nginx) from a build folder and prints its table. Builds nothing:
# build first with scripts/build (or SITELARK_BUILD_DIR=... scripts/build).
#
# Usage: bench/downloads.sh [BUILD_DIR] [--connections N]
#   BUILD_DIR defaults to build/ in the repository.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
if [[ $# -gt 0 && $1 != --* ]]; then
    build=$1
    shift
fi
program=$build/bin/download_bench
if [[ ! -x $program ]]; then
    echo "downloads.sh: $program not found; build it first (scripts/build)" >&2
    exit 2
fi
exec "$program" "$@"
