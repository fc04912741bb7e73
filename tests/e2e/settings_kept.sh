#!/usr/bin/env bash
# A settings change in the menu survives a restart. The first run starts
# without "Misc\Config.VKS" and writes it with the defaults as soon as its
# frame loop runs; the music volume slider of the main menu, held left with
# the arrow key, turns the music off, which the file shows a moment later;
# Q ends the game. The second run loads that file and writes it again at
# once and when it ends: with the music still off, not with the defaults.
#
#   settings_kept.sh VARNHOLT_EXE DATA_FOLDER WINE_RUN
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/game_session.sh"
python=/usr/bin/python3
[ -x "$python" ] || python=python3
volumes="$python $(dirname "${BASH_SOURCE[0]}")/settings_volumes.py"

settings=Misc/Config.VKS
volumes_are() {   # "sound music"
    [ -f "$settings" ] && [ "$($volumes "$settings")" = "$1" ]
}
saved_at() {
    $python -c "import os, sys; print(os.stat(sys.argv[1]).st_mtime_ns)" "$settings"
}
saved_after() {   # time
    [ "$(saved_at)" -gt "$1" ]
}
settings_reported() {
    if grep -q 'Config\.VKS' Console.RTF; then
        fail "the settings file was reported: $(grep 'Config\.VKS' Console.RTF | head -n 2)"
    fi
}
# Q until the game has gone: a key sent while the game starts can be lost.
quit_with_q() {
    for _ in $(seq 30); do
        xdotool key --window "$window" q || true
        sleep 1
        kill -0 "$game_pid" 2>/dev/null || break
    done
    expect_clean_exit
}

# -M: no intro movie.
start_game -F -M
wait_for 60 volumes_are "0.60 0.60" || fail "the defaults were not saved"

# The frame-rate row has the focus; the music volume is two rows down.
focus_game
xdotool key --window "$window" Down
sleep 0.5
xdotool key --window "$window" Down
sleep 0.5
xdotool keydown --window "$window" Left
sleep 2
xdotool keyup --window "$window" Left
wait_for 20 volumes_are "0.60 0.00" || fail "the music volume was not saved: $($volumes "$settings")"
quit_with_q
volumes_are "0.60 0.00" || fail "the shutdown saved $($volumes "$settings")"
settings_reported
first_run=$(saved_at)

sleep 1
start_game -F -M
wait_for 60 saved_after "$first_run" || fail "the second run did not save its settings"
volumes_are "0.60 0.00" || fail "the restart lost the music volume: $($volumes "$settings")"
quit_with_q
volumes_are "0.60 0.00" || fail "the second shutdown saved $($volumes "$settings")"
settings_reported
[ ! -f "$settings.new" ] || fail "a half-written $settings.new was left"
echo "the music volume turned off in the menu was saved, kept over a restart and saved again"
