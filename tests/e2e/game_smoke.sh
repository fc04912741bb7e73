#!/usr/bin/env bash
# The game as a player meets it: Varnholt.exe starts in a window on the sample
# data, plays its intro movie, takes a screenshot on Print Screen, closes on
# Alt+F4, exits with 0 and logs its shutdown. Runs under the test runner's
# display and namespace.
#
#   game_smoke.sh VARNHOLT_EXE DATA_FOLDER WINE_RUN
set -euo pipefail

exe=$(realpath "$1")
data=$(realpath "$2")
wine_run=$(realpath "$3")

work=$(mktemp -d)
game_pid=
cleanup() {
    [ -z "$game_pid" ] || kill "$game_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/Console.RTF" ] && tail -n 20 "$work/Console.RTF" >&2
    exit 1
}

# A copy of the data, so the test's screenshot and log stay out of the player's folder.
cp -r "$data"/. "$work"/
cd "$work"
"$wine_run" "$exe" -F &
game_pid=$!

wait_for() {   # seconds, then a command that succeeds when the wait is over
    local seconds=$1
    shift
    for _ in $(seq $((seconds * 10))); do
        "$@" >/dev/null 2>&1 && return 0
        kill -0 "$game_pid" 2>/dev/null || fail "the game ended early"
        sleep 0.1
    done
    return 1
}

wait_for 60 xdotool search --name '^Varnholt$' || fail "no window named Varnholt"
window=$(xdotool search --name '^Varnholt$' | head -n 1)
sleep 1
xdotool windowfocus "$window" || true

screenshot_written() {
    xdotool key --window "$window" Print
    [ -f Shot0001.TGA ] && [ "$(stat -c %s Shot0001.TGA)" -eq $((18 + 800 * 600 * 4)) ]
}
wait_for 30 screenshot_written || fail "no 800 x 600 screenshot Shot0001.TGA"
header=$(od -An -tx1 -j12 -N6 Shot0001.TGA | tr -d ' \n')
[ "$header" = "20035802" ] || [ "$header" = "200358022000" ] || fail "screenshot header $header"

xdotool key --window "$window" alt+F4
status=0
wait "$game_pid" || status=$?
game_pid=
[ "$status" -eq 0 ] || fail "exit code $status"
grep -q 'Shutting down\.\.\.' Console.RTF || fail "no shutdown in Console.RTF"
echo "the game started, took a screenshot and shut down"
