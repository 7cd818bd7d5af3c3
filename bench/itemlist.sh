#!/usr/bin/env bash
# The Files List window over a task of 100,000 files under a virtual display:
# the time to show the list, per scroll step, and to sort. The project is made
# once (lark mirrors a generated site from nginx) and kept in the build
# folder's bench/itemlist-cache. Builds nothing: build first (the
# itemlist_bench and lark targets).
#
# Usage: bench/itemlist.sh [BUILD_DIR] [FILES]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
files=${2:-100000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/config/Quenmar"
printf '[Software\\Quenmar\\Lark]\nFirstStart=0\n' > "$work/config/Quenmar/Lark.conf"
XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/bin/itemlist_bench" "$build/bench/itemlist-cache" "$build/bin/lark" "$files"
echo "(target: the list shown in under 1000 ms, scroll steps without stalls)"
