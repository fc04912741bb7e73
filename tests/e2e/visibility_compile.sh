#!/usr/bin/env bash
# The visibility compile of a test-mode game: on the console, SPLITCOUNT
# makes the grid coarse and VISCOMPILE draws every block from its corners
# and writes "Misc\PreFuckWorld.DCV" and "Misc\World.DCV". The next start
# reads the cache and draws no more than before.
#
#   visibility_compile.sh VARNHOLT_EXE DATA_FOLDER WINE_RUN
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/game_session.sh"

loaded() { grep -q 'mission Autoload starts' Console.RTF; }
# The city is drawn, not a frame of the loading screen's fade (a busy
# machine can take seconds more to show it); then it settles.
city_shown() {   # file
    capture "$1"
    [ "$($screen colours "$1")" -gt 20 ]
}
# The settled view's mean brightness and colour count, once the city shows.
settled_view() {   # file
    wait_for 30 city_shown "$1" || fail "the test city did not show"
    sleep 4
    capture "$1"
    echo "$($screen mean "$1") $($screen colours "$1")"
}
# At -W3 the loader tells when it reads a cache.
launch_game -F -TEST -W3
focus_game
wait_for 60 loaded || fail "the test mission did not start"
before=$(settled_view before.xwd)
! grep -q 'World.DCV read' Console.RTF || fail "a visibility cache was read before any was compiled"
[ ! -e Misc/World.DCV ] || fail "the sample data holds a visibility cache"

console_command "splitcount 2"
console_command viscompile
wait_for 60 test -s Misc/World.DCV || fail "VISCOMPILE wrote no Misc\\World.DCV"
[ -s Misc/PreFuckWorld.DCV ] || fail "VISCOMPILE wrote no Misc\\PreFuckWorld.DCV"
sectors=$(grep -c 'Sector [0-9]* / ' Console.RTF || true)
blocks=$(grep -c 'Block has [0-9]* visible entities' Console.RTF || true)
[ "$sectors" -gt 0 ] || fail "the compile drew no views"
[ "$blocks" -gt 0 ] || fail "the compile listed no blocks"
grep -q 'Occlusion completed after [0-9]* runs' Console.RTF || fail "no block's occlusion queries completed"
quit_game
echo "VISCOMPILE drew $sectors views and listed $blocks blocks"

launch_game -F -TEST -W3
focus_game
wait_for 60 loaded || fail "the test mission did not start with the visibility cache"
after=$(settled_view after.xwd)
read -r _ before_colours <<<"$before"
read -r _ after_colours <<<"$after"
# The cache never draws more: the overview camera stands outside the grid,
# where the blocks' lists do not reach, so it draws at most what it drew
# while every object was tested.
[ "$after_colours" -le "$before_colours" ] || fail "the view showed $after_colours colours with the cache, $before_colours without"
grep -q 'World.DCV read: [0-9]* blocks' Console.RTF || fail "the visibility cache was not read"
quit_game
echo "the next start read the visibility cache and drew no more (colours $after_colours, $before_colours without)"
