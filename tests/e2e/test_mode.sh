#!/usr/bin/env bash
# The living demo: "Varnholt.exe -TEST" draws its test scene, takes console
# commands ("PRINTMLPSTACK" logs the module stack, "EXIT" ends it cleanly),
# takes screenshots with the console open, opens the sound device for the
# car's engine and logs no missing resource on the sample data.
#
#   test_mode.sh VARNHOLT_EXE DATA_FOLDER WINE_RUN
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/game_session.sh"

# Verbose, so the log shows the sound device opening.
start_game -F -TEST -W3
take_screenshot
colours=$(python3 -c 'd=open("Shot0001.TGA","rb").read()[18:]; print(len({d[i:i+3] for i in range(0, len(d), 4)}))')
[ "$colours" -gt 20 ] || fail "the test scene shows only $colours colours"

# The console takes commands as a player types them; Print Screen still
# takes a screenshot while it is open.
xdotool key --window "$window" grave
sleep 1
xdotool key --window "$window" Print
wait_for 30 test -f Shot0002.TGA || fail "no screenshot Shot0002.TGA while the console is open"
xdotool type --window "$window" printmlpstack
xdotool key --window "$window" Return
wait_for 30 grep -q 'MLPStack has 1 entries' Console.RTF || fail "PRINTMLPSTACK did not report the module stack"
xdotool type --window "$window" exit
xdotool key --window "$window" Return
expect_clean_exit
grep -q 'DS8Audio: DirectSound inited' Console.RTF || fail "the sound device did not open"
# Missing resources (the car's engine sound among them) are logged with their name in red.
if grep -q 'cf1 ' Console.RTF; then
    fail "missing resources: $(grep 'cf1 ' Console.RTF | head -n 3)"
fi
echo "the test scene drew, took EXIT and shut down cleanly"
