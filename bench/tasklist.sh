#!/usr/bin/env bash
# The task list with 10,000 tasks under a virtual display: the time to open
# the project and show its list, and the time per scroll step. Builds
# nothing: build first (the tasklist_bench target).
#
# Usage: bench/tasklist.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/config/Quenmar"
printf '[Software\\Quenmar\\Lark]\nFirstStart=0\n' > "$work/config/Quenmar/Lark.conf"
XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bin/tasklist_bench" "$work"
echo "(target: the list shown in under 1000 ms, scroll steps without stalls)"
