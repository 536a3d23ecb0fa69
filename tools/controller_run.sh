#!/usr/bin/env bash
# The population controller in practice: runs the saver of a debug build made
# with LUMENFALL_TRACE_CONTROLLER full screen on a private Xvfb for SECONDS,
# keeps its once-a-second "Controller:" trace lines as a table and plots them.
#   controller_run.sh SAVER SECONDS OUT_DIR
# Writes OUT_DIR/controller.dat and OUT_DIR/controller.png.
set -euo pipefail
saver=$1
seconds=$2
out=$3
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
state=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    "$here/../scripts/test-display" stop "$state"
    rm -rf "$state"
}
trap cleanup EXIT

"$here/../scripts/test-display" start "$state"
DISPLAY=$(cat "$state/display") "$saver" --x11 /s 2>"$state/trace.log" &
pid=$!
sleep "$seconds"
if ! kill -0 "$pid" 2>/dev/null; then
    echo "controller_run: the saver ended early" >&2
    cat "$state/trace.log" >&2
    exit 1
fi

{
    echo "# seconds sample_fps interval_s max_flyers live"
    # Controller: 12.345 s, 61.20 fps, interval 0.01634 s, MaxFlyers 15, live 15
    sed -n 's/^Controller: \([0-9.]*\) s, \([0-9.]*\) fps, interval \([0-9.]*\) s, MaxFlyers \([0-9]*\), live \([0-9]*\)$/\1 \2 \3 \4 \5/p' \
        "$state/trace.log"
} >"$out/controller.dat"
samples=$(grep -vc '^#' "$out/controller.dat" || true)
if [ "$samples" -eq 0 ]; then
    echo "controller_run: no Controller trace lines (is this a LUMENFALL_TRACE_CONTROLLER debug build?)" >&2
    exit 1
fi
gnuplot -e "data='$out/controller.dat'; out='$out/controller.png'" "$here/controller_plot.gp"
echo "controller_run: $samples samples; last: $(tail -n 1 "$out/controller.dat")"
echo "controller_run: wrote $out/controller.dat and $out/controller.png"
