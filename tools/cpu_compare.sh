#!/usr/bin/env bash
# What the saver costs next to XScreenSaver's gears, measured on one private
# Xvfb (1024x768) in one run: the CPU time (user + system, from
# /proc/PID/stat, every thread counted) that each program and the X server
# use over a fixed wall time after a warm-up, in a 160x120 preview window and
# full screen. Prints a markdown table; asserts nothing.
#   cpu_compare.sh [--climb] LUMENFALL [GEARS]
# GEARS defaults to /usr/libexec/xscreensaver/gears. CPU_COMPARE_WARMUP
# (default 3) and CPU_COMPARE_SECONDS (default 20) set the two spans.
# --climb measures full screen only, after the population's climb to its
# bound: lumenfall at its default cap and at --max-fps 30, each after
# CPU_COMPARE_CLIMB (default 400) seconds of warm-up, and gears after the
# ordinary warm-up. The Flyers column is lumenfall's population limit
# (MaxFlyers) at the end of the row, read by gdb from the program's symbol
# table ("n/a" without gdb or symbols).
# Frames per second come from Mesa's heads-up display, kept invisible and
# dumped to a file once a second (Gallium drivers such as llvmpipe only; "n/a"
# elsewhere). Every process started here is stopped by its id.
set -uo pipefail

