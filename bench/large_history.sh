#!/bin/sh
# Wall time and peak memory of the program's heavy steps on the largest
# history it takes (32,767 draws) with 1000 combinations, each step in its own
# process: kazuban-cli check (start-up, loading, full recalculation), totals
# (tab 1), predraw (tab 4), and the window's start-up until it is idle.
#
#   bench/large_history.sh BUILD_DIR
#
# BUILD_DIR holds cli/kazuban-cli and, when built with Qt, src/ui/kazuban.
# Needs /usr/bin/time (GNU time). The window runs on Qt's offscreen platform.
set -eu

build=${1:?usage: large_history.sh BUILD_DIR}
build=$(cd "$build" && pwd)
cli=$build/cli/kazuban-cli
window=$build/src/ui/kazuban
data=$(mktemp -d "${TMPDIR:-/tmp}/kazuban-large-XXXXXX")
window_pid=
cleanup() {
    if [ -n "$window_pid" ]; then kill "$window_pid" 2>/dev/null || true; fi
    rm -rf "$data"
}
trap cleanup EXIT INT TERM

# 32,767 draws (five distinct main numbers ascending, a bonus apart from
# them) and 1000 combinations, repeatable.
awk -v draws=32767 -v combos=1000 -v dir="$data" 'BEGIN {
    srand(32767)
    printf "kai=numbers\r\n" > dir "/atarimgrp.txt"
    for (d = 1; d <= draws; d++) {
        pick(6)
        line = d "="
        for (k = 1; k <= 6; k++) line = line (k > 1 ? "," : "") sprintf("%2d", v[k])
        printf "%s\r\n", line > dir "/atarimgrp.txt"
    }
    for (c = 1; c <= combos; c++) {
        pick(5)
        line = ""
        for (k = 1; k <= 5; k++) line = line (k > 1 ? "," : "") sprintf("%2d", v[k])
        printf "%s\r\n", line > dir "/combos.txt"
    }
    printf "[ Kazuban ]\r\nYour editor=\r\nYour data dirctory=\r\nYour calcsoft=\r\nYour browser=\r\n" > dir "/Kazuban.ini"
}
# Draws n distinct numbers 1..31 into v[1..n]; the first five sorted ascending.
function pick(n,    i, j, x, used) {
    split("", used)
    for (i = 1; i <= n; i++) {
        do x = int(rand() * 31) + 1; while (x in used)
        used[x] = 1
        v[i] = x
    }
    for (i = 2; i <= 5; i++)
        for (j = i; j > 1 && v[j - 1] > v[j]; j--) { x = v[j]; v[j] = v[j - 1]; v[j - 1] = x }
}'

printf '%-34s %10s %10s %12s\n' "step (32767 draws, 1000 combos)" "wall s" "cpu s" "peak RSS MB"
measure() {
    name=$1
    shift
    /usr/bin/time -f "%e %U %S %M" -o "$data/time.txt" "$@" >/dev/null 2>"$data/err.txt" ||
        { cat "$data/err.txt" >&2; exit 1; }
    read -r wall user sys kb <"$data/time.txt"
    printf '%-34s %10s %10.2f %12.1f\n' "$name" "$wall" "$(echo "$user + $sys" | bc)" "$(echo "scale=1; $kb / 1024" | bc)"
}
measure "cli check (start-up + recalc)" "$cli" --dir "$data" check "$data/combos.txt"
measure "cli totals (tab 1)" "$cli" --dir "$data" totals "$data/combos.txt"
measure "cli predraw (tab 4)" "$cli" --dir "$data" predraw

# The window: started in the data folder; it is taken as started once its CPU
# time has not grown for two seconds. Time to idle, CPU time and peak RSS.
if [ -x "$window" ]; then
    ticks=$(getconf CLK_TCK)
    start=$(date +%s.%N)
    (cd "$data" && QT_QPA_PLATFORM=offscreen exec "$window") >/dev/null 2>&1 &
    window_pid=$!
    last=-1
    busy_until=$start
    quiet=0
    while [ "$quiet" -lt 20 ] && kill -0 "$window_pid" 2>/dev/null; do
        sleep 0.1
        cpu=$(awk '{ print $14 + $15 }' "/proc/$window_pid/stat")
        if [ "$cpu" != "$last" ]; then
            last=$cpu
            busy_until=$(date +%s.%N)
            quiet=0
        else
            quiet=$((quiet + 1))
        fi
    done
    peak=$(awk '/^VmHWM:/ { print $2 }' "/proc/$window_pid/status")
    kill "$window_pid"
    wait "$window_pid" 2>/dev/null || true
    window_pid=
    printf '%-34s %10.2f %10.2f %12.1f\n' "window start-up (until idle)" \
        "$(echo "$busy_until - $start" | bc)" "$(echo "scale=2; $last / $ticks" | bc)" "$(echo "scale=1; $peak / 1024" | bc)"
else
    echo "window start-up: not measured ($window not built)"
fi
