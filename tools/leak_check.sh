#!/usr/bin/env bash
# Endurance under AddressSanitizer and LeakSanitizer: runs the saver of a
# native-asan build full screen on a private Xvfb for SECONDS of frames,
# closes it with a key press as a user would (so that it takes its orderly
# way out and LeakSanitizer checks the heap at exit), and fails on any
# sanitizer report or an exit code other than 0.
#   leak_check.sh SAVER SECONDS [LOG]
# Leaks inside the OpenGL driver and the X libraries are suppressed by
# tools/lsan.supp, which says why for each entry.
set -euo pipefail
saver=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
state=$(mktemp -d)
log=${3:-$state/saver.log}
pid=
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    "$here/../scripts/test-display" stop "$state"
    rm -rf "$state"
}
trap cleanup EXIT
fail() {
    echo "leak_check: FAIL: $*" >&2
    echo "--- saver output ($log) ---" >&2
    cat "$log" >&2
    exit 1
}

"$here/../scripts/test-display" start "$state"
DISPLAY=$(cat "$state/display")
export DISPLAY
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=1
export LSAN_OPTIONS=suppressions=$here/lsan.supp:print_suppressions=1:report_objects=0
"$saver" --x11 /s 2>"$log" &
pid=$!

# Input counts once the full-screen window holds the focus.
focused=0
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Screen Saver$' 2>/dev/null | head -n 1 || true)
    if [ -n "$window" ] && [ "$(xdotool getwindowfocus 2>/dev/null || true)" = "$window" ]; then
        focused=1
        break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
[ "$focused" -eq 1 ] || fail "the saver's full-screen window did not take the focus"

sleep "$seconds"
kill -0 "$pid" 2>/dev/null || fail "the saver ended before the key press"
xdotool key space
code=
for _ in $(seq 300); do
    if ! kill -0 "$pid" 2>/dev/null; then
        set +e
        wait "$pid"
        code=$?
        set -e
        break
    fi
    sleep 0.1
done
[ -n "$code" ] || fail "the saver did not end within 30 s of the key press"
pid=
if grep -q -E 'ERROR: (AddressSanitizer|LeakSanitizer)|SUMMARY: AddressSanitizer' "$log"; then
    fail "sanitizer report"
fi
[ "$code" -eq 0 ] || fail "exit code $code"
grep -q 'frames rendered' "$log" || fail "the saver did not trace its frame count at the end"
echo "leak_check: ok: $(grep 'frames rendered' "$log") in ${seconds} s; no sanitizer report; exit code 0"
# The suppressions that matched, for the record.
sed -n '/^Suppressions used:/,/^-*$/p' "$log"
