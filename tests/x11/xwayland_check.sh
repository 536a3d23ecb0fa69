#!/usr/bin/env bash
# xwayland_check.sh: runs an X11 command for a few seconds on a private,
# headless weston with Xwayland, and tells whether weston survived it.
#
#   xwayland_check.sh [-t SECONDS] [-n] [-k] [-q] -- COMMAND [ARGS...]
#
#   -t SECONDS  how long the command runs before the check (default 3)
#   -n          do not require a viewable window covering the screen
#   -k          keep the private directory (weston's logs) even on success
#   -q          quiet: only the verdict line
#
# Exits 0 when weston is still running after the command has had its time
# and (unless -n) a viewable top-level window covering the whole screen
# existed then; 1 otherwise, including when weston or Xwayland could not be
# started. Everything it starts is stopped by pid; nothing else is touched.
# WESTON_EXTRA_ARGS (optional) is appended to weston's command line.
set -u

run_for=3
need_window=1
keep=0
quiet=0
while getopts ":t:nkq" opt; do
  case $opt in
    t) run_for=$OPTARG ;;
    n) need_window=0 ;;
    k) keep=1 ;;
    q) quiet=1 ;;
    *) echo "usage: $0 [-t SECONDS] [-n] [-k] [-q] -- COMMAND [ARGS...]" >&2; exit 1 ;;
  esac
