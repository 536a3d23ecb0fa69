#!/usr/bin/env bash
# The real lumenfall.scr under Wine, driven from outside as the system's
# screen-saver host and a user would. Every wait polls, with a deadline, for
# what it then checks; whatever a check starts is stopped by process id.
# Usage: saver_e2e.sh AREA STATE_DIR SCR TOOLS_DIR [release]
#   AREA: about_box | full_screen | win98 | error_box
#   release: SCR is the release build, which traces nothing: its areas wait on
#   the windows instead, and fail if it writes to standard error or through
#   OutputDebugStringA (which Wine's debugstr channel shows on standard error).
set -u
area=$1 state=$2 scr=$3 tools=$4 release=${5:-}
[ -f "$scr" ] || { echo "FAIL: no $scr"; exit 1; }
work=$(mktemp -d "$state/e2e-$area.XXXXXX") failures=0 started=()
# shellcheck disable=SC2155 # reading the fixture's own file
export DISPLAY=$(<"$state/display") WINEPREFIX="$state/prefix" PATH=$work/bin:$PATH
export WINEDEBUG=-all${release:+,+debugstr}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
clean_up() {
    kill "${started[@]}" 2>/dev/null
    [ ! -d "$work/prefix" ] || wineserver -k
    rm -rf "$work"
}
trap clean_up EXIT

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# expect WHAT GOT EXPECTED
expect() {
    if [ "$2" = "$3" ]; then echo "ok: $1"; else fail "$1: got '$2', expected '$3'"; fi
}
winpath() { echo "Z:${1//\//\\}"; }
tool() { timeout 90 wine "$tools/e2e_tool.exe" "$@" 2>/dev/null | tr -d '\r'; }
# start NAME PROGRAM WORDS...: runs in the background; the program's standard
# error and output, and its exit line, go to $work/NAME.out.
start() {
    timeout 120 wine "$tools/e2e_tool.exe" run 100000 "$(winpath "$2")" "${@:3}" \
        >"$work/$1.out" 2>&1 &
    started+=($!)
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
has() { tr -d '\r' 2>/dev/null <"$work/$2.out" | grep -q "$1"; }
# exit_of NAME SECONDS: the exit line of the run NAME, once there.
exit_of() {
    poll "$2" has '^exit=' "$1" && has_exit_line "$1" || echo exit=still-running
}
has_exit_line() { tr -d '\r' <"$work/$1.out" | grep -m1 '^exit='; }
# shown CLASS TITLE [PATTERN]: the window is up (with a line matching PATTERN).
shown() { tool state "$1" "$2" | grep -q "${3:-^window class}"; }
running() { tool state none none | grep -o '^running=.'; }
opened() { [ "$(grep -c . "$work/opened" 2>/dev/null)" -ge "$1" ]; }
about() { tool state "#32770" Lumenfall; }
# about_static N FIELD: the field of the about box's Nth static (N may be a range).
about_static() { about | grep "class=Static" | sed -n "$1{s/.* $2=//;s/ [a-z]*=.*//;p}"; }

# Both links drawn underlined in blue, the about text around them dark and not
# underlined. The statics in template order: the about text, then the links.
underlines_on_screen() {
    # shellcheck disable=SC2046 # one rectangle per word
    import -window root -depth 8 "$work/about.ppm" 2>/dev/null &&
        python3 "$(dirname "$0")/link_underlines.py" "$work/about.ppm" $(about_static 1,3 at)
}

# click_link N TIMES OPENED: in the middle of the about box's Nth static,
# until OPENED links have been opened.
click_link() {
    local l t r b
    IFS=, read -r l t r b <<<"$(about_static "$1" at)"
    xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click --repeat "$2" --delay 100 1
    poll 10 opened "$3"
}

check_about_box() {
    start about "$scr" /c
    poll 20 shown "#32770" Lumenfall || { fail "no about box"; return; }
    # WS_SYSMENU (0x00080000) clear: no system menu, so no close box.
    expect "no close box" "$(about | grep -c '^window .* style=0x[0-9A-F]\{3\}[0-7]')" 1
    expect "links underlined on screen, the about text not" \
        "$(poll 10 underlines_on_screen >/dev/null; underlines_on_screen)" ok
    # The shell hands links to xdg-open and xdg-email: stand-ins log what they are given.
    mkdir "$work/bin" && printf '#!/bin/sh\necho "$*" >>"%s"\n' "$work/opened" >"$work/bin/xdg-open"
    chmod +x "$work/bin/xdg-open" && cp "$work/bin/xdg-open" "$work/bin/xdg-email"
    click_link 2 1 1
    click_link 3 2 2
    expect "a click opens each link" "$(paste -sd' ' "$work/opened")" \
        "mailto:$(about_static 2 title) http://$(about_static 3 title)/"
    expect "a double click opens its link once" \
        "$(poll 2 opened 3 && paste -sd' ' "$work/opened")" ""
    # The box as a preview host: the saver draws in a child over its client
    # area, ignores keys, and ends with 0 when the host goes.
    start preview "$scr" /p "$(about | sed -n 's/^handle=//p')"
    poll 20 shown "#32770" Lumenfall "class=WindowsScreenSaverClass" || fail "no preview"
    local client preview='WindowsScreenSaverClass title=Preview'
    client=$(about | sed -n 's/^window .* size=\([0-9x]*\) .*/\1/p')
    expect "the preview fills the box" \
        "$(about | grep -o "$preview size=[0-9x]* style=0x[0-9A-F]*")" \
        "$preview size=$client style=0x52000000"
    xdotool key Escape
    expect "Escape leaves the about box and its preview" \
        "$(exit_of about 2) $(exit_of preview 0)" "exit=still-running exit=still-running"
    xdotool key Return
    expect "Enter closes the about box with 1" "$(exit_of about 20)" exit=1
    expect "and the preview in it ends with 0" "$(exit_of preview 20)" exit=0
}

check_full_screen() {
    xdotool mousemove 100 100
    start full "$scr" /s
    local saver=(WindowsScreenSaverClass "Screen Saver")
    poll 20 shown "${saver[@]}" '^child class=Lumenfall' || { fail "no render window"; return; }
    local window size
    window=$(tool state "${saver[@]}")
    size=$(sed -n 's/^running=. screen=//p' <<<"$window")
    expect "full-screen window" "$(grep '^window' <<<"$window" | sed 's/.* size=/size=/')" \
        "size=$size style=0x96000000 exstyle=0x00000008 id=0 at=0,0,${size/x/,}"
    expect "render window" "$(grep '^child' <<<"$window" | cut -d' ' -f2-4)" \
        "class=Lumenfall title=Lumenfall size=$size"
    expect "a second start exits at once" "$(tool run 30000 "$(winpath "$scr")" /s)" exit=0
    xdotool mousemove 102 102
    expect "a mouse travel of 4 pixels keeps the saver" "$(exit_of full 2)" exit=still-running
    xdotool mousemove 102 103
    expect "one more pixel ends it with 0" "$(exit_of full 20)" exit=0
    [ -n "$release" ] || has '^[1-9][0-9]* frames rendered' full || fail "no frames drawn"
}

# The checked call failing: without a loadable libGL Wine offers no pixel format.
# check_error_box [SCR]: with an SCR beside the password panel, the running flag too.
check_error_box() {
    mkdir -p "$work/nogl" && : >"$work/nogl/libGL.so.1"
    LD_LIBRARY_PATH=$work/nogl start fatal "${1:-$scr}" /s
    poll 20 shown "#32770" Lumenfall || { fail "no error box"; return; }
    local box
    box=$(about)
    expect "the error box's text" "$(grep -c 'title=ChoosePixelFormat failed\. ' <<<"$box")" 1
    expect "and its one button" "$(grep -c class=Button <<<"$box")" 1
    [ -z "${1:-}" ] || expect "the flag is on while the box shows" \
        "$(grep -o '^running=.' <<<"$box")" running=1
    xdotool mousemove 512 384 key Return
    expect "the failed call ends the saver with 1" "$(exit_of fatal 20)" exit=1
    [ -z "${1:-}" ] || expect "the fatal exit switched the flag off" "$(running)" running=0
}

check_win98() {
    WINEPREFIX=$work/prefix
    cp -a --reflink=auto "$state/prefix" "$WINEPREFIX"
    wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1
    wine reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /t REG_DWORD /d 1 /f \
        >/dev/null 2>&1
    cp "$scr" "$tools/PASSWORD.CPL" "$work/"
    LUMENFALL_VERIFY_ACCEPT_FILE=$(winpath "$work/accept")
    LUMENFALL_VERIFY_LOG=$(winpath "$work/log")
    export LUMENFALL_VERIFY_ACCEPT_FILE LUMENFALL_VERIFY_LOG
    xdotool mousemove 100 100
    start win98 "$work/lumenfall.scr" /s
    poll 20 has '^ScreenSaverChildProc:WM_SIZE' win98 || { fail "no saver on win98"; return; }
    xdotool key a
    poll 10 grep -qs VerifyScreenSavePwd "$work/log"
    expect "a key asks the panel" "$(tr -d '\r' <"$work/log")" \
        "VerifyScreenSavePwd window=1 accept=0 running=1"
    expect "a refused password keeps the saver" "$(exit_of win98 2)" exit=still-running
    : >"$work/accept"
    xdotool key b
    expect "an accepted password ends the saver with 0" "$(exit_of win98 20)" exit=0
    expect "the panel was asked twice" "$(grep -c . "$work/log")" 2
    expect '"/a 1234" changes the password' \
        "$(tool run 30000 "$(winpath "$work/lumenfall.scr")" /a 1234)" exit=0
    expect "the flag is off before a failing run" "$(running)" running=0
    check_error_box "$work/lumenfall.scr"
}

"check_$area"
[ -z "$release" ] || expect "nothing on standard error or the debug channel" \
    "$(cat "$work"/*.out | tr -d '\r' | grep -v '^exit=')" ""
echo "$failures check(s) failed"
exit $((failures > 0))
