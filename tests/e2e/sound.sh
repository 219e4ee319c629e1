#!/usr/bin/env bash
# The real program heard through SDL's disk audio driver: a click on the
# title screen queues the click and the start jingle, the countdown ticks
# about once a second, and the music goes to an output of its own. Then,
# with no sound device at all, the program reports it and shows no window.
#   tests/e2e/sound.sh BUILD-FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "sound.sh: $*" >&2; exit 1; }

cp "$build/game/mofron" "$work/"
cp -r "$build/game/cg" "$build/game/dat" "$work/"
cp "$(dirname "$0")/lib/x11.sh" "$work/"
printf '\r\n0\r\n0\r\n0\r\n0\r\n' > "$work/dat/my.dat"
c++ -O1 -o "$work/wm_close" "$here/wm_close.cpp" -lX11
for name in 1 start time; do
  "$build/tests/convert_wave" "$work/dat/$name.wav" > "$work/$name.u8"
done

cat > "$work/inside.sh" <<'INSIDE'
set -euo pipefail
work=$1
fail() { echo "sound.sh: $*" >&2; exit 1; }
. "$work/x11.sh"

# Part one: a game with sound.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/effects.raw" "$work/mofron" 2> "$work/err1.txt" &
game=$!
trap 'kill $game 2>/dev/null || true' EXIT
main=$(wait_window "モフロンちゃんのさがしっこ？") || fail "no game window"
sleep 1
xdotool mousemove --window "$main" 200 150 click 1
sleep 4.5
"$work/wm_close" "$main"
dialog=$(wait_window "モフロンちゃん") || fail "no farewell dialog"
xdotool windowfocus --sync "$dialog" key Return
wait_exit $game || fail "the program did not end"
wait $game || fail "the program ended with status $?"

# Part two: no sound device. The report stays up until dismissed, and it is
# the only window.
SDL_AUDIODRIVER=no-such-driver "$work/mofron" 2> "$work/err2.txt" &
game=$!
report=$(wait_window "モフロンちゃん") || fail "no report of the missing device"
[ -z "$(window_named "モフロンちゃんのさがしっこ？")" ] || fail "the game window is open"
xdotool windowfocus --sync "$report" key Return
wait_exit $game || fail "the program did not end after the report"
if wait $game; then fail "the program ended with status 0 without a sound device"; fi
trap - EXIT
INSIDE

xvfb-run -a -s "-screen 0 800x600x24" bash "$work/inside.sh" "$work"

grep -q "No wave output devices available" "$work/err2.txt" ||
  fail "no report of the missing device on standard error: $(cat "$work/err2.txt")"

positions() { "$build/tests/sound_positions" "$work/effects.raw" "$work/$1.u8"; }
size() { stat -c %s "$work/$1.u8"; }
click=$(positions 1 | head -n 1)
start=$(positions start | head -n 1)
mapfile -t ticks < <(positions time)
echo "click at byte ${click:-none}, start jingle at ${start:-none}, ticks at ${ticks[*]:-none}"
[ -n "$click" ] && [ -n "$start" ] || fail "the click and the start jingle are not in the output"
# A play is queued behind the one before it on its channel, never before
# the block being mixed: the jingle follows the click within one block.
gap=$((start - (click + $(size 1) - 1)))
((gap >= 0 && gap <= 4096)) || fail "the start jingle is $gap bytes after the click's end"
((${#ticks[@]} >= 3)) || fail "fewer than three clock ticks"
((ticks[0] >= start + $(size start) - 1)) || fail "the first tick cut into the jingle"
# 11025 bytes a second; each tick waits for the next block to be mixed.
for ((i = 2; i < ${#ticks[@]}; i++)); do
  apart=$((ticks[i] - ticks[i - 1]))
  ((apart > 11025 - 4096 && apart < 11025 + 4096)) || fail "ticks $apart bytes apart"
done

music="$work/effects.raw.music"
[ -s "$music" ] || fail "no music output"
audible=$(od -An -v -t d2 -w2 "$music" | awk '$1 > 300 || $1 < -300 { n++ } END { print n + 0 }')
echo "music: $(stat -c %s "$music") bytes, $audible samples above the noise floor"
((audible > 44100)) || fail "the music output is silent"
echo "sound.sh: effects and ticks found in the device output, music rendered apart"
