#!/usr/bin/env bash
# Whole-site crawl benchmark: lark against wget and httrack on one generated
# site served by a local nginx. It generates a site of 10,000 pages in 100
# folders (about 26,000 files: pages, per-page and shared GIF/PNG images, one
# style sheet per folder and 1,000 images referenced only from inside those
# style sheets), serves it on 127.0.0.1, mirrors it with each tool from the
# same start address with unlimited depth on the host, and prints for each
# tool the wall time, user+sys CPU, peak RSS, files and pages stored and CPU
# milliseconds per page, the size of lark's project file per page and per
# file, then how many of the style-sheet-only images each one stored. Then
# each copy is made browsable from disk (lark export of the task; wget
# mirrors again with --convert-links, which reports its conversion time;
# httrack's copy is relative already) and every link of every HTML file is
# checked from disk (bench/check-links.py). Builds nothing: build lark first
# (scripts/build); wget, httrack, nginx and GNU time come from
# `scripts/setup bench`.
#
# Usage: bench/crawl.sh [BUILD_DIR]
#   BUILD_DIR defaults to build/ in the repository.
#   CRAWL_FOLDERS=N (environment) makes a smaller or larger site: N folders of
#   100 pages each (default 100). CRAWL_TOOLS="lark wget httrack" (default)
#   picks the tools; CRAWL_TIMEOUT=S stops a tool after S seconds (default
#   1800); CRAWL_KEEP=1 keeps the temporary folder and its logs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
lark=$build/bin/lark
folders=${CRAWL_FOLDERS:-100}
connections=8
limit=${CRAWL_TIMEOUT:-1800}
tools=" ${CRAWL_TOOLS:-lark wget httrack} "

die() {
    echo "crawl.sh: $*" >&2
    exit 2
}
[[ -x $lark ]] || die "$lark not found; build it first (scripts/build)"
for tool in /usr/sbin/nginx /usr/bin/python3 /usr/bin/time sqlite3 ${tools/ lark / }; do  # the peers asked for
    command -v "$tool" >/dev/null || die "$tool not found; run scripts/setup bench"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/crawl-bench.XXXXXX")
