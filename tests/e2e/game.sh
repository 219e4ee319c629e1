#!/usr/bin/env bash
# Two whole games of the real program under Xvfb, with real clicks: a click
# on the title starts a game, clicks below the cells miss (each costs a
# second) until the result screen shows; the retry choice goes back to the
# title, a second game is played to its end, and the quit choice closes the
# window: the farewell dialog comes, Return dismisses it, the program ends
# and the score file holds the five lines. Runs on a copy of the game
# folder, so the player's score file is left alone. Screenshots are kept in
# $MOFRON_E2E_SHOTS when that is set.
#   tests/e2e/game.sh BUILD-FOLDER
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp "$build/game/mofron" "$work/"
cp -r "$build/game/cg" "$build/game/dat" "$work/"
cp "$(dirname "$0")/lib/x11.sh" "$work/"
# The result picture is compiled into the program; its source picture is
# in the build, or the stand-in from the tests when the artwork is not.
ending="$build/assets/embedded/ending.bmp"
[ -f "$ending" ] || ending="$(cd "$(dirname "$0")/.." && pwd)/game/data/embedded/ending.bmp"
cp "$ending" "$work/ending.bmp"
printf 'E2E\r\n0\r\n0\r\n4\r\n2\r\n' > "$work/dat/my.dat"

cat > "$work/inside.sh" <<'INSIDE'
set -euo pipefail
work=$1
fail() { echo "game.sh: $*" >&2; exit 1; }

. "$work/x11.sh"
click() { xdotool mousemove --window "$main" "$1" "$2" click 1; }

# The picture area as a PNG.
shot() {
  timeout 5 xwd -silent -id "$main" > "$work/shot.xwd"
  convert "xwd:$work/shot.xwd" -crop 400x300+0+0 +repage "$1"
}
# Mean absolute difference (0 to 1) of two pictures over a region; the
# picture trembles by a few pixels, so only loose thresholds make sense.
difference() {
  compare -metric MAE "$1[$3]" "$2[$3]" null: 2>&1 | sed 's/.*(\(.*\)).*/\1/'
}
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

# Left of the score texts, the result screen is the result picture.
on_result_screen() {
  shot "$work/now.png"
  below "$(difference "$work/now.png" "$work/ending.bmp" 220x300+0+0)" 0.08
}

# Misses until the result screen shows; a 50-second game with misses ends
# in well under a minute.
play_to_the_end() {
  local game=$1
  for round in $(seq 100); do
    xdotool mousemove --window "$main" 100 280 click --repeat 20 --delay 50 1
    if on_result_screen; then
      cp "$work/now.png" "$work/result$game.png"
      echo "game $game: result screen after $round rounds of clicks"
      return 0
    fi
  done
  fail "game $game: no result screen"
}

SDL_AUDIODRIVER=dummy "$work/mofron" > "$work/out.txt" 2>&1 &
game=$!
trap 'kill $game 2>/dev/null || true' EXIT

main=$(wait_window "モフロンちゃんのさがしっこ？") || fail "no game window"
sleep 1
shot "$work/title.png"
below "$(difference "$work/title.png" "$work/cg/start.bmp" 400x300+0+0)" 0.08 ||
  fail "the title screen does not show cg/start.bmp"

click 200 150
sleep 1
shot "$work/game.png"
below "$(difference "$work/game.png" "$work/cg/start.bmp" 400x300+0+0)" 0.08 &&
  fail "the click on the title did not start a game"
play_to_the_end 1

click 20 230  # retry
sleep 0.5
shot "$work/retry.png"
below "$(difference "$work/retry.png" "$work/cg/start.bmp" 400x300+0+0)" 0.08 ||
  fail "retry did not bring back the title screen"

click 200 150
sleep 1
on_result_screen && fail "the second game did not start"
play_to_the_end 2

click 20 280  # quit
dialog=$(wait_window "モフロンちゃん") || fail "no farewell dialog after quitting"
xdotool windowfocus --sync "$dialog" key Return
wait_exit $game || fail "the program did not end after the farewell"
wait $game || fail "the program ended with status $?"
INSIDE

xvfb-run -a -s "-screen 0 800x600x24" bash "$work/inside.sh" "$work"
if [ -n "${MOFRON_E2E_SHOTS:-}" ]; then
  mkdir -p "$MOFRON_E2E_SHOTS"
  cp "$work"/title.png "$work"/game.png "$work"/result*.png "$work"/retry.png "$MOFRON_E2E_SHOTS/"
fi

# Every click missed: no hits, so the best stays 0 and the last game's
# score is 0; the misses of both games count.
lines=$(tr -d '\r' < "$work/dat/my.dat" | paste -sd ' ')
read -r name best flag score misses extra <<< "$lines"
if [ "$name $best $flag $score" != "E2E 0 1 0" ] || [ -n "${extra:-}" ] ||
   ! [[ "$misses" =~ ^[0-9]+$ ]] || [ "$misses" -lt 2 ] || [ "$misses" -gt 100 ] ||
   [ "$(tr -cd '\r' < "$work/dat/my.dat" | wc -c)" -ne 5 ]; then
  echo "game.sh: dat/my.dat holds:" >&2
  od -c "$work/dat/my.dat" >&2
  exit 1
fi
echo "game.sh: two games played, $misses misses, score file written"
