#!/usr/bin/env bash
# The real lumenfall.scr under Wine, driven from outside as the system's
# screen-saver host and a user would. Every wait polls, with a deadline, for
# what it then checks; whatever a check starts is stopped by process id.
# Usage: saver_e2e.sh AREA STATE_DIR SCR TOOLS_DIR
#   AREA: about_box | full_screen | win98 | error_box
set -u
area=$1 state=$2 scr=$3 tools=$4
work=$(mktemp -d "$state/e2e-$area.XXXXXX") failures=0 started=()
# shellcheck disable=SC2155 # reading the fixture's own file
export DISPLAY=$(<"$state/display") WINEPREFIX="$state/prefix" WINEDEBUG=-all PATH=$work/bin:$PATH
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
trap 'kill "${started[@]}" 2>/dev/null; [ ! -d "$work/prefix" ] || wineserver -k; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { if [ "$2" = "$3" ]; then echo "ok: $1"; else fail "$1: got '$2', expected '$3'"; fi; }
winpath() { echo "Z:${1//\//\\}"; }
tool() { timeout 90 wine "$tools/e2e_tool.exe" "$@" 2>/dev/null | tr -d '\r'; }
# start OUTPUT PROGRAM WORDS...: runs in the background; the saver's trace and its exit line go to OUTPUT.
start() { timeout 120 wine "$tools/e2e_tool.exe" run 100000 "$(winpath "$2")" "${@:3}" >"$1" 2>&1 & started+=($!); }
# poll SECONDS COMMAND...: until COMMAND succeeds; fails at the deadline.
poll() { local end=$((SECONDS + $1)); until "${@:2}"; do [ $SECONDS -lt "$end" ] || return 1; sleep 0.2; done; }
shown() { tool state "$@" | grep -q "^window class"; }
has() { tr -d '\r' 2>/dev/null <"$2" | grep -q "$1"; }
exit_of() { poll "$2" has '^exit=' "$1" && tr -d '\r' <"$1" | grep -m1 '^exit=' || echo exit=still-running; }
running() { tool state none none | grep -o '^running=.'; }
opened() { [ "$(grep -c . "$work/opened" 2>/dev/null)" -ge "$1" ]; }
# about_static N FIELD: the field of the about box's Nth static (N may be a range).
about_static() { tool state "#32770" Lumenfall | grep "class=Static" | sed -n "$1{s/.* $2=//;s/ [a-z]*=.*//;p}"; }

# Both links drawn underlined in blue, the about text around them dark and not underlined.
# The statics in template order: the about text, then the links over it.
underlines_on_screen() {
    # shellcheck disable=SC2046 # one rectangle per word
    import -window root -depth 8 "$work/about.ppm" 2>/dev/null &&
        python3 "$(dirname "$0")/link_underlines.py" "$work/about.ppm" $(about_static 1,3 at)
}

# click_link N TIMES OPENED: in the middle of the about box's Nth static, until OPENED links have been opened.
click_link() {
    local l t r b
    IFS=, read -r l t r b <<<"$(about_static "$1" at)"
    xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click --repeat "$2" --delay 100 1
    poll 10 opened "$3"
}

check_about_box() {
    start "$work/about" "$scr" /c
    poll 20 shown "#32770" Lumenfall || { fail "no about box"; return; }
    # WS_SYSMENU (0x00080000) clear: no system menu, so no close box.
    expect "no close box" "$(tool state "#32770" Lumenfall | grep -c '^window .* style=0x[0-9A-F]\{3\}[0-7]')" 1
    expect "links underlined on screen, the about text not" \
        "$(poll 10 underlines_on_screen >/dev/null; underlines_on_screen)" ok
    # The shell hands links to xdg-open and xdg-email: stand-ins log what they are given.
    mkdir "$work/bin" && printf '#!/bin/sh\necho "$*" >>"%s"\n' "$work/opened" >"$work/bin/xdg-open"
    chmod +x "$work/bin/xdg-open" && cp "$work/bin/xdg-open" "$work/bin/xdg-email"
    click_link 2 1 1
    click_link 3 2 2
    expect "a click opens each link" "$(paste -sd' ' "$work/opened")" \
        "mailto:$(about_static 2 title) http://$(about_static 3 title)/"
    expect "a double click opens its link once" "$(poll 2 opened 3 && paste -sd' ' "$work/opened")" ""
    # The box as a preview host: the saver draws in a child over its client area, ignores keys, and
    # ends with 0 when the host goes.
    start "$work/preview" "$scr" /p "$(tool state "#32770" Lumenfall | sed -n 's/^handle=//p')"
    poll 20 has '^ScreenSaverChildProc:WM_SIZE' "$work/preview" || fail "no preview"
    local box; box=$(tool state "#32770" Lumenfall)
    expect "the preview fills the box" "$(grep -o 'WindowsScreenSaverClass title=Preview size=[0-9x]* style=0x[0-9A-F]*' <<<"$box")" \
        "WindowsScreenSaverClass title=Preview size=$(sed -n 's/^window .* size=\([0-9x]*\) .*/\1/p' <<<"$box") style=0x52000000"
    xdotool key Escape
    expect "Escape leaves the about box and its preview" "$(exit_of "$work/about" 2) $(exit_of "$work/preview" 0)" \
        "exit=still-running exit=still-running"
    xdotool key Return
    expect "Enter closes the about box with 1" "$(exit_of "$work/about" 20)" exit=1
    expect "and the preview in it ends with 0" "$(exit_of "$work/preview" 20)" exit=0
}

