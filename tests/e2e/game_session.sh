# A game run for the end-to-end checks: a copy of the data (so screenshots and
# logs stay out of the player's folder), the game started in a window under
# the runner's display, and the helpers the checks use. Sourced with
#   VARNHOLT_EXE DATA_FOLDER WINE_RUN
# as the script's arguments; start_game takes the game's switches.

exe=$(realpath "$1")
data=$(realpath "$2")
wine_run=$(realpath "$3")

# Debian's own interpreter starts fastest; the checks call it often.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
screen="$python $(realpath "$(dirname "${BASH_SOURCE[0]}")")/screen.py"

work=$(mktemp -d)
game_pid=
window=
cleanup() {
    [ -z "$game_pid" ] || kill -CONT "$game_pid" 2>/dev/null || true
    [ -z "$game_pid" ] || kill "$game_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/Console.RTF" ] && tail -n 20 "$work/Console.RTF" >&2
    exit 1
}

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

# Starts the game and returns as soon as its window exists. The first start
# copies the data, without any settings a player's run left there; later
# starts run on what the earlier ones left.
launch_game() {
    if [ -z "$(ls -A "$work")" ]; then
        cp -r "$data"/. "$work"/
        rm -f "$work/Misc/Config.VKS"
    fi
    cd "$work"
    "$wine_run" "$exe" "$@" &
    game_pid=$!
    wait_for 60 xdotool search --name '^Varnholt$' || fail "no window named Varnholt"
    window=$(xdotool search --name '^Varnholt$' | head -n 1)
}

focus_game() {
    xdotool windowfocus "$window" || true
}

start_game() {
    launch_game "$@"
    sleep 1
    focus_game
}

# What the window shows now, as an X window dump.
capture() {   # file
    xwd -silent -id "$window" >"$1"
}

screenshot_written() {
    xdotool key --window "$window" Print
    [ -f Shot0001.TGA ] && [ "$(stat -c %s Shot0001.TGA)" -eq $((18 + 800 * 600 * 4)) ]
}

take_screenshot() {
    wait_for 30 screenshot_written || fail "no 800 x 600 screenshot Shot0001.TGA"
}

# Waits for the game to end and checks it ended well.
expect_clean_exit() {
    local status=0
    for _ in $(seq 300); do
        kill -0 "$game_pid" 2>/dev/null || break
        sleep 0.1
    done
    wait "$game_pid" || status=$?
    game_pid=
    [ "$status" -eq 0 ] || fail "exit code $status"
    grep -q 'Shutting down\.\.\.' Console.RTF || fail "no shutdown in Console.RTF"
    # A device still held at the end keeps Direct3D's thread running into the
    # exit, where Wine's server may kill the process.
    ! grep -q 'still hold the device' Console.RTF || fail "the video device outlived the game"
}

# The console repeats each command it takes in the log. A key pressed while
# the window is still settling can be lost: the console is opened until the
# picture shows it, and a command that did not arrive is typed again.
screen_mean() {
    capture mean.xwd
    $screen mean mean.xwd
}
console_command() {   # text
    for _ in 1 2 3; do
        focus_game
        local closed
        closed=$(screen_mean)
        xdotool key --window "$window" grave
        sleep 1.5
        [ "$(screen_mean)" != "$closed" ] || continue
        xdotool type --window "$window" "$1"
        xdotool key --window "$window" Return
        local taken=0
        wait_for 5 grep -q "$1" Console.RTF && taken=1
        xdotool key --window "$window" grave
        sleep 1.5
        [ "$taken" -eq 0 ] || return 0
    done
    fail "the console did not take $1"
}
quit_game() {
    xdotool key --window "$window" grave
    sleep 1
    xdotool type --window "$window" exit
    xdotool key --window "$window" Return
    expect_clean_exit
}
