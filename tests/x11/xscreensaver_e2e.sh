#!/usr/bin/env bash
# shellcheck disable=SC2317  # functions reached through traps and wait_until
# The installed saver under Debian's real XScreenSaver daemon: installs the
# build's "lumenfall" component into a private DESTDIR, starts a private Xvfb
# and the daemon (as an unprivileged user with a throwaway HOME whose
# .xscreensaver lists only our saver), blanks the screen with
# xscreensaver-command -activate, waits until our process runs and the screen
# shows something other than black, unblanks with -deactivate and waits until
# no process of ours is left.
#   xscreensaver_e2e.sh BUILD_DIR SOURCE_DIR
# LUMENFALL_XSS_PROGRAM names another saver program to list instead of the
# installed lumenfall (for example /usr/libexec/xscreensaver/gears), to check
# the harness itself against a saver known to work. LUMENFALL_XSS_KEEP names a
# directory that receives the last screenshot and the daemon's log.
# Exits 0 on success, 1 with the failed step named otherwise. Every wait has a
# deadline; everything started here is stopped by its process id.
set -uo pipefail

say() { echo "xscreensaver_e2e: $*"; }
fail() {
    echo "xscreensaver_e2e: FAIL at step '$step': $*" >&2
    local log=$state/home/xscreensaver.log
    [ "$step" = "start Xvfb" ] && log=$state/xvfb.log
    if [ -n "$state" ] && [ -s "$log" ]; then
        echo "--- last lines of $log ---" >&2
        tail -n 30 "$log" >&2
    fi
    exit 1
}

step="arguments"
state=
if [ $# -ne 2 ] || [ ! -d "$1" ] || [ ! -d "$2" ]; then
    fail "usage: xscreensaver_e2e.sh BUILD_DIR SOURCE_DIR"
fi
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
for tool in Xvfb xscreensaver xscreensaver-command import convert cmake; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/setup installs it)"
done

