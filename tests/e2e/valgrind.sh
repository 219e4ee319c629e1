#!/usr/bin/env bash
# The real program under valgrind's memcheck, under Xvfb with SDL's disk
# audio driver: start-up, a click on the title, two hits and two misses,
# a few seconds of countdown, a close request and the farewell. Passes when
# the program ends normally and memcheck reports no error at all: no invalid
# read or write, no use of uninitialised values, and no definitely or
# indirectly lost block outside the library leaks listed, each with its
# reason, in valgrind.supp. The hits and misses must reach the score file,
# so the run is known to have played.
#
# It takes half a minute or more, so it runs only when MOFRON_VALGRIND=1.
#   MOFRON_VALGRIND=1 tests/e2e/valgrind.sh BUILD-FOLDER
# MOFRON_E2E_KEEP=1 keeps the work folder with memcheck's logs.
set -euo pipefail
if [ "${MOFRON_VALGRIND:-}" != 1 ]; then
  echo "valgrind.sh: skipped; set MOFRON_VALGRIND=1 to run memcheck over the game (half a minute or more)"
  exit 0
fi
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
command -v valgrind > /dev/null || { echo "valgrind.sh: valgrind is not installed" >&2; exit 1; }
work=$(mktemp -d)
trap '[ -n "${MOFRON_E2E_KEEP:-}" ] && echo "valgrind.sh: kept in $work" || rm -rf "$work"' EXIT

cp "$build/game/mofron" "$work/"
cp -r "$build/game/cg" "$build/game/dat" "$work/"
cp "$here/lib/x11.sh" "$here/valgrind.supp" "$work/"
printf 'E2E\r\n7\r\n0\r\n4\r\n2\r\n' > "$work/dat/my.dat"
c++ -O1 -o "$work/wm_close" "$here/wm_close.cpp" -lX11

cat > "$work/inside.sh" <<'INSIDE'
set -euo pipefail
work=$1
source "$work/x11.sh"
fail() { echo "valgrind.sh: $*" >&2; exit 1; }
# Everything is many times slower under memcheck: wait longer.
# Each try waits up to 10 s.
patiently() { for _ in $(seq 9); do "$@" && return 0; done; return 1; }

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/effects.raw" \
  valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect \
  --errors-for-leak-kinds=definite,indirect --num-callers=40 --gen-suppressions=all \
  --suppressions="$work/valgrind.supp" --log-file="$work/memcheck.%p.log" \
  "$work/mofron" 2> "$work/err.txt" &
game=$!
trap 'kill -KILL $game 2>/dev/null || true' EXIT
echo $game > "$work/pid"

main=$(patiently wait_window "モフロンちゃんのさがしっこ？") || fail "no game window"
click() { xdotool mousemove --window "$main" "$1" "$2" click 1; }
# The number of the pair whose left picture is on screen.
pair_on_screen() {
  timeout 10 xwd -silent -id "$main" > "$work/shot.xwd" || return 1
  convert "xwd:$work/shot.xwd" -crop 200x300+0+0 +repage "$work/shot.png"
  for n in 1 2 3 4 5 6 7 8 9; do
    error=$(compare -metric MAE "$work/shot.png" "$work/cg/$n.bmp[200x300+0+0]" null: 2>&1 |
      sed 's/.*(\(.*\)).*/\1/')
    awk -v e="$error" 'BEGIN { exit !(e < 0.08) }' && { echo "$n"; return 0; }
  done
  return 1
}
wait_pair() {
  for _ in $(seq 100); do pair_on_screen && return 0; sleep 0.2; done
  return 1
}
# Where the artwork of each pair differs: column and row of a 66 x 75 grid.
cols=(0 3 3 2 2 1 1 2 2 1)
rows=(0 1 3 1 3 3 1 2 3 1)

sleep 2
click 200 150
for turn in hit miss hit miss; do
  pair=$(wait_pair) || fail "no pair on screen for the $turn"
  sleep 1.5  # until the whole pair is in and takes clicks
  if [ "$turn" = hit ]; then
    click $(((cols[pair] - 1) * 66 + 33)) $(((rows[pair] - 1) * 75 + 37))
  else
    click 100 280  # below every cell
  fi
  echo "valgrind.sh: a $turn on pair $pair"
  sleep 1.5  # the answer picture, before the next pair comes in
done
sleep 3  # countdown ticks

"$work/wm_close" "$main"
dialog=$(patiently wait_window "モフロンちゃん") || fail "no farewell dialog"
xdotool windowfocus --sync "$dialog" key Return
# The leak check at the end takes a while.
patiently wait_exit $game || fail "the program did not end"
status=0
wait $game || status=$?
trap - EXIT
[ $status -eq 0 ] || fail "the program ended with status $status"
INSIDE

xvfb-run -a -s "-screen 0 800x600x24" bash "$work/inside.sh" "$work"

log="$work/memcheck.$(cat "$work/pid").log"
[ -f "$log" ] || { echo "valgrind.sh: no memcheck log" >&2; exit 1; }
figure() { sed -n "s/.*$1: \([0-9,]*\) bytes in \([0-9,]*\) blocks.*/\1 bytes in \2 blocks/p" "$log"; }
errors=$(sed -n 's/.*ERROR SUMMARY: \([0-9,]*\) errors.*/\1/p' "$log")
echo "valgrind.sh: errors ${errors:-?}, definitely lost $(figure "definitely lost"), indirectly lost $(figure "indirectly lost"), suppressed $(figure suppressed)"

read -r name best flag score misses <<< "$(tr -d '\r' < "$work/dat/my.dat" | paste -sd ' ')"
if [ "$name $best $flag $score $misses" != "E2E 7 1 2 2" ]; then
  echo "valgrind.sh: the hits and misses did not all land; dat/my.dat holds: $name $best $flag $score $misses" >&2
  exit 1
fi
if [ "${errors:-x}" != 0 ]; then
  grep -v -E '^==[0-9]+== *$' "$log" | tail -n 300 >&2
  echo "valgrind.sh: memcheck found errors (the end of its log is above)" >&2
  exit 1
fi
echo "valgrind.sh: no memory errors and no leaks of ours"