nginx_pid=
cleanup() {
    if [[ -n $nginx_pid ]]; then
        kill "$nginx_pid" 2>/dev/null || true
        wait "$nginx_pid" 2>/dev/null || true
    fi
    if [[ -n ${CRAWL_KEEP:-} ]]; then
        echo "kept $work"
    else
        rm -rf "$work"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# ---- The site --------------------------------------------------------------
# The generator (bench/crawl-site.py) describes the site.
site=$work/site
mkdir -p "$site"
echo "generating the site ($folders folders of 100 pages) ..."
/usr/bin/python3 "$root/bench/crawl-site.py" "$site" "$folders" >"$work/site.counts"
read -r site_files site_pages site_css_images <"$work/site.counts"
echo "site: $site_files files, $site_pages pages, $site_css_images images named only in style sheets"

# ---- nginx -----------------------------------------------------------------
ngx=$work/nginx
mkdir -p "$ngx"
free_port() {
    /usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
port_open() {
    /usr/bin/python3 -c 'import socket, sys; socket.create_connection(("127.0.0.1", int(sys.argv[1])), 1).close()' "$1" \
        2>/dev/null
}
start_nginx() {
    port=$(free_port)
    {
        echo "daemon off;"
        echo "worker_processes 2;"
        # Workers of a master run as root switch to "nobody", who cannot read a private temporary folder.
        [[ $(id -u) -eq 0 ]] && echo "user root;"
        echo "pid \"$ngx/nginx.pid\";"
        echo "lock_file \"$ngx/nginx.lock\";"
        echo "error_log \"$ngx/error.log\" warn;"
        echo "events { worker_connections 1024; }"
        echo "http {"
        [[ -f /etc/nginx/mime.types ]] && echo "    include /etc/nginx/mime.types;"
        echo "    default_type application/octet-stream;"
        echo "    access_log off;"
        for kind in client_body proxy fastcgi uwsgi scgi; do
            echo "    ${kind}_temp_path \"$ngx/$kind\";"
        done
        echo "    server {"
        echo "        listen 127.0.0.1:$port;"
        echo "        server_name localhost;"
        echo "        root \"$site\";"
        echo "    }"
        echo "}"
    } >"$ngx/nginx.conf"
    rm -f "$ngx/nginx.pid" "$ngx/error.log"
    /usr/sbin/nginx -p "$ngx/" -c "$ngx/nginx.conf" -e "$ngx/error.log" >"$ngx/stderr.log" 2>&1 &
    nginx_pid=$!
    # nginx writes its pid file once its port is bound.
    for _ in $(seq 200); do
        kill -0 "$nginx_pid" 2>/dev/null || break
        [[ -f $ngx/nginx.pid ]] && port_open "$port" && return 0
        sleep 0.05
    done
    wait "$nginx_pid" 2>/dev/null || true
    nginx_pid=
    return 1
}
started=
for _ in 1 2 3 4 5; do
    if start_nginx; then
        started=1
        break
    fi
    grep -q "Address already in use" "$ngx/error.log" "$ngx/stderr.log" 2>/dev/null ||
        die "nginx did not start: $(cat "$ngx/error.log" "$ngx/stderr.log" 2>/dev/null)"
done
[[ -n $started ]] || die "nginx found no free port"
url=http://127.0.0.1:$port/
echo "serving on $url"

# ---- The crawls --------------------------------------------------------------
# Each row: tool, connections, wall s, user+sys s, peak RSS MB, files, pages, CPU ms/page, css-only images.
rows=()
notes=()
# measure NAME COMMAND...: runs COMMAND under GNU time (stopped after $limit
# seconds), its output in $work/NAME.log.
measure() {
    local name=$1
    shift
    echo "running $name ..."
    local status=0
    /usr/bin/time -f "%e %U %S %M" -o "$work/$name.time" timeout --foreground "$limit" "$@" </dev/null \
        >"$work/$name.log" 2>&1 || status=$?
    if [[ $status -eq 124 ]]; then
        notes+=("$name was stopped after $limit s: its counts are partial.")
        echo "  $name stopped after $limit s; the last lines of its output:"
    elif [[ $status -ne 0 ]]; then
        notes+=("$name exited with status $status.")
        echo "  $name exited with status $status; the last lines of its output:"
    fi
    [[ $status -eq 0 ]] || tail -n 5 "$work/$name.log" | sed 's/^/    /'

    # GNU time writes "Command exited with non-zero status N" before its line when the command fails.
    read -r wall user sys rss < <(tail -n 1 "$work/$name.time")
}
add_row() {
    local name=$1 conns=$2 files=$3 pages=$4 css=$5
    local cpu
    cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')
    rows+=("$(awk -v n="$name" -v c="$conns" -v w="$wall" -v cpu="$cpu" -v rss="$rss" -v f="$files" -v p="$pages" \
        -v css="$css" 'BEGIN {
            printf "%s|%s|%.2f|%.2f|%.1f|%d|%d|%s|%d", n, c, w, cpu, rss / 1024, f, p,
                (p > 0 ? sprintf("%.3f", cpu * 1000 / p) : "-"), css }')")
}

# lark stores everything in one project file.
if [[ $tools == *" lark "* ]]; then
    project=$work/lark.slk
    measure lark "$lark" mirror "$url" -o "$project" --depth 100 --connections "$connections" \
        --per-server "$connections"
    done_rows="FROM UrlRes WHERE State=2 AND StatusCode=200"
    lark_files=$(sqlite3 "$project" "SELECT count(*) $done_rows" 2>/dev/null || echo 0)
    lark_pages=$(sqlite3 "$project" "SELECT count(*) $done_rows AND ContentType LIKE 'text/html%'" 2>/dev/null || echo 0)
    lark_css=$(sqlite3 "$project" "SELECT count(*) $done_rows AND Url LIKE '%/bg/%'" 2>/dev/null || echo 0)
    add_row lark "$connections" "$lark_files" "$lark_pages" "$lark_css"
    project_bytes=$(stat -c %s "$project")
fi

# wget fetches over one connection at a time.
if [[ $tools == *" wget "* ]]; then
    out=$work/wget
    measure wget wget --mirror --no-parent -nv --page-requisites -e robots=off "$url" -P "$out"
    add_row wget 1 "$(find "$out" -type f | wc -l)" "$(find "$out" -type f -name '*.html' | wc -l)" \
        "$(find "$out" -type f -path '*/bg/*' | wc -l)"
fi

# httrack: robots.txt ignored, the host never abandoned, keep-alive on, and its
# politeness limits lifted: -%! (security limits), -%c0 (connections per
# second) and -A0 (transfer rate). All three are needed: without any one of
# them it paces itself to a few files a second. Its mirror lies in a folder named
# after the host; its own files (hts-cache/, hts-log.txt, index.html and its
# images) lie at the top of the output folder and are not counted.
mirror_files() { find "$out" -mindepth 2 -type f -not -path "$out/hts-cache/*" "$@"; }
if [[ $tools == *" httrack "* ]]; then
    out=$work/httrack
    measure httrack httrack "$url" -O "$out" -q -%v0 -%! -c"$connections" -%c0 -A0 -r100 -s0 -H0 -%k \
        -T30 -R1
    add_row httrack "$connections" "$(mirror_files | wc -l)" "$(mirror_files -name '*.html' | wc -l)" \
        "$(mirror_files -path '*/bg/*' | wc -l)"
fi

# ---- Browsable copies ----------------------------------------------------------
# Each row: tool, seconds spent making links relative, peak RSS MB of that
# step ("-" where not measured apart), then check-links.py's counts.
copies=()
add_copy() {
    copies+=("$1|$2|$3|$("$root/bench/check-links.py" "$4" "127.0.0.1:$port")")
}
if [[ $tools == *" lark "* ]]; then
    measure lark-export "$lark" export "$project" 1 "$work/lark-export"
    add_copy lark "$wall" "$(awk -v r="$rss" 'BEGIN { printf "%.1f", r / 1024 }')" "$work/lark-export"
fi
if [[ $tools == *" wget "* ]]; then
    measure wget-k wget --mirror --no-parent --page-requisites --convert-links -e robots=off "$url" \
        -P "$work/wget-k"
    converted=$(sed -n 's/^Converted links in [0-9]* files in \([0-9.]*\) seconds\.$/\1/p' "$work/wget-k.log")
    add_copy wget "${converted:--}" - "$work/wget-k"
fi
if [[ $tools == *" httrack "* ]]; then
    add_copy httrack - - "$work/httrack"
fi

# ---- The table ---------------------------------------------------------------
echo
echo "Site: $site_files files, $site_pages pages (.html), $site_css_images images named only in style sheets;"
echo "nginx on 127.0.0.1, $(nproc) cores. wget has a single connection."
echo
printf '%-8s %5s %8s %10s %9s %7s %7s %9s\n' tool conns "wall s" "user+sys s" "peak MB" files pages "CPU ms/pg"
for row in "${rows[@]}"; do
    IFS='|' read -r name conns wall cpu rss files pages perpage css <<<"$row"
    printf '%-8s %5s %8s %10s %9s %7s %7s %9s\n' "$name" "$conns" "$wall" "$cpu" "$rss" "$files" "$pages" "$perpage"
done
if [[ -n ${project_bytes:-} ]]; then
    awk -v b="$project_bytes" -v p="$lark_pages" -v f="$lark_files" 'BEGIN {
        printf "lark project file: %.1f MB, %.1f KB per page, %.1f KB per file\n", b / 1048576,
            (p > 0 ? b / 1024 / p : 0), (f > 0 ? b / 1024 / f : 0) }'
fi
echo
line="Images named only in style sheets ($site_css_images in all) stored:"
for row in "${rows[@]}"; do
    IFS='|' read -r name _ _ _ _ _ _ _ css <<<"$row"
    line+=" $name $css,"
done
echo "${line%,}"
echo
echo "Browsable from disk: every link of every HTML file checked (resolving: a relative link to an existing file)."
printf '%-8s %10s %9s %7s %7s %9s %7s %8s %8s\n' tool "convert s" "peak MB" files links resolving broken "root-rel" "to site"
for copy in "${copies[@]}"; do
    IFS='|' read -r name seconds rss counts <<<"$copy"
    read -r files links resolving broken rootrel site <<<"$counts"
    printf '%-8s %10s %9s %7s %7s %9s %7s %8s %8s\n' "$name" "$seconds" "$rss" "$files" "$links" "$resolving" \
        "$broken" "$rootrel" "$site"
done
for note in "${notes[@]}"; do
    echo "$note"
done
