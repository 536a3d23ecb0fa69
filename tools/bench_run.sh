#!/usr/bin/env bash
# Runs the scene benchmarks on a private Xvfb and plots the drawing pass.
#   bench_run.sh SCENE_BENCH OUT_DIR [benchmark options]
# Writes OUT_DIR/bench.txt (the whole report), OUT_DIR/bench-draw.dat and
# OUT_DIR/bench-draw.png.
set -euo pipefail
bench=$1
out=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
state=$(mktemp -d)
cleanup() {
    "$here/../scripts/test-display" stop "$state"
    rm -rf "$state"
}
trap cleanup EXIT
"$here/../scripts/test-display" start "$state"
LUMENFALL_TEST_STATE=$state "$bench" --summary_csv="$out/bench-draw.dat" "$@" | tee "$out/bench.txt"
gnuplot -e "data='$out/bench-draw.dat'; out='$out/bench-draw.png'" "$here/bench_plot.gp"
echo "bench_run: wrote $out/bench.txt, $out/bench-draw.dat and $out/bench-draw.png"
