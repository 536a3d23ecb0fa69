#!/usr/bin/env bash
# End-to-end checks of the real lumenfall.scr under Wine, driven from outside
# the way the system's screen-saver host and a user would: command lines,
# the about box, full-screen saving, preview in a host window, the Windows
# 95/98 password check, and the error box of a failed platform call.
# Usage: saver_e2e.sh AREA STATE_DIR SCR TOOLS_DIR
#   AREA       command_lines | about_box | full_screen | preview | win98 | error_box
#   STATE_DIR  the display fixture's state (X display, Wine prefix)
#   SCR        the built lumenfall.scr
#   TOOLS_DIR  where the test tools (launcher, preview host, inspector,
#              running-flag reader, PASSWORD.CPL) were built
# Every wait is bounded; whatever a check starts is stopped by process id.
set -u
area=$1
state=$2
scr=$3
tools=$4

export DISPLAY
DISPLAY=$(cat "$state/display")
export WINEPREFIX="$state/prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

work=$(mktemp -d "$state/e2e-$area.XXXXXX")
failures=0
started=()

cleanup() {
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
    # A prefix of this check's own goes with its server.
    if [ "$WINEPREFIX" != "$state/prefix" ]; then
        wineserver -k 2>/dev/null
        rm -rf "$WINEPREFIX"
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

pass() { echo "ok: $*"; }

# expect NAME ACTUAL EXPECTED
expect() {
    if [ "$2" = "$3" ]; then pass "$1"; else fail "$1: got '$2', expected '$3'"; fi
}

windows_path() { echo "Z:${1//\//\\}"; }

tool() { wine "$tools/$1" "${@:2}" 2>/dev/null | tr -d '\r'; }

# Runs the saver with the given switch words through the launcher, which
# prints its exact exit code; prints "exit=<code>".
run_saver() { timeout 60 wine "$tools/e2e_launcher.exe" 30000 "$(windows_path "$scr")" "$@" 2>/dev/null | tr -d '\r'; }

# Starts the saver in the background through the launcher; its trace (on
# standard error) and the launcher's "exit=" line go to OUTPUT.
# start_saver OUTPUT SCR_PATH WORDS...
start_saver() {
    local output=$1 path=$2
    shift 2
    timeout 120 wine "$tools/e2e_launcher.exe" 100000 "$(windows_path "$path")" "$@" >"$output" 2>&1 &
    started+=($!)
}

inspect() { tool e2e_inspect_windows.exe "$1" "$2"; }

# wait_for_window CLASS TITLE: up to 20 s; prints the inspector's description.
wait_for_window() {
    local description
    for _ in $(seq 40); do
        description=$(inspect "$1" "$2")
        if [ "$description" != none ]; then
            echo "$description"
            return 0
        fi
        sleep 0.5
    done
    echo none
    return 1
}

# wait_for_exit OUTPUT: up to 15 s for the launcher's "exit=" line; prints it.
wait_for_exit() {
    for _ in $(seq 30); do
        if grep -q '^exit=' "$1" 2>/dev/null; then
            tr -d '\r' <"$1" | grep '^exit=' | head -1
            return 0
        fi
        sleep 0.5
    done
    echo "exit=still-running"
}

running() { [ "$(inspect WindowsScreenSaverClass "Screen Saver")" != none ]; }

# Keeps one X client connected while a check runs: the private Xvfb resets
# (and puts the pointer back in the middle) whenever its last client goes,
# which would move the pointer under the saver between two xdotool calls.
hold_pointer_at() {
    xdotool mousemove "$1" "$2" sleep 600 &
    started+=($!)
    sleep 0.5
}

check_command_lines() {
    # Lines that select no mode, or a preview without a host window.
    local tail
    for tail in "/x" "/1" "/p" "/p 0" "/p 12345" "/p:1234"; do
        # shellcheck disable=SC2086 # the words of the tail travel apart
        expect "\"$tail\" selects nothing" "$(run_saver $tail)" "exit=-1"
    done
    # Outside the Windows 95/98 family the password change is no mode.
    expect '"/a 1234" outside the 95/98 family' "$(run_saver /a 1234)" "exit=-1"
}

# place_of ID: the screen rectangle of the about box's control ID, as
# "left,top,right,bottom".
place_of() { inspect "#32770" Lumenfall | sed -n "s/^place id=$1 screen=//p"; }

# On a screenshot of the real about box: the two links drawn underlined, the
# about text beneath them not.
check_link_underlines() {
    local web mail about shot=$work/about.ppm
    sleep 1  # the box paints once the modal loop idles
    web=$(place_of 1011) mail=$(place_of 1012) about=$(place_of -1)
    if [ -z "$web" ] || [ -z "$mail" ] || [ -z "$about" ]; then
        fail "the about box's controls were not found (web '$web', e-mail '$mail', text '$about')"
        return
    fi
    import -window root -depth 8 "$shot" 2>/dev/null || { fail "no screenshot"; return; }
    if python3 "$(dirname "$0")/link_underlines.py" "$shot" \
        "link:web link=$web" "link:e-mail link=$mail" "plain:about text=$about"; then
        pass "both links are underlined on screen, the about text is not"
    else
        cp "$shot" "$state/about-box.ppm"
        fail "link underlines on screen (screenshot kept as $state/about-box.ppm)"
    fi
}

check_about_box() {
    local out=$work/about.out description
    start_saver "$out" "$scr" /c
    description=$(wait_for_window "#32770" Lumenfall) || { fail "no about box appeared"; return; }
    pass "the about box appears"
    check_link_underlines
    # Keys go to the window under the pointer: the box is centred.
    hold_pointer_at 512 384
    xdotool key Escape
    sleep 1.5
    if [ "$(inspect "#32770" Lumenfall)" != none ] && ! grep -q '^exit=' "$out"; then
        pass "Escape leaves the about box open"
    else
        fail "Escape closed the about box"
    fi
    xdotool key Return
    expect "Enter closes the about box with 1" "$(wait_for_exit "$out")" "exit=1"
}

check_full_screen() {
    local out=$work/full.out description screen
    hold_pointer_at 100 100
    start_saver "$out" "$scr" /s
    description=$(wait_for_window WindowsScreenSaverClass "Screen Saver") || {
        fail "no full-screen saver window appeared"
        return
    }
    screen=$(echo "$description" | sed -n 's/.*screen=\([0-9]*\)x\([0-9]*\).*/\1 \2/p')
    read -r width height <<<"$screen"
    expect "full-screen window" "$(echo "$description" | head -1 | sed 's/ screen=.*//')" \
        "window style=0x96000000 exstyle=0x00000008 rect=0,0,$width,$height"
    expect "render child" "$(echo "$description" | grep '^child')" \
        "child class=Lumenfall title=Lumenfall size=${width}x$height"
    sleep 1
    if grep -q '^ScreenSaverChildProc:WM_SIZE' "$out"; then pass "the render window was sized"; else
        fail "no WM_SIZE trace from the render window"; fi

    # A second start finds the running saver and leaves at once.
    expect "a second start exits at once" "$(run_saver /s)" "exit=0"
    expect "no second saver window" "$(inspect WindowsScreenSaverClass "Screen Saver" | grep '^count=')" "count=1"

    # Mouse travel: 4 pixels in all (2 + 2) pass; one more ends the saver.
    xdotool mousemove 102 102
    sleep 1.5
    if running; then pass "a mouse travel of 4 pixels keeps the saver"; else
        fail "a mouse travel of 4 pixels ended the saver"; fi
    xdotool mousemove 102 103
    expect "a mouse travel of 5 pixels ends the saver with 0" "$(wait_for_exit "$out")" "exit=0"
    local frames
    frames=$(tr -d '\r' <"$out" | sed -n 's/^\([0-9]*\) frames rendered$/\1/p')
    if [ -n "$frames" ] && [ "$frames" -gt 0 ]; then pass "$frames frames were drawn"; else
        fail "no frames counted (trace: '$frames')"; fi

    # A key press ends it too.
    out=$work/key.out
    start_saver "$out" "$scr" /s
    wait_for_window WindowsScreenSaverClass "Screen Saver" >/dev/null || { fail "no second run"; return; }
    sleep 1
    xdotool key a
    expect "a key press ends the saver with 0" "$(wait_for_exit "$out")" "exit=0"
    if running; then fail "the saver window outlived its process"; fi
}

check_preview() {
    local report
    # The host gets the saver's window, posts it a key and a click, then goes.
    report=$(timeout 90 wine "$tools/e2e_preview_host.exe" 160 120 "$(windows_path "$scr")" /p %HWND% \
        2>/dev/null | tr -d '\r')
    expect "preview window" "$(echo "$report" | grep '^child ')" \
        "child class=WindowsScreenSaverClass title=Preview size=160x120 style=0x52000000"
    expect "render window inside the preview" "$(echo "$report" | grep '^grandchild ')" \
        "grandchild class=Lumenfall title=Lumenfall size=160x120"
    expect "key input leaves the preview running" "$(echo "$report" | grep '^running-after-key=')" \
        "running-after-key=1"
    expect "the preview ends with 0 when its host goes" "$(echo "$report" | grep '^exit=')" "exit=0"
}

check_win98() {
    # A prefix of this check's own, set to the Windows 98 family with the
    # screen-saver password on, and the stand-in password panel beside the saver.
    local prefix=$state/prefix-win98.$$
    cp -a --reflink=auto "$state/prefix" "$prefix"
    export WINEPREFIX=$prefix
    wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1
    wine reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /t REG_DWORD /d 1 /f >/dev/null 2>&1
    cp "$scr" "$tools/PASSWORD.CPL" "$work/"
    local saver=$work/lumenfall.scr log=$work/verify.log out=$work/win98.out
    echo 0 >"$work/answer"
    export LUMENFALL_VERIFY_ANSWER_FILE LUMENFALL_VERIFY_LOG
    LUMENFALL_VERIFY_ANSWER_FILE=$(windows_path "$work/answer")
    LUMENFALL_VERIFY_LOG=$(windows_path "$log")

    hold_pointer_at 100 100
    start_saver "$out" "$saver" /s
    wait_for_window WindowsScreenSaverClass "Screen Saver" >/dev/null || { fail "no saver window on win98"; return; }
    sleep 1
    xdotool key a
    sleep 1.5
    expect "a key asks the password panel, which refuses" "$(tr -d '\r' <"$log" 2>/dev/null | sed 's/window=[0-9]*/window=W/')" \
        "VerifyScreenSavePwd window=W answer=0 running=1"
    if running && ! grep -q '^exit=' "$out"; then pass "a refused password keeps the saver"; else
        fail "the saver ended although the password was refused"; fi

    echo 1 >"$work/answer"
    xdotool key b
    expect "an accepted password ends the saver with 0" "$(wait_for_exit "$out")" "exit=0"
    expect "the panel was asked twice" "$(wc -l <"$log" | tr -d ' ')" "2"

    local out_a
    out_a=$(timeout 60 wine "$tools/e2e_launcher.exe" 30000 "$(windows_path "$saver")" /a 1234 2>/dev/null | tr -d '\r')
    expect '"/a 1234" on the 95/98 family' "$out_a" "exit=0"

    # A fatal failure while the verifier is loaded: without a loadable libGL,
    # Wine offers no pixel format, and the checked call ends the saver through
    # the orderly exit with the running flag on. Another process then reads
    # the flag back.
    expect "the flag is off before the failing run" "$(tool e2e_saver_running.exe)" "running=0"
    mkdir -p "$work/nogl"
    : >"$work/nogl/libGL.so.1"
    local fatal=$work/fatal.out
    (LD_LIBRARY_PATH=$work/nogl timeout 60 wine "$saver" /s >/dev/null 2>&1; echo "exit=$?" >"$fatal") &
    started+=($!)
    wait_for_window "#32770" Lumenfall >/dev/null || { fail "no error box on win98"; return; }
    expect "the flag is on while the error box shows" "$(tool e2e_saver_running.exe)" "running=1"
    hold_pointer_at 512 384
    xdotool key Return
    expect "the failed call ends the saver with 1" "$(wait_for_exit "$fatal")" "exit=1"
    expect "the fatal exit switched the flag off" "$(tool e2e_saver_running.exe)" "running=0"
}

check_error_box() {
    # Without a loadable libGL, Wine has no OpenGL pixel format to offer.
    mkdir -p "$work/nogl"
    : >"$work/nogl/libGL.so.1"
    local out=$work/nogl.out description
    (LD_LIBRARY_PATH=$work/nogl timeout 60 wine "$scr" /s >/dev/null 2>&1; echo "exit=$?" >"$out") &
    started+=($!)
    description=$(wait_for_window "#32770" Lumenfall) || { fail "no error box appeared"; return; }
    expect "error box text" "$(echo "$description" | grep -o 'title=ChoosePixelFormat failed\.')" \
        "title=ChoosePixelFormat failed."
    # The box is centred on the screen: the key goes to it under the pointer.
    hold_pointer_at 512 384
    xdotool key Return
    expect "the failed call ends the saver with 1" "$(wait_for_exit "$out")" "exit=1"
}

case "$area" in
command_lines) check_command_lines ;;
about_box) check_about_box ;;
full_screen) check_full_screen ;;
error_box) check_error_box ;;
preview) check_preview ;;
win98) check_win98 ;;
*) echo "unknown area: $area" >&2; exit 2 ;;
esac

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