state=$(mktemp -d /tmp/lumenfall-xss.XXXXXX)
xvfb_pid=
daemon_pid=
display=
cleanup() {
    local pids=() pid
    if [ -n "${LUMENFALL_XSS_KEEP:-}" ] && [ -n "$state" ]; then
        mkdir -p "$LUMENFALL_XSS_KEEP"
        cp "$state/screen.png" "$state/home/xscreensaver.log" "$LUMENFALL_XSS_KEEP/" 2>/dev/null
    fi
    if [ -n "$daemon_pid" ]; then
        # The daemon's helpers (xscreensaver-gfx and the saver under it) are
        # its descendants; note them before the daemon goes.
        descendants=()
        collect_descendants "$daemon_pid"
        pids=("${descendants[@]}")
        if kill -0 "$daemon_pid" 2>/dev/null; then
            DISPLAY=$display timeout 10 xscreensaver-command -exit >/dev/null 2>&1
            wait_until 5 not_running "$daemon_pid"
            kill "$daemon_pid" 2>/dev/null
        fi
        wait "$daemon_pid" 2>/dev/null
        for pid in "${pids[@]}"; do
            kill "$pid" 2>/dev/null
        done
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$state"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# wait_until SECONDS COMMAND...: polls COMMAND every 0.2 s; false when the
# deadline passes first.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}
not_running() { ! kill -0 "$1" 2>/dev/null; }

descendants=()
collect_descendants() {
    local child
    for child in $(pgrep -P "$1"); do
        descendants+=("$child")
        collect_descendants "$child"
    done
}

# The daemon's descendants that run our saver's executable (through a shell
# or not); a saver of another user or session does not count.
saver_pids() {
    local pid found=()
    descendants=()
    collect_descendants "$daemon_pid"
    for pid in "${descendants[@]}"; do
        [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$saver_exe" ] && found+=("$pid")
    done
    echo "${found[*]}"
}
saver_running() { [ -n "$(saver_pids)" ]; }
saver_gone() { [ -z "$(saver_pids)" ]; }

# Pixels of the whole screen (the daemon's window covers it) with any colour
# channel above 0.
lit_pixels() {
    timeout 20 import -display "$display" -window root "$state/screen.png" 2>/dev/null || { echo 0; return; }
    timeout 20 convert "$state/screen.png" -separate -evaluate-sequence max -threshold 0 \
        -format '%[fx:int(mean*w*h+0.5)]' info: 2>/dev/null || echo 0
}
MIN_LIT_PIXELS=300
screen_drawn() {
    lit=$(lit_pixels)
    [ "${lit:-0}" -ge "$MIN_LIT_PIXELS" ]
}

step="install"
destdir=$state/root
DESTDIR=$destdir timeout 120 cmake --install "$build" --prefix /usr --component lumenfall \
    >"$state/install.log" 2>&1 || fail "cmake --install: $(cat "$state/install.log")"
wired=
grep -q '^include(cmake/install.cmake)' "$source/CMakeLists.txt" ||
    wired=" ($source/CMakeLists.txt does not include cmake/install.cmake)"
for file in usr/bin/lumenfall usr/libexec/xscreensaver/lumenfall \
    usr/share/xscreensaver/config/lumenfall.xml usr/share/man/man6/lumenfall.6; do
    [ -f "$destdir/$file" ] || fail "$file was not installed$wired"
done
[ -x "$destdir/usr/libexec/xscreensaver/lumenfall" ] || fail "the installed saver is not executable"
# The daemon runs the saver with the arguments that its settings file gives.
arguments=$(sed -n 's|.*<command arg="\([^"]*\)".*|\1|p' "$destdir/usr/share/xscreensaver/config/lumenfall.xml")
[ -n "$arguments" ] || fail "the installed lumenfall.xml gives no <command arg=...>"
program=${LUMENFALL_XSS_PROGRAM:-$destdir/usr/libexec/xscreensaver/lumenfall}
[ -x "$program" ] || fail "$program is not an executable program"
saver_exe=$(readlink -f "$program")
say "installed into $destdir; listing $program $arguments"

step="start Xvfb"
# -br: a black root window, so that anything lit on the screen was drawn.
Xvfb -displayfd 3 -ac -br -nolisten tcp -noreset -screen 0 1024x768x24 3>"$state/display.number" \
    >"$state/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_until 15 test -s "$state/display.number" || fail "Xvfb named no display within 15 s"
display=":$(tr -d '\n' <"$state/display.number")"
say "Xvfb on $display"

step="prepare HOME"
# XScreenSaver runs no saver as root: the daemon runs as nobody, who must be
# able to read and run everything installed here.
home=$state/home
mkdir -p "$home"
cat >"$home/.xscreensaver" <<EOF
timeout:	1:00:00
cycle:		0
lock:		False
fade:		False
unfade:		False
splash:		False
dpmsEnabled:	False
grabDesktopImages: False
mode:		one
selected:	0
programs:	GL: $program $arguments \\n
EOF
chmod -R a+rX "$state"
run_as=()
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody:nogroup "$home"
    run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi

step="start the daemon"
"${run_as[@]}" env -i HOME="$home" DISPLAY="$display" PATH=/usr/bin:/bin \
    xscreensaver -no-splash -log "$home/xscreensaver.log" >/dev/null 2>&1 &
daemon_pid=$!
daemon_answers() { DISPLAY=$display timeout 5 xscreensaver-command -version >/dev/null 2>&1; }
wait_until 20 daemon_answers || fail "the daemon did not answer xscreensaver-command within 20 s"
say "daemon $daemon_pid answers"

step="activate"
lit=0
screen_drawn && fail "$lit pixels were lit before the screen was blanked"
DISPLAY=$display timeout 10 xscreensaver-command -activate >/dev/null 2>&1 ||
    fail "xscreensaver-command -activate failed"
wait_until 30 saver_running || fail "no process of $saver_exe within 30 s of activation"
say "saver running: pid $(saver_pids)"
wait_until 30 screen_drawn ||
    fail "the screen showed $lit non-black pixels (fewer than $MIN_LIT_PIXELS) for 30 s"
say "screen drawn: $lit non-black pixels"
saver_running || fail "the saver ended while the screen was blanked"

step="deactivate"
DISPLAY=$display timeout 10 xscreensaver-command -deactivate >/dev/null 2>&1 ||
    fail "xscreensaver-command -deactivate failed"
wait_until 20 saver_gone || fail "process $(saver_pids) of $saver_exe still runs 20 s after deactivation"
kill -0 "$daemon_pid" 2>/dev/null || fail "the daemon ended"
say "saver ended after deactivation"

say "ok"
exit 0
