#!/usr/bin/env bash
# Drives the real program under an X server as a person would: start it, pick a document with
# the keyboard, send it to the word processor with the tool button, open and close Help >
# About, leave with File > Exit. HOME is a temporary folder; xdg-open is a recording stand-in.
#   end_to_end.sh <veltrano binary> <documents folder>     (run inside xvfb-run)
set -euo pipefail
program=$1
documents=$2
for tool in xdotool cmp; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no X display (run under xvfb-run)"; exit 1; }

home=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$home"' EXIT
mkdir -p "$home/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s/opened.log"\n' "$home" > "$home/bin/xdg-open"
chmod +x "$home/bin/xdg-open"
folder=$home/MORVANTELIKS
fail() { echo "FAIL: $*"; exit 1; }
wait_for() { # seconds, condition...
    local limit=$(( $1 * 20 )); shift
    for ((i = 0; i < limit; i++)); do "$@" && return 0; sleep 0.05; done
    return 1
}
# Names match without regard to case, so the error box ("veltrano") is told from the main
# window by its id.
window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -vx "${main:-none}" | tail -1 || true; }
# Clicks at (dx, dy) from a window's top-left corner; negative values count from the far side.
click_in() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    local x=$(( $2 < 0 ? X + WIDTH + $2 : X + $2 )) y=$(( $3 < 0 ? Y + HEIGHT + $3 : Y + $3 ))
    xdotool mousemove "$x" "$y" click 1
}
has_window() { [ -n "$(window_named "$1")" ]; }
no_window() { [ -z "$(window_named "$1")" ]; }

# A working file left by an earlier run goes at start.
mkdir -p "$folder" && echo stale > "$folder/r.rtf"
HOME=$home PATH="$home/bin:$PATH" "$program" &
pid=$!
wait_for 10 has_window '^Veltrano$' || fail "the main window did not appear"
main=$(window_named '^Veltrano$')
[ ! -e "$folder/r.rtf" ] || fail "the stale working file is still there"
eval "$(xdotool getwindowgeometry --shell "$main")"
left=$X top=$Y
xdotool windowfocus --sync "$main" 2>/dev/null || xdotool mousemove $((left + 100)) $((top + 300)) click 1

# The first document of the first group, with the keyboard.
xdotool key --delay 100 Home Right Down
expected="$documents/DOC_1.rtf"
wait_for 5 cmp -s "$expected" "$folder/r.rtf" || fail "the working file is not DOC_1"
echo "working file equals DOC_1"

# Send to Word with the tool button (the first one, below the menu bar).
xdotool mousemove $((left + 27)) $((top + 41)) click 1
handoff="$folder/протокол_разногласий.rtf"
wait_for 5 test -f "$handoff" || fail "no hand-off file"
cmp -s "$expected" "$handoff" || fail "the hand-off file differs from the document"
[ ! -e "$folder/r.rtf" ] || fail "the working file is still there after Send to Word"
wait_for 5 grep -qxF "$handoff" "$home/opened.log" || fail "the opener was not asked to open $handoff"
echo "handed off and opened: $(cat "$home/opened.log")"

# Help > About, closed with its OK button (without a window manager Return does not reach it).
xdotool mousemove $((left + 93)) $((top + 9)) click 1
sleep 0.3
xdotool key --delay 100 Down Return
wait_for 5 has_window '^About$' || fail "the About box did not open"
about=$(window_named '^About$')
click_in "$about" 148 192 # OK
wait_for 5 no_window '^About$' || fail "OK did not close the About box"
echo "About box opened and closed"

# File > Exit.
xdotool mousemove $((left + 15)) $((top + 9)) click 1
sleep 0.3
xdotool key --delay 100 Down Return
wait_for 10 bash -c "! kill -0 $pid 2>/dev/null" || fail "the program did not end"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit code $status"
[ -d "$folder" ] || fail "the working folder is gone"
[ ! -e "$folder/r.rtf" ] || fail "the working file is still there after Exit"
[ -f "$handoff" ] || fail "the hand-off file is gone"
echo "exited with 0; working file gone, folder and hand-off file kept"
echo "1 passed, 0 failed"
