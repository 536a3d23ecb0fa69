#!/usr/bin/env bash
# The real lumenfall.scr under Wine, driven from outside as the system's
# screen-saver host and a user would. Every wait polls, with a deadline, for
# what it then checks; whatever a check starts is stopped by process id.
# Usage: saver_e2e.sh AREA STATE_DIR SCR TOOLS_DIR
#   AREA: command_lines | about_box | full_screen | preview | win98 | error_box
set -u
area=$1 state=$2 scr=$3 tools=$4
# shellcheck disable=SC2155 # reading the fixture's own file
export DISPLAY=$(<"$state/display") WINEPREFIX="$state/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
work=$(mktemp -d "$state/e2e-$area.XXXXXX") failures=0 started=()
trap 'kill "${started[@]}" 2>/dev/null; [ "$WINEPREFIX" = "$state/prefix" ] || { wineserver -k 2>/dev/null; rm -rf "$WINEPREFIX"; }; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { if [ "$2" = "$3" ]; then echo "ok: $1"; else fail "$1: got '$2', expected '$3'"; fi; }
winpath() { echo "Z:${1//\//\\}"; }
tool() { timeout 90 wine "$tools/e2e_tool.exe" "$@" 2>/dev/null | tr -d '\r'; }
# start OUTPUT PROGRAM WORDS...: runs in the background; the saver's trace and its exit line go to OUTPUT.
start() { timeout 120 wine "$tools/e2e_tool.exe" run 100000 "$(winpath "$2")" "${@:3}" >"$1" 2>&1 & started+=($!); }
# poll SECONDS COMMAND...: until COMMAND succeeds; fails at the deadline.
poll() { local end=$((SECONDS + $1)); until "${@:2}"; do [ $SECONDS -lt "$end" ] || return 1; sleep 0.2; done; }
shown() { [ "$(tool find "$@")" != none ]; }
has() { tr -d '\r' 2>/dev/null <"$2" | grep -q "$1"; }
exit_of() { poll "$2" has '^exit=' "$1" && tr -d '\r' <"$1" | grep -m1 '^exit=' || echo exit=still-running; }
# Keeps an X client connected: the private Xvfb resets, and centres the
# pointer, whenever its last client goes.
hold_pointer() { xdotool mousemove "$1" "$2" sleep 600 & started+=($!); poll 5 pointer_at "$1" "$2"; }
pointer_at() { [[ "$(xdotool getmouselocation)" == "x:$1 y:$2 "* ]]; }

check_command_lines() {
    for tail in "/x" "/1" "/p" "/p 0" "/p 12345" "/p:1234" "/a 1234"; do
        # shellcheck disable=SC2086 # the words travel apart
        expect "\"$tail\" selects no mode" "$(tool run 30000 "$(winpath "$scr")" $tail)" "exit=-1"
    done
}

# Both links drawn underlined in blue, the about text around them dark and not underlined.
# The statics in template order: the about text, then the links over it.
underlines_on_screen() {
    # shellcheck disable=SC2046 # one rectangle per word
    import -window root -depth 8 "$work/about.ppm" 2>/dev/null && python3 "$(dirname "$0")/link_underlines.py" \
        "$work/about.ppm" $(tool find "#32770" Lumenfall | sed -n 's/^child class=Static .* at=//p')
}

check_about_box() {
    start "$work/about" "$scr" /c
    poll 20 shown "#32770" Lumenfall || { fail "no about box"; return; }
    # WS_SYSMENU (0x00080000) clear: no system menu, so no close box.
    expect "no close box" "$(tool find "#32770" Lumenfall | grep -c '^window .* style=0x[0-9A-F]\{3\}[0-7]')" 1
    expect "links underlined on screen, the about text not" "$(poll 10 underlines_on_screen >/dev/null; underlines_on_screen)" ok
    hold_pointer 512 384
    xdotool key Escape
    expect "Escape leaves the about box" "$(exit_of "$work/about" 2)" exit=still-running
    xdotool key Return
    expect "Enter closes the about box with 1" "$(exit_of "$work/about" 20)" exit=1
}

