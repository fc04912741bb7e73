#!/usr/bin/env bash
# The living demo: "Varnholt.exe -TEST" draws its test scene, takes console
# commands ("EXIT" ends it cleanly) and logs no error on the sample data.
# Runs under the test runner's display and namespace.
#
#   test_mode.sh VARNHOLT_EXE DATA_FOLDER WINE_RUN
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

cp -r "$data"/. "$work"/
cd "$work"
"$wine_run" "$exe" -F -TEST &
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
colours=$(python3 -c 'import sys; d=open("Shot0001.TGA","rb").read()[18:]; print(len({d[i:i+3] for i in range(0, len(d), 4)}))')
[ "$colours" -gt 20 ] || fail "the test scene shows only $colours colours"

# The console takes "EXIT" like a player types it.
xdotool key --window "$window" grave
sleep 1
xdotool type --window "$window" exit
xdotool key --window "$window" Return
status=0
wait_for 30 bash -c "! kill -0 $game_pid" || true
wait "$game_pid" || status=$?
game_pid=
[ "$status" -eq 0 ] || fail "exit code $status"
grep -q 'Shutting down\.\.\.' Console.RTF || fail "no shutdown in Console.RTF"
if grep -E 'cf1 ' Console.RTF | grep -v -E '^\\cf0 \\cf1 EntityDump' >/dev/null; then
    fail "error lines in Console.RTF: $(grep -E 'cf1 ' Console.RTF | head -n 3)"
fi
echo "the test scene drew, took EXIT and shut down cleanly"
