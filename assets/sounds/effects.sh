#!/usr/bin/env bash
# Makes one of the game's sound effects from nothing but sox synthesis (and
# espeak-ng for the voices).
#
#   effects.sh SOX ESPEAK NAME OUT SCRATCH
#
# NAME is the effect's file name (1.wav, start.wav, ...), OUT the file to
# write, SCRATCH a folder of its own for the parts (emptied first).
#
# Every sox call runs with -R (fixed seeds for the noise) and -D (no dither),
# so that each build writes the same bytes. Dither would also add hiss to the
# silent stretches of the 8-bit files.
#
# The effects use three source formats on purpose, so that the game converts
# all of them: 8-bit unsigned mono 11025 Hz, 16-bit mono 22050 Hz and 16-bit
# stereo 44100 Hz. Each is normalised to a peak of about -6 dBFS (the clicks
# and ticks lower), so that two channels summed by the 8-bit mixer stay clear.
set -euo pipefail

if [ $# -ne 5 ]; then
  echo "usage: effects.sh SOX ESPEAK NAME OUT SCRATCH" >&2
  exit 2
fi
SOX=$1
ESPEAK=$2
NAME=$3
DEST=$4
TMP=$5

rm -rf "$TMP"
mkdir -p "$TMP"
# The finished file is made in the scratch folder and moved into place only
# when whole, so that a failed run never leaves a broken effect behind.
OUT=$TMP/finished.wav

sx() { "$SOX" -R -D -V1 "$@"; }

# Working format of all parts: mono 44100 Hz floating point, so that nothing
# clips before the final normalisation.
WORK=(-r 44100 -c 1 -e floating-point -b 32)

# The three formats the finished files are written in. -t wavpcm keeps sox
# from writing WAVE_FORMAT_EXTENSIBLE: the game reads plain PCM only.
U8_11K=(-t wavpcm -r 11025 -c 1 -e unsigned-integer -b 8)
S16_22K=(-t wavpcm -r 22050 -c 1 -e signed-integer -b 16)
S16_44K_ST=(-t wavpcm -r 44100 -c 2 -e signed-integer -b 16)

# partial OUT WAVE FREQ LENGTH LEVEL_DB [ATTACK]: one tone that starts at once
# and dies away exponentially, like a struck or plucked thing. sox's
# logarithmic fade falls linearly in decibels, to -100 dB at its end; it is
# laid over half as much time again as the tone lasts, so that the tone rings
# on a little before a short final fade closes it.
partial() {
  local out=$1 wave=$2 freq=$3 len=$4 level=$5 attack=${6:-0.002}
  local ring close
  ring=$(awk -v l="$len" 'BEGIN { printf "%.4f", l * 1.5 }')
  close=$(awk -v l="$len" 'BEGIN { printf "%.4f", l * 0.15 }')
  sx -n "${WORK[@]}" "$out" synth "$ring" "$wave" "$freq" \
    fade q "$attack" fade l 0 "$ring" "$ring" trim 0 "$len" fade t 0 "$len" "$close" \
    gain -h "$level"
}

# bell OUT FREQ LENGTH: a glockenspiel-like chime. The upper partials, one of
# them slightly out of tune like a metal bar's, die away faster than the
# fundamental, which is what makes it sound struck rather than beeped.
bell() {
  local out=$1 f=$2 len=$3
  local short
  short=$(awk -v l="$len" 'BEGIN { printf "%.3f", l * 0.45 }')
  partial "$TMP/b1.wav" sine "$f" "$len" -3
  partial "$TMP/b2.wav" sine "$(awk -v f="$f" 'BEGIN { print f * 2 }')" "$short" -11
  partial "$TMP/b3.wav" sine "$(awk -v f="$f" 'BEGIN { print f * 2.76 }')" "$short" -17
  partial "$TMP/b4.wav" sine "$(awk -v f="$f" 'BEGIN { print f * 4.1 }')" 0.04 -22
  sx -m -v 1 "$TMP/b1.wav" -v 1 "$TMP/b2.wav" -v 1 "$TMP/b3.wav" -v 1 "$TMP/b4.wav" "$out"
}

# mallet OUT FREQ LENGTH: a soft, round marimba-like note.
mallet() {
  local out=$1 f=$2 len=$3
  partial "$TMP/m1.wav" triangle "$f" "$len" -3 0.004
  partial "$TMP/m2.wav" sine "$(awk -v f="$f" 'BEGIN { print f * 4 }')" 0.05 -16
  sx -m -v 1 "$TMP/m1.wav" -v 1 "$TMP/m2.wav" "$out"
}

# brass OUT FREQ LENGTH: a bright horn-like note with a soft attack, held and
# then released.
brass() {
  local out=$1 f=$2 len=$3
  local rel
  rel=$(awk -v l="$len" 'BEGIN { printf "%.3f", l * 0.5 }')
  sx -n "${WORK[@]}" "$out" synth "$len" sawtooth "$f" synth "$len" square mix "$f" \
    lowpass 2400 lowpass 3200 fade q 0.02 "$len" "$rel" gain -h -6
}

# place IN STARTS_AT OUT [LEFT RIGHT]: pads a part so that it starts at the given
# time, and for a stereo mix gives it its place between the speakers.
place() {
  local in=$1 at=$2 out=$3
  if [ $# -ge 5 ]; then
    sx "$in" -c 2 "$out" remix 1v"$4" 1v"$5" pad "$at"
  else
    sx "$in" "$out" pad "$at"
  fi
}

# finish_mix PEAK_DB FORMAT [EFFECTS...] -- PARTS...: mixes the parts, runs
# the effects on the mix, normalises its peak and writes the finished file in
# FORMAT (the name of one of the three format lists above).
finish_mix() {
  local peak=$1
  local -n fmt=$2
  shift 2
  local -a fx=()
  while [ "$1" != "--" ]; do
    fx+=("$1")
    shift
  done
  shift
  if [ $# -gt 1 ]; then
    local -a inputs=()
    for f in "$@"; do inputs+=(-v 1 "$f"); done
    sx -m "${inputs[@]}" "$TMP/mix.wav"
  else
    cp "$1" "$TMP/mix.wav"
  fi
  # The rate change comes before the normalisation, so that the peak is
  # measured on what is written.
  local rate="" i
  for ((i = 0; i + 1 < ${#fmt[@]}; i++)); do
    [ "${fmt[i]}" = -r ] && rate=${fmt[i + 1]}
  done
  sx "$TMP/mix.wav" "${fmt[@]}" "$OUT" "${fx[@]}" rate "$rate" gain -n "$peak"
}

case "$NAME" in
  1.wav)
    # A soft "pop", like a button pressed with a finger: a quick downward
    # sweep with a breath of noise at its very start.
    sx -n "${WORK[@]}" "$TMP/pop.wav" synth 0.04 sine 1500:600 \
      fade q 0.001 fade l 0 0.04 0.04
    sx -n "${WORK[@]}" "$TMP/air.wav" synth 0.008 noise \
      highpass 1500 lowpass 5000 fade l 0 0.008 0.008 gain -10
    finish_mix -9 U8_11K lowpass 4000 -- "$TMP/pop.wav" "$TMP/air.wav"
    ;;

  start.wav)
    # A bright run up the C major chord that lands on a ringing chord, moving
    # from left to right on the way up.
    parts=()
    i=0
    for spec in "G4 392.00 0.00 0.80 0.35" "C5 523.25 0.08 0.70 0.45" \
      "E5 659.26 0.16 0.55 0.55" "G5 783.99 0.24 0.45 0.65"; do
      read -r _ f at l r <<<"$spec"
      mallet "$TMP/n$i.wav" "$f" 0.35
      place "$TMP/n$i.wav" "$at" "$TMP/p$i.wav" "$l" "$r"
      parts+=("$TMP/p$i.wav")
      i=$((i + 1))
    done
    for spec in "C6 1046.50 0.32 0.60 0.60" "E6 1318.51 0.32 0.45 0.75" \
      "G6 1567.98 0.32 0.75 0.45"; do
      read -r _ f at l r <<<"$spec"
      bell "$TMP/n$i.wav" "$f" 0.72
      place "$TMP/n$i.wav" "$at" "$TMP/p$i.wav" "$l" "$r"
      parts+=("$TMP/p$i.wav")
      i=$((i + 1))
    done
    finish_mix -6 S16_44K_ST -- "${parts[@]}"
    ;;

  time.wav)
    # A clock's tick: a tiny, dry, high knock. It is queued every second on
    # the effects channel, so it must be over long before the next one.
    partial "$TMP/t1.wav" sine 2100 0.07 -3 0.0005
    partial "$TMP/t2.wav" sine 3350 0.03 -10 0.0005
    sx -n "${WORK[@]}" "$TMP/t3.wav" synth 0.005 noise highpass 2500 \
      fade l 0 0.005 0.005 gain -8
    sx -m -v 1 "$TMP/t1.wav" -v 1 "$TMP/t2.wav" -v 1 "$TMP/t3.wav" "$TMP/tick.wav"
    sx "$TMP/tick.wav" "$TMP/tick2.wav" pad 0 0.02
    finish_mix -10 S16_22K -- "$TMP/tick2.wav"
    ;;

  good.wav)
    # "Ti-ding!": a short chime and a higher, longer one that shimmers.
    bell "$TMP/n1.wav" 1567.98 0.18
    bell "$TMP/n2.wav" 2093.00 0.62
    bell "$TMP/n3.wav" 2637.02 0.50
    place "$TMP/n1.wav" 0 "$TMP/p1.wav" 0.80 0.50
    sx "$TMP/n2.wav" "$TMP/n2t.wav" tremolo 11 25
    place "$TMP/n2t.wav" 0.09 "$TMP/p2.wav" 0.55 0.80
    sx "$TMP/n3.wav" "$TMP/n3q.wav" gain -6
    place "$TMP/n3q.wav" 0.09 "$TMP/p3.wav" 0.50 0.70
    finish_mix -6 S16_44K_ST -- "$TMP/p1.wav" "$TMP/p2.wav" "$TMP/p3.wav"
    ;;

  gya1.wav)
    # A cartoon "gyaa!": a high, squeaky voice that wobbles and falls away.
    "$ESPEAK" -v ja -p 90 -s 100 -w "$TMP/voice.wav" "ぎゃあああ"
    sx "$TMP/voice.wav" "$TMP/cry.wav" silence 1 0.01 1% reverse silence 1 0.01 1% reverse \
      speed 1.3 tremolo 13 35 bend 0.15,-700,0.55 trim 0 0.62
    sx "$TMP/cry.wav" "$TMP/cry2.wav" fade q 0.005 -0 0.12
    finish_mix -6 U8_11K highpass 200 -- "$TMP/cry2.wav"
    ;;

  lv.wav)
    # A little fanfare: three quick horn notes up to a held chord with a
    # sparkle on top.
    brass "$TMP/h1.wav" 261.63 0.11
    brass "$TMP/h2.wav" 329.63 0.11
    brass "$TMP/h3.wav" 392.00 0.11
    place "$TMP/h1.wav" 0.00 "$TMP/p1.wav" 0.75 0.60
    place "$TMP/h2.wav" 0.12 "$TMP/p2.wav" 0.70 0.65
    place "$TMP/h3.wav" 0.24 "$TMP/p3.wav" 0.65 0.70
    parts=("$TMP/p1.wav" "$TMP/p2.wav" "$TMP/p3.wav")
    i=4
    for spec in "C5 523.25 0.70 0.55" "E5 659.26 0.55 0.70" "G5 783.99 0.65 0.60" \
      "C4 261.63 0.65 0.65"; do
      read -r _ f l r <<<"$spec"
      brass "$TMP/h$i.wav" "$f" 0.95
      sx "$TMP/h$i.wav" "$TMP/h${i}v.wav" tremolo 6 12
      place "$TMP/h${i}v.wav" 0.36 "$TMP/p$i.wav" "$l" "$r"
      parts+=("$TMP/p$i.wav")
      i=$((i + 1))
    done
    bell "$TMP/s1.wav" 2093.00 0.8
    sx "$TMP/s1.wav" "$TMP/s1q.wav" gain -4
    place "$TMP/s1q.wav" 0.36 "$TMP/p$i.wav" 0.6 0.6
    parts+=("$TMP/p$i.wav")
    finish_mix -6 S16_44K_ST -- "${parts[@]}"
    ;;

  katan.wav)
    # "Ka-tan": something small and wooden tips over: a light knock, a
    # heavier one that rings a little, and a short rattle as it settles.
    sx -n "${WORK[@]}" "$TMP/k1n.wav" synth 0.02 noise bandpass 1800 1.5q \
      fade l 0 0.02 0.02
    partial "$TMP/k1t.wav" sine 820 0.07 -6 0.0005
    sx -m -v 1 "$TMP/k1n.wav" -v 1 "$TMP/k1t.wav" "$TMP/k1.wav"
    sx -n "${WORK[@]}" "$TMP/k2n.wav" synth 0.04 noise bandpass 900 1.2q \
      fade l 0 0.04 0.04
    partial "$TMP/k2a.wav" sine 430 0.30 -4 0.0005
    partial "$TMP/k2b.wav" sine 1130 0.16 -10 0.0005
    sx -m -v 1.2 "$TMP/k2n.wav" -v 1 "$TMP/k2a.wav" -v 1 "$TMP/k2b.wav" "$TMP/k2.wav"
    parts=()
    place "$TMP/k1.wav" 0.00 "$TMP/p1.wav"
    place "$TMP/k2.wav" 0.12 "$TMP/p2.wav"
    parts+=("$TMP/p1.wav" "$TMP/p2.wav")
    i=3
    for spec in "0.23 -8 1400" "0.29 -12 1600" "0.33 -16 1300" "0.36 -20 1500"; do
      read -r at lvl f <<<"$spec"
      sx -n "${WORK[@]}" "$TMP/r$i.wav" synth 0.012 noise bandpass "$f" 2q \
        fade l 0 0.012 0.012 gain "$lvl"
      place "$TMP/r$i.wav" "$at" "$TMP/p$i.wav"
      parts+=("$TMP/p$i.wav")
      i=$((i + 1))
    done
    sx -n "${WORK[@]}" "$TMP/end.wav" trim 0 0.5
    parts+=("$TMP/end.wav")
    finish_mix -6 S16_22K -- "${parts[@]}"
    ;;

  yatta.wav)
    # A cheerful child's "yatta!". The two syllables are spoken separately and
    # joined with a short silence, which is how the small "tsu" sounds (the
    # voice fills it with hiss when it says the word whole). The "taa" swings
    # upward, and the whole is sped up, which raises both the pitch and the
    # formants towards a child's voice.
    "$ESPEAK" -v ja -p 75 -s 135 -w "$TMP/ya.wav" "や"
    "$ESPEAK" -v ja -p 80 -s 135 -w "$TMP/ta.wav" "たー"
    sx "$TMP/ya.wav" "${WORK[@]}" "$TMP/ya2.wav" silence 1 0.005 1% \
      trim 0 0.17 fade q 0.005 0.17 0.04
    sx "$TMP/ta.wav" "${WORK[@]}" "$TMP/ta2.wav" silence 1 0.005 1% reverse \
      silence 1 0.005 1% reverse bend 0.08,250,0.25
    sx -n "${WORK[@]}" "$TMP/gap.wav" trim 0 0.06
    sx "$TMP/ya2.wav" "$TMP/gap.wav" "$TMP/ta2.wav" "$TMP/yatta.wav" speed 1.3 \
      lowpass 7000 reverse fade q 0.08 reverse
    finish_mix -6 S16_22K highpass 120 -- "$TMP/yatta.wav"
    ;;

  *)
    echo "effects.sh: no recipe for the effect '$NAME'" >&2
    exit 2
    ;;
esac

mv "$OUT" "$DEST"
