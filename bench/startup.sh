#!/usr/bin/env bash
# Start-up time of the desktop program to a usable main window with a project
# open, under a virtual display: a project of a small crawled site, five runs,
# each run's milliseconds and the median. Builds nothing: build first.
#
# Usage: bench/startup.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/site" "$work/config/Quenmar"
for k in $(seq 1 50); do
    echo "<html><body><h1>Page $k</h1><a href=\"p$((k % 50 + 1)).html\">next</a></body></html>" > "$work/site/p$k.html"
done
"$build/bin/lark" mirror "file://$work/site/p1.html" -o "$work/site.slk" --depth 60 > /dev/null
printf '[Software\\Quenmar\\Lark]\nFirstStart=0\n' > "$work/config/Quenmar/Lark.conf"

times=()
for run in 1 2 3 4 5; do
    ms=$(XDG_CONFIG_HOME="$work/config" xvfb-run -a "$build/bin/startup_bench" "$work/site.slk" 2>/dev/null)
    times+=("$ms")
    echo "run $run: $ms ms"
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)
echo "median: $median ms (target: under 2000 ms)"
