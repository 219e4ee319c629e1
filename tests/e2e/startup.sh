#!/usr/bin/env bash
# The real program under Xvfb: it opens its window with its caption and the
# title picture, a window manager's close request brings the farewell
# dialog, Return dismisses it, the program ends and the score file holds
# the five lines. Runs on a copy of the game folder, so the player's score
# file is left alone.
#   tests/e2e/startup.sh BUILD-FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp "$build/game/mofron" "$work/"
cp -r "$build/game/cg" "$build/game/dat" "$work/"
cp "$(dirname "$0")/lib/x11.sh" "$work/"
printf 'E2E\r\n7\r\n0\r\n4\r\n2\r\n' > "$work/dat/my.dat"
c++ -O1 -o "$work/wm_close" "$here/wm_close.cpp" -lX11

cat > "$work/inside.sh" <<'INSIDE'
set -euo pipefail
work=$1
fail() { echo "startup.sh: $*" >&2; exit 1; }

. "$work/x11.sh"

SDL_AUDIODRIVER=dummy "$work/mofron" > "$work/out.txt" 2>&1 &
game=$!
trap 'kill $game 2>/dev/null || true' EXIT

main=$(wait_window "モフロンちゃんのさがしっこ？") || fail "no game window with the caption"
echo "game window $main"
size=$(xwininfo -id "$main" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
echo "client area $size"
sleep 1.5

# The picture area against the title picture. It trembles by a few pixels,
# so the comparison is loose (a shift of 4 pixels scores about 0.06, another
# picture or an empty area 0.13 and more), and the best of three shots counts.
best=1
for shot in 1 2 3; do
  xwd -silent -id "$main" > "$work/shot.xwd"
  convert "xwd:$work/shot.xwd" -crop 400x300+0+0 +repage "$work/shot.png"
  # compare exits 1 when the pictures differ at all, which they will.
  error=$( (compare -metric MAE "$work/shot.png" "$work/cg/start.bmp" null: 2>&1 || true) |
    sed 's/.*(\(.*\)).*/\1/')
  echo "shot $shot: mean absolute difference to cg/start.bmp $error"
  best=$(awk -v a="$best" -v b="$error" 'BEGIN { print (b < a ? b : a) }')
  sleep 0.2
done
awk -v e="$best" 'BEGIN { exit !(e < 0.08) }' || fail "picture area does not show cg/start.bmp"

"$work/wm_close" "$main"
dialog=$(wait_window "モフロンちゃん") || fail "no farewell dialog after the close request"
echo "farewell dialog $dialog"
xdotool windowfocus --sync "$dialog" key Return

wait_exit $game || fail "the program did not end after the farewell"
wait $game || fail "the program ended with status $?"
INSIDE

xvfb-run -a -s "-screen 0 800x600x24" bash "$work/inside.sh" "$work"
expected=$'E2E\r\n7\r\n1\r\n0\r\n0\r\n'
actual=$(cat "$work/dat/my.dat"; echo x)
if [ "${actual%x}" != "$expected" ]; then
  echo "startup.sh: dat/my.dat holds:" >&2
  od -c "$work/dat/my.dat" >&2
  exit 1
fi
echo "startup.sh: score file written"
