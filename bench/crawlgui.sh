#!/usr/bin/env bash
# The GUI thread's load while the program crawls the crawl benchmark's site
# (bench/crawl-site.py, 10,000 pages) at full speed in its main window, beside
# lark mirror on the same site: each run prints the GUI thread's CPU load, how
# late a 10 ms timer fires on it, both wall times, then the files each stored.
# Builds nothing: build first (the crawlgui_bench and lark targets); nginx,
# xvfb-run and sqlite3 come from `scripts/setup bench`.
#
# Usage: bench/crawlgui.sh [BUILD_DIR] [RUNS]
#   CRAWL_FOLDERS=N (environment) makes a smaller or larger site, as for crawl.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${2:-1}
folders=${CRAWL_FOLDERS:-100}
work=$(mktemp -d "${TMPDIR:-/tmp}/crawlgui-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "generating the site ($folders folders of 100 pages) ..."
read -r files pages _ < <(/usr/bin/python3 "$root/bench/crawl-site.py" "$work/site" "$folders")
echo "site: $files files, $pages pages; $(nproc) cores"
stored() { sqlite3 "$1" "SELECT count(*) FROM UrlRes WHERE State=2 AND StatusCode=200"; }
for run in $(seq "$runs"); do
    echo "run $run:"
    rm -rf "$work/run" "$work/config"
    mkdir -p "$work/run" "$work/config/Quenmar"
    printf '[Software\\Quenmar\\Lark]\nFirstStart=0\n' > "$work/config/Quenmar/Lark.conf"
    XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1280x1024x24" \
        "$build/bin/crawlgui_bench" "$work/site" "$build/bin/lark" "$work/run"
    echo "files stored (status 200): program $(stored "$work/run/program.slk"), lark $(stored "$work/run/lark.slk")"
done
echo "(wanted: GUI thread load well under 30 %, no stall over 100 ms)"
