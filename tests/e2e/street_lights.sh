#!/usr/bin/env bash
# The sample city at night: from the main menu of a test-mode game, the
# console's LOADSCRIPT starts the night mission on the full city, whose
# street lamps lay pools of light on the streets and whose traffic lights
# change colour as their crossings cycle.
#
#   street_lights.sh VARNHOLT_EXE DATA_FOLDER WINE_RUN
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/game_session.sh"

started() { grep -q "mission $1 starts" Console.RTF; }
launch_game -F -TEST -W3
focus_game
wait_for 60 started Autoload || fail "the test mission did not start"
sleep 2
xdotool key --window "$window" Escape
sleep 2
console_command "loadscript night"
wait_for 90 started Night || fail "LOADSCRIPT did not start the night mission"
# The lights' halos fade in over the first second.
sleep 3
capture first.xwd
lit=$($screen lit first.xwd)
[ "$lit" -ge 2 ] || fail "lamps light only $lit per cent of the lower half"
# A crossing turns its green amber after 5 s and hands green on a second
# later: within 8 s some light has turned from red to green or back.
flips=0
for shot in 1 2 3 4 5 6 7 8; do
    sleep 1
    capture later.xwd
    flips=$($screen signals first.xwd later.xwd)
    [ "$flips" -lt 3 ] || break
done
[ "$flips" -ge 3 ] || fail "no traffic light changed colour in 8 s"
quit_game
echo "the night city is lit ($lit per cent of the lower half) and its traffic lights change colour ($flips pixels)"