check_full_screen() {
    hold_pointer 100 100
    start "$work/full" "$scr" /s
    poll 20 has '^ScreenSaverChildProc:WM_SIZE' "$work/full" || { fail "no sized render window"; return; }
    local window size
    window=$(tool find WindowsScreenSaverClass "Screen Saver")
    size=$(sed -n 's/^screen=//p' <<<"$window")
    expect "full-screen window" "$(grep '^window' <<<"$window" | sed 's/.* size=/size=/')" \
        "size=$size style=0x96000000 exstyle=0x00000008 id=0 at=0,0,${size/x/,}"
    expect "render window" "$(grep '^child' <<<"$window" | cut -d' ' -f2-4)" "class=Lumenfall title=Lumenfall size=$size"
    expect "a second start exits at once" "$(tool run 30000 "$(winpath "$scr")" /s)" exit=0
    expect "and makes no second window" "$(tool find WindowsScreenSaverClass "Screen Saver" | grep '^count=')" count=1
    xdotool mousemove 102 102
    expect "a mouse travel of 4 pixels keeps the saver" "$(exit_of "$work/full" 2)" exit=still-running
    xdotool mousemove 102 103
    expect "one more pixel ends it with 0" "$(exit_of "$work/full" 20)" exit=0
    has '^[1-9][0-9]* frames rendered' "$work/full" || fail "no frames drawn"
    start "$work/key" "$scr" /s
    poll 20 has '^ScreenSaverChildProc:WM_SIZE' "$work/key" || { fail "no second run"; return; }
    xdotool key a
    expect "a key ends the saver with 0" "$(exit_of "$work/key" 20)" exit=0
    expect "its window went with it" "$(tool find WindowsScreenSaverClass "Screen Saver")" none
}

check_preview() {
    local report
    report=$(tool preview 160 120 "$(winpath "$scr")" /p %HWND%)
    expect "preview" "$(cut -d' ' -f1-5 <<<"$report" | paste -sd';')" "child class=WindowsScreenSaverClass title=Preview \
size=160x120 style=0x52000000;grandchild class=Lumenfall title=Lumenfall size=160x120 style=0x56000000;running-after-key=1;exit=0"
}

# The checked call failing: without a loadable libGL Wine offers no pixel format.
# check_error_box [SCR]: with an SCR beside the password panel, the running flag too.
check_error_box() {
    mkdir -p "$work/nogl" && : >"$work/nogl/libGL.so.1"
    (LD_LIBRARY_PATH=$work/nogl timeout 60 wine "${1:-$scr}" /s >/dev/null 2>&1; echo "exit=$?" >"$work/fatal") &
    started+=($!)
    poll 20 shown "#32770" Lumenfall || { fail "no error box"; return; }
    expect "the error box's text" "$(tool find "#32770" Lumenfall | grep -c 'title=ChoosePixelFormat failed\. ')" 1
    expect "and its one button" "$(tool find "#32770" Lumenfall | grep -c class=Button)" 1
    [ -z "${1:-}" ] || expect "the flag is on while the box shows" "$(tool running)" running=1
    hold_pointer 512 384
    xdotool key Return
    expect "the failed call ends the saver with 1" "$(exit_of "$work/fatal" 20)" exit=1
    [ -z "${1:-}" ] || expect "the fatal exit switched the flag off" "$(tool running)" running=0
}

check_win98() {
    WINEPREFIX=$state/prefix-win98.$$
    cp -a --reflink=auto "$state/prefix" "$WINEPREFIX"
    wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1
    wine reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /t REG_DWORD /d 1 /f >/dev/null 2>&1
    cp "$scr" "$tools/PASSWORD.CPL" "$work/"
    echo 0 >"$work/answer"
    # shellcheck disable=SC2155 # winpath cannot fail
    export LUMENFALL_VERIFY_ANSWER_FILE=$(winpath "$work/answer") LUMENFALL_VERIFY_LOG=$(winpath "$work/log")
    hold_pointer 100 100
    start "$work/out" "$work/lumenfall.scr" /s
    poll 20 has '^ScreenSaverChildProc:WM_SIZE' "$work/out" || { fail "no saver on win98"; return; }
    xdotool key a
    poll 10 has VerifyScreenSavePwd "$work/log"
    expect "a key asks the panel" "$(tr -d '\r' <"$work/log")" "VerifyScreenSavePwd window=1 answer=0 running=1"
    expect "a refused password keeps the saver" "$(exit_of "$work/out" 2)" exit=still-running
    echo 1 >"$work/answer"
    xdotool key b
    expect "an accepted password ends the saver with 0" "$(exit_of "$work/out" 20)" exit=0
    expect "the panel was asked twice" "$(grep -c . "$work/log")" 2
    expect '"/a 1234" changes the password' "$(tool run 30000 "$(winpath "$work/lumenfall.scr")" /a 1234)" exit=0
    expect "the flag is off before a failing run" "$(tool running)" running=0
    check_error_box "$work/lumenfall.scr"
}

"check_$area"
echo "$failures check(s) failed"
exit $((failures > 0))
