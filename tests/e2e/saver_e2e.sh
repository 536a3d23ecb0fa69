#!/usr/bin/env bash
# The real lumenfall.scr under Wine, driven from outside as the system's
# screen-saver host and a user would. Every wait polls, with a deadline, for
# what it then checks; whatever a check starts is stopped by process id.
# Usage: saver_e2e.sh AREA STATE_DIR SCR TOOLS_DIR [release]
#   AREA: about_box | full_screen
#   release: SCR is the release build, which traces nothing: its areas wait on
#   the windows instead, and fail if it writes to standard error or through
#   OutputDebugStringA (which Wine's debugstr channel shows on standard error).
set -u
area=$1 state=$2 scr=$3 tools=$4 release=${5:-}
work=$(mktemp -d "$state/e2e-$area.XXXXXX") failures=0
# shellcheck disable=SC2155 # reading the fixture's own file
export DISPLAY=$(<"$state/display") WINEPREFIX="$state/prefix"
export WINEDEBUG=-all${release:+,+debugstr}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
clean_up() {
    # shellcheck disable=SC2046 # one process id per file
    kill $(cat "$work"/*.pid 2>/dev/null) 2>/dev/null
    rm -rf "$work"
}
trap clean_up EXIT

# expect WHAT GOT EXPECTED
expect() {
    [ "$2" = "$3" ] && echo "ok: $1" && return
    echo "FAIL: $1: got '$2', expected '$3'"
    failures=$((failures + 1))
    return 1
}
# describe CLASS TITLE: the screen and the window, as tool.cpp prints them.
describe() { timeout 90 wine "$tools/e2e_tool.exe" "$@" 2>/dev/null | tr -d '\r'; }
# start NAME PROGRAM WORDS...: in the background; the program's standard
# error and output, and its exit line, go to $work/NAME.out. Wine's exit
# status is the program's.
start() {
    (
        timeout 120 wine "$2" "${@:3}" &
        echo $! >"$work/$1.pid"
        wait $!
        echo "exit=$?"
    ) >"$work/$1.out" 2>&1 &
}
# poll SECONDS COMMAND...: until COMMAND succeeds; fails at the deadline.
poll() {
    local end=$((SECONDS + $1))
    until "${@:2}"; do
        [ $SECONDS -lt "$end" ] || return 1
        sleep 0.2
    done
}
# has PATTERN NAME: in the output of the run NAME.
has() { tr -d '\r' 2>/dev/null <"$work/$2.out" | grep -m1 "$1"; }
# exit_of NAME SECONDS: the exit line of the run NAME, once there.
exit_of() { poll "$2" has '^exit=' "$1" || echo exit=still-running; }
# shown CLASS TITLE [PATTERN]: the window is up (with a line matching PATTERN).
shown() { describe "$1" "$2" | grep -q "${3:-^window class}"; }
check_about_box() {
    start about "$scr" /c
    poll 20 shown "#32770" Lumenfall || expect "the about box shows" no yes || return
    # WS_SYSMENU (0x00080000) clear: no system menu, so no close box.
    local box
    box=$(describe "#32770" Lumenfall)
    expect "its text and both links" "$(grep -c '^child class=Static' <<<"$box")" 3
    expect "no close box" "$(grep -c '^window .* style=0x[0-9A-F]\{3\}[0-7]' <<<"$box")" 1
    # Keys go to the focused window, which nothing has made the box yet.
    xdotool search --name '^Lumenfall$' windowfocus
    xdotool key Escape
    expect "Escape leaves the about box" "$(exit_of about 2)" exit=still-running
    xdotool key Return
    expect "Enter closes it with 1" "$(exit_of about 20)" exit=1
}

check_full_screen() {
    xdotool mousemove 100 100
    start full "$scr" /s
    local saver=(WindowsScreenSaverClass "Screen Saver") window size
    poll 20 shown "${saver[@]}" '^child class=Lumenfall' || expect "it renders" no yes || return
    window=$(describe "${saver[@]}")
    size=$(sed -n 's/^screen=//p' <<<"$window")
    local topmost_popup='style=0x96000000 exstyle=0x00000008'
    expect "full-screen window" "$(grep '^window' <<<"$window" | sed 's/.* size=/size=/')" \
        "size=$size $topmost_popup id=0 at=0,0,${size/x/,}"
    expect "render window" "$(grep '^child' <<<"$window" | cut -d' ' -f2-4)" \
        "class=Lumenfall title=Lumenfall size=$size"
    expect "a second start exits at once" "$(timeout 30 wine "$scr" /s 2>/dev/null; echo $?)" 0
    xdotool mousemove 102 102
    expect "a mouse travel of 4 pixels keeps the saver" "$(exit_of full 2)" exit=still-running
    xdotool mousemove 102 103
    expect "one more pixel ends it with 0" "$(exit_of full 20)" exit=0
    [ -n "$release" ] ||
        expect "frames drawn" "$(has '^[1-9][0-9]* frames rendered' full | wc -l)" 1
}

"check_$area"
[ -z "$release" ] || expect "nothing on standard error or the debug channel" \
    "$(cat "$work"/*.out | tr -d '\r' | grep -v '^exit=')" ""
echo "$failures check(s) failed"
exit $((failures > 0))