usage() { echo "usage: cpu_compare.sh [--climb] LUMENFALL [GEARS]" >&2; exit 2; }
climb=
if [ "${1:-}" = --climb ]; then climb=${CPU_COMPARE_CLIMB:-400}; shift; fi
if [ $# -lt 1 ] || [ $# -gt 2 ]; then usage; fi
lumenfall=$1
gears=${2:-/usr/libexec/xscreensaver/gears}
warmup=${CPU_COMPARE_WARMUP:-3}
measured=${CPU_COMPARE_SECONDS:-20}
here=$(cd "$(dirname "$0")" && pwd)
for program in "$lumenfall" "$gears"; do
    [ -x "$program" ] || { echo "cpu_compare: $program is not an executable program" >&2; exit 1; }
done

state=$(mktemp -d /tmp/lumenfall-cpu.XXXXXX)
xvfb_pid=
saver_pid=
host_pid=
stop_pid() {
    [ -n "$1" ] || return 0
    kill "$1" 2>/dev/null
    local deadline=$((SECONDS + 5))
    while kill -0 "$1" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.1; done
    kill -0 "$1" 2>/dev/null && kill -KILL "$1"
    wait "$1" 2>/dev/null
}
cleanup() {
    stop_pid "$saver_pid"
    stop_pid "$host_pid"
    stop_pid "$xvfb_pid"
    rm -rf "$state"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

Xvfb -displayfd 3 -ac -br -nolisten tcp -noreset -screen 0 1024x768x24 3>"$state/display.number" \
    >"$state/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$state/display.number" ] && break
    sleep 0.1
done
[ -s "$state/display.number" ] || { echo "cpu_compare: Xvfb did not start" >&2; cat "$state/xvfb.log" >&2; exit 1; }
DISPLAY=":$(tr -d '\n' <"$state/display.number")"
export DISPLAY

ticks_per_second=$(getconf CLK_TCK)
# User + system clock ticks of a process (all its threads), or nothing once
# it has gone.
cpu_ticks() {
    local stat fields
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    # The command name in parentheses may hold blanks; the fields after it
    # start with the state (field 3), so utime (14) and stime (15) are the
    # 12th and 13th.
    read -r -a fields <<<"${stat##*) }"
    echo $((fields[11] + fields[12]))
}

# The population limit of a running lumenfall, or n/a.
flyers() {
    local value
    value=$(gdb -p "$1" -batch -nx -ex 'print *(int*)&MaxFlyers' 2>/dev/null |
        sed -n 's/^\$1 = //p')
    echo "${value:-n/a}"
}

rows=()
# measure PROGRAM MODE COMMAND...: one row of the table, after $warmup s.
measure() {
    local name=$1 mode=$2
    shift 2
    local hud=$state/hud.$((${#rows[@]} + 1))
    mkdir -p "$hud"
    GALLIUM_HUD=fps GALLIUM_HUD_VISIBLE=false GALLIUM_HUD_PERIOD=1 GALLIUM_HUD_DUMP_DIR=$hud \
        "$@" >"$state/program.log" 2>&1 &
    saver_pid=$!
    sleep "$warmup"
    local start_program start_server start_frames
    if ! start_program=$(cpu_ticks "$saver_pid"); then
        wait "$saver_pid"
        rows+=("| $name | $mode | ended during the warm-up (exit code $?) | | | | |")
        saver_pid=
        tail -n 5 "$state/program.log" | sed 's/^/cpu_compare: /' >&2
        return
    fi
    start_server=$(cpu_ticks "$xvfb_pid")
    start_frames=$( (wc -l <"$hud/fps") 2>/dev/null || echo 0)
    local began=$SECONDS
    sleep "$measured"
    local end_program end_server wall=$((SECONDS - began))
    if ! end_program=$(cpu_ticks "$saver_pid"); then
        wait "$saver_pid"
        rows+=("| $name | $mode | ended during the measurement (exit code $?) | | | | |")
        saver_pid=
        return
    fi
    end_server=$(cpu_ticks "$xvfb_pid")
    local population=-
    [ "$name" = lumenfall ] && population=$(flyers "$saver_pid")
    stop_pid "$saver_pid"
    saver_pid=
    # The rates dumped while the measurement ran, one a second.
    local fps
    fps=$(tail -n +"$((start_frames + 1))" "$hud/fps" 2>/dev/null | head -n "$wall" |
        awk '{ sum += $1; n++ } END { if (n) printf "%.1f", sum / n; else printf "n/a" }')
    rows+=("$(awk -v name="$name" -v mode="$mode" -v program=$((end_program - start_program)) \
        -v server=$((end_server - start_server)) -v hz="$ticks_per_second" -v wall="$wall" -v fps="$fps" \
        -v flyers="$population" \
        'BEGIN { printf "| %s | %s | %.2f | %.1f | %.2f | %s | %s |", name, mode, program / hz,
                 100 * program / hz / wall, server / hz, fps, flyers }')")
}

# measure_preview PROGRAM COMMAND...: the command with the id of a fresh
# 160x120 host window appended.
measure_preview() {
    local name=$1 window
    shift
    # A stand-in for a settings dialog's preview pane: a window that prints its id.
    coproc HOST { exec python3 "$here/../tests/x11/host_window.py" 160 120 2>/dev/null; }
    # shellcheck disable=SC2153  # set by coproc
    host_pid=$HOST_PID
    if ! read -r -t 10 -u "${HOST[0]}" window; then
        rows+=("| $name | preview 160x120 | the host window did not appear | | | | |")
    else
        measure "$name" "preview 160x120" "$@" "$window"
    fi
    stop_pid "$host_pid"
    host_pid=
}

if [ -n "$climb" ]; then
    echo "cpu_compare: full screen, ${climb} s of climb (gears ${warmup} s) then ${measured} s" \
        "measured per row, on Xvfb $DISPLAY (1024x768)" >&2
    short_warmup=$warmup
    warmup=$climb
    measure lumenfall "full screen, default cap" "$lumenfall" --x11 /s
    measure lumenfall "full screen, --max-fps 30" "$lumenfall" --x11 --max-fps 30 /s
    warmup=$short_warmup
    measure gears "full screen" "$gears" -root
else
    echo "cpu_compare: ${warmup} s warm-up, then ${measured} s measured per row, on Xvfb $DISPLAY" \
        "(1024x768)" >&2
    measure_preview lumenfall "$lumenfall" --window-id
    measure_preview gears "$gears" -window-id
    measure lumenfall "full screen 1024x768" "$lumenfall" --x11 /s
    measure gears "full screen 1024x768" "$gears" -root
fi

echo "| Program | Mode | CPU s | % of one core | Xvfb CPU s | Frames/s | Flyers |"
echo "|---|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
echo
echo "${measured} s of wall time per row after ${climb:+$climb s (lumenfall) or }${warmup} s of" \
    "warm-up; $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg) at the end."