check_full_screen() {
    xdotool mousemove 100 100
    start "$work/full" "$scr" /s
    poll 20 has '^ScreenSaverChildProc:WM_SIZE' "$work/full" || { fail "no sized render window"; return; }
    local window size
    window=$(tool state WindowsScreenSaverClass "Screen Saver")
    size=$(sed -n 's/^running=. screen=//p' <<<"$window")
    expect "full-screen window" "$(grep '^window' <<<"$window" | sed 's/.* size=/size=/')" \
        "size=$size style=0x96000000 exstyle=0x00000008 id=0 at=0,0,${size/x/,}"
    expect "render window" "$(grep '^child' <<<"$window" | cut -d' ' -f2-4)" \
        "class=Lumenfall title=Lumenfall size=$size"
    expect "a second start exits at once" "$(tool run 30000 "$(winpath "$scr")" /s)" exit=0
    xdotool mousemove 102 102
    expect "a mouse travel of 4 pixels keeps the saver" "$(exit_of "$work/full" 2)" exit=still-running
    xdotool mousemove 102 103
    expect "one more pixel ends it with 0" "$(exit_of "$work/full" 20)" exit=0
    has '^[1-9][0-9]* frames rendered' "$work/full" || fail "no frames drawn"
}

# The checked call failing: without a loadable libGL Wine offers no pixel format.
# check_error_box [SCR]: with an SCR beside the password panel, the running flag too.
check_error_box() {
    mkdir -p "$work/nogl" && : >"$work/nogl/libGL.so.1"
    (LD_LIBRARY_PATH=$work/nogl timeout 60 wine "${1:-$scr}" /s >/dev/null 2>&1; echo "exit=$?" >"$work/fatal") &
    started+=($!)
    poll 20 shown "#32770" Lumenfall || { fail "no error box"; return; }
    box=$(tool state "#32770" Lumenfall)
    expect "the error box's text" "$(grep -c 'title=ChoosePixelFormat failed\. ' <<<"$box")" 1
    expect "and its one button" "$(grep -c class=Button <<<"$box")" 1
    [ -z "${1:-}" ] || expect "the flag is on while the box shows" "$(grep -o '^running=.' <<<"$box")" running=1
    xdotool mousemove 512 384 key Return
    expect "the failed call ends the saver with 1" "$(exit_of "$work/fatal" 20)" exit=1
    [ -z "${1:-}" ] || expect "the fatal exit switched the flag off" "$(running)" running=0
}

check_win98() {
    WINEPREFIX=$work/prefix
    cp -a --reflink=auto "$state/prefix" "$WINEPREFIX"
    wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1
    wine reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /t REG_DWORD /d 1 /f >/dev/null 2>&1
    cp "$scr" "$tools/PASSWORD.CPL" "$work/"
    # shellcheck disable=SC2155 # winpath cannot fail
    export LUMENFALL_VERIFY_ACCEPT_FILE=$(winpath "$work/accept") LUMENFALL_VERIFY_LOG=$(winpath "$work/log")
    xdotool mousemove 100 100
    start "$work/out" "$work/lumenfall.scr" /s
    poll 20 has '^ScreenSaverChildProc:WM_SIZE' "$work/out" || { fail "no saver on win98"; return; }
    xdotool key a
    poll 10 has VerifyScreenSavePwd "$work/log"
    expect "a key asks the panel" "$(tr -d '\r' <"$work/log")" "VerifyScreenSavePwd window=1 accept=0 running=1"
    expect "a refused password keeps the saver" "$(exit_of "$work/out" 2)" exit=still-running
    : >"$work/accept"
    xdotool key b
    expect "an accepted password ends the saver with 0" "$(exit_of "$work/out" 20)" exit=0
    expect "the panel was asked twice" "$(grep -c . "$work/log")" 2
    expect '"/a 1234" changes the password' "$(tool run 30000 "$(winpath "$work/lumenfall.scr")" /a 1234)" exit=0
    expect "the flag is off before a failing run" "$(running)" running=0
    check_error_box "$work/lumenfall.scr"
}

"check_$area"
echo "$failures check(s) failed"
exit $((failures > 0))
