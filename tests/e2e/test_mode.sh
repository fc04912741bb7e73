#!/usr/bin/env bash
# The living demo: "Varnholt.exe -TEST" loads the test mission behind the
# loading screen, whose bar rises, and enters the game, where the mission's
# start node fires and the camera looks over the test city under the day sky
# the mission loads. Pause dims the game, Escape opens the main menu over it
# and its Resume item returns to it; from the menu, the console's LOADSCRIPT
# starts the mission again. The console takes commands ("PRINTMLPSTACK" logs
# the module stack, "EXIT" ends the game cleanly), Print Screen takes
# screenshots with the console open, the sound device opens and no resource
# of the sample data is missing.
#
#   test_mode.sh VARNHOLT_EXE DATA_FOLDER WINE_RUN
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/game_session.sh"

# Verbose, so the log shows the sound device opening.
launch_game -F -TEST -W3

# The loading takes a few dozen frames: the game runs in short bursts, held
# between them, and the window is read while it is held, until the bar has
# been seen at two lengths. Bursts are shorter once the bar shows.
kill -STOP "$game_pid"
first_length=0
second_length=0
burst=0.1
for _ in $(seq 600); do
    kill -CONT "$game_pid"
    sleep "$burst"
    kill -STOP "$game_pid"
    capture loading.xwd
    length=$($screen bar loading.xwd)
    [ "$length" -eq 0 ] || burst=0.02
    if [ "$first_length" -eq 0 ]; then
        first_length=$length
    elif [ "$length" -gt "$first_length" ]; then
        second_length=$length
        break
    fi
done
kill -CONT "$game_pid"
[ "$first_length" -gt 0 ] || fail "the loading bar never showed"
[ "$second_length" -gt 0 ] || fail "the loading bar stayed $first_length pixels long"
echo "the loading bar rose from $first_length to $second_length pixels"

focus_game
game_shown() {
    capture game.xwd
    [ "$($screen mean game.xwd)" -gt 100 ]
}
wait_for 60 game_shown || fail "the game did not show after loading"
# At -W3 the log tells when the mission's start node fires.
started_missions() { grep -c 'dcStartTrigger: mission Autoload starts' Console.RTF || true; }
[ "$(started_missions)" -eq 1 ] || fail "the test mission's start node fired $(started_missions) times"
take_screenshot
colours=$($screen colours Shot0001.TGA)
[ "$colours" -gt 20 ] || fail "the game shows only $colours colours"
# The test city under its day sky, as the camera looks over it: sky in the
# top rows, no ground there, streets and grass below the middle.
read -r sky_top ground_top ground_below <<<"$($screen city Shot0001.TGA)"
[ "$sky_top" -ge 90 ] || fail "only $sky_top% of the top rows show the sky"
[ "$ground_top" -le 2 ] || fail "$ground_top% of the top third shows ground: the picture stands upside down"
[ "$ground_below" -ge 25 ] || fail "only $ground_below% below the middle shows streets or grass"
echo "the city shows under its sky: $sky_top% sky at the top, $ground_below% ground below the middle"
shown=$($screen mean game.xwd)

# Pause darkens the game under the pause text; a second Pause lifts it.
xdotool key --window "$window" Pause
sleep 2
capture paused.xwd
paused=$($screen mean paused.xwd)
[ "$paused" -lt $((shown * 3 / 4)) ] || fail "Pause left the game at brightness $paused of $shown"
xdotool key --window "$window" Pause
wait_for 10 game_shown || fail "the game stayed dark after the second Pause"

# Escape opens the main menu over the game, which stays on the module stack;
# its first item, Resume, takes the player back.
xdotool key --window "$window" Escape
menu_shown() {
    capture menu.xwd
    [ "$($screen mean menu.xwd)" -lt $((shown / 2)) ]
}
wait_for 20 menu_shown || fail "Escape did not open the main menu"
xdotool key --window "$window" Return
wait_for 20 game_shown || fail "Resume did not return to the game"

# The console takes commands as a player types them; Print Screen still
# takes a screenshot while it is open.
xdotool key --window "$window" grave
sleep 1
xdotool key --window "$window" Print
wait_for 30 test -f Shot0002.TGA || fail "no screenshot Shot0002.TGA while the console is open"
xdotool type --window "$window" printmlpstack
xdotool key --window "$window" Return
wait_for 30 grep -q 'MLPStack has 2 entries' Console.RTF || fail "PRINTMLPSTACK did not report the module stack"
xdotool key --window "$window" grave

# From the main menu, LOADSCRIPT starts a mission through the loading screen.
xdotool key --window "$window" Escape
wait_for 20 menu_shown || fail "Escape did not open the main menu a second time"
xdotool key --window "$window" grave
sleep 1
xdotool type --window "$window" "loadscript autoload"
xdotool key --window "$window" Return
xdotool key --window "$window" grave
second_start() { [ "$(started_missions)" -eq 2 ]; }
wait_for 60 second_start || fail "LOADSCRIPT did not start the mission"
wait_for 60 game_shown || fail "the game did not show after LOADSCRIPT"
xdotool key --window "$window" grave
sleep 1
xdotool type --window "$window" exit
xdotool key --window "$window" Return
expect_clean_exit
grep -q '1\. Game' Console.RTF || fail "the game module was not the current module"
grep -q 'DS8Audio: DirectSound inited' Console.RTF || fail "the sound device did not open"
# Missing resources are logged with their name in red.
if grep -q 'cf1 ' Console.RTF; then
    fail "missing resources: $(grep 'cf1 ' Console.RTF | head -n 3)"
fi
echo "the test mission loaded, paused, opened the menu, resumed, loaded again from the menu, took EXIT and shut down cleanly"
