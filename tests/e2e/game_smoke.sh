#!/usr/bin/env bash
# The game as a player meets it: Varnholt.exe starts in a window on the sample
# data, plays its intro movie, takes a screenshot on Print Screen, closes on
# Alt+F4, exits with 0 and logs its shutdown.
#
#   game_smoke.sh VARNHOLT_EXE DATA_FOLDER WINE_RUN
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/game_session.sh"

start_game -F
take_screenshot
header=$(od -An -tx1 -j12 -N6 Shot0001.TGA | tr -d ' \n')
[ "$header" = "200358022000" ] || fail "screenshot header $header"

xdotool key --window "$window" alt+F4
expect_clean_exit
echo "the game started, took a screenshot and shut down"