done
shift $((OPTIND - 1))
if [[ $# -eq 0 ]]; then
  echo "usage: $0 [-t SECONDS] [-n] [-k] [-q] -- COMMAND [ARGS...]" >&2
  exit 1
fi
if ! [[ $run_for =~ ^[0-9]+([.][0-9]+)?$ ]]; then
  echo "xwayland_check: -t wants a number of seconds" >&2
  exit 1
fi

say() { [[ $quiet -eq 1 ]] || echo "xwayland_check: $*"; }

dir=$(mktemp -d /tmp/weston-check.XXXXXX) || exit 1
chmod 700 "$dir"
weston_pid=""
command_pid=""
helpers=()  # weston's own children (Xwayland, shell clients), seen while it ran

# Alive and not a zombie.
running() {
  local pid=$1 state
  [[ -n $pid ]] || return 1
  state=$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null) || return 1
  [[ -n $state && $state != Z && $state != X ]]
}

# Sends TERM, waits up to $2 tenths of a second, then KILLs.
stop_pid() {
  local pid=$1 tenths=${2:-30} i
  running "$pid" || return 0
  kill -TERM "$pid" 2>/dev/null
  for ((i = 0; i < tenths; i++)); do
    running "$pid" || return 0
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null
}

note_helpers() {
  local child children
  [[ -n $weston_pid ]] || return 0
  read -ra children <<<"$(cat "/proc/$weston_pid/task/"*/children 2>/dev/null)"
  for child in "${children[@]}"; do
    [[ " ${helpers[*]} " == *" $child "* ]] || helpers+=("$child")
  done
}

cleanup() {
  local pid
  [[ -n $command_pid ]] && stop_pid "$command_pid" 20
  note_helpers
  if [[ -n $weston_pid ]] && grep -q weston "/proc/$weston_pid/cmdline" 2>/dev/null; then stop_pid "$weston_pid" 50; fi
  # Normally gone with weston; a helper that outlived it goes by its pid,
  # as long as that pid still belongs to one of weston's programs.
  for pid in "${helpers[@]}"; do
    if running "$pid" && grep -qE 'weston|Xwayland' "/proc/$pid/cmdline" 2>/dev/null; then stop_pid "$pid" 20; fi
  done
}

finish() {
  local verdict=$1 reason=$2
  cleanup
  if [[ $verdict -ne 0 ]]; then
    if [[ $quiet -eq 0 && -s $dir/weston.err ]]; then
      echo "xwayland_check: weston's stderr (last lines):"
      tail -n 5 "$dir/weston.err" | sed 's/^/  | /'
    fi
    echo "xwayland_check: FAIL: $reason (logs kept in $dir)"
  else
    echo "xwayland_check: PASS: $reason"
    if [[ $keep -eq 1 ]]; then echo "xwayland_check: logs kept in $dir"; else rm -rf "$dir"; fi
  fi
  exit "$verdict"
}
trap 'finish 1 "interrupted"' INT TERM HUP

# Xwayland's socket lives in the one system-wide directory X clients look in.
if [[ ! -d /tmp/.X11-unix ]]; then
  mkdir -p /tmp/.X11-unix 2>/dev/null && chmod 1777 /tmp/.X11-unix
fi
[[ -w /tmp/.X11-unix ]] || finish 1 "/tmp/.X11-unix is missing or not writable"
command -v weston >/dev/null || finish 1 "weston is not installed"
command -v Xwayland >/dev/null || finish 1 "Xwayland is not installed"

socket="weston-check-$$"
# shellcheck disable=SC2086  # the extra arguments are meant to split
env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$dir" \
  weston --backend=headless-backend.so --xwayland --socket="$socket" --no-config --idle-time=0 \
  --log="$dir/weston.log" --logger-scopes=log,xwm-wm-x11 ${WESTON_EXTRA_ARGS:-} \
  >"$dir/weston.out" 2>"$dir/weston.err" </dev/null &
weston_pid=$!
disown "$weston_pid"  # its death is looked for in /proc, not reported by the shell

display=""
for ((i = 0; i < 100; i++)); do
  display=$(sed -n 's/.*xserver listening on display \(:[0-9]\+\).*/\1/p' "$dir/weston.log" 2>/dev/null | tail -n 1)
  [[ -n $display ]] && break
  running "$weston_pid" || finish 1 "weston exited while starting"
  sleep 0.1
done
[[ -n $display ]] || finish 1 "weston did not announce an X display within 10 s"
say "weston pid $weston_pid, Wayland socket $dir/$socket, DISPLAY=$display"

# Xwayland starts when the first X client connects; make that happen (and
# wait for the window manager) before the command runs, so the command's
# time is not spent on the server's start.
if ! DISPLAY=$display timeout 15 xprop -root -len 1 _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1; then
  finish 1 "Xwayland did not come up on $display"
fi
for ((i = 0; i < 50; i++)); do
  grep -q 'created wm' "$dir/weston.log" 2>/dev/null && break
  sleep 0.1
done
note_helpers

say "running for ${run_for}s: $*"
DISPLAY=$display XDG_RUNTIME_DIR="$dir" GDK_BACKEND=x11 \
  env -u WAYLAND_DISPLAY "$@" >"$dir/command.out" 2>"$dir/command.err" </dev/null &
command_pid=$!
disown "$command_pid"

# Sleep the command's time, but look now and then whether weston died early.
deadline=$(awk -v t="$run_for" 'BEGIN{print int(t * 10)}')
for ((i = 0; i < deadline; i++)); do
  running "$weston_pid" || break
  sleep 0.1
done
note_helpers

full_window=""
on_top=""
shown=""
if running "$weston_pid"; then
  # The topmost viewable top-level window as large as the root (children
  # come bottom to top), and whether anything viewable lies above it.
  root_size=$(DISPLAY=$display timeout 5 xwininfo -root 2>/dev/null |
    awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
  top_viewable=""
  for id in $(DISPLAY=$display timeout 5 xwininfo -root -children 2>/dev/null |
    sed -n 's/^ *\(0x[0-9a-f]\+\) .*/\1/p'); do
    info=$(DISPLAY=$display timeout 5 xwininfo -id "$id" 2>/dev/null) || continue
    grep -q 'Map State: IsViewable' <<<"$info" || continue
    top_viewable=$id
    size=$(awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}' <<<"$info")
    [[ $size == "$root_size" ]] && full_window=$id
  done
  if [[ -n $full_window ]]; then
    [[ $full_window == "$top_viewable" ]] && on_top="on top" || on_top="NOT on top"
    # The compositor's side: weston gave the window a surface and showed it.
    grep -q "map shell surface, win $((full_window))," "$dir/weston.log" && shown="shown by weston" ||
      shown="no weston surface"
  fi
fi

command_state="still running"
running "$command_pid" || command_state="already ended"
if ! running "$weston_pid"; then
  abort_line=$(grep -m1 -E 'Assertion|Segmentation|Aborted' "$dir/weston.err" 2>/dev/null)
  finish 1 "weston died while the command ran (command $command_state)${abort_line:+: $abort_line}"
fi
if [[ $need_window -eq 1 && -z $full_window ]]; then
  finish 1 "weston survived, but no viewable full-screen window was found (command $command_state)"
fi
finish 0 "weston survived ${run_for}s of the command (command $command_state)${full_window:+; full-screen window $full_window viewable, $on_top, $shown}"
