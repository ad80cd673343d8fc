#!/bin/sh
# TIRLA: how much orvia's espeak-ng options change the sound, beside espeak-ng on the same
# text: length at -s 120 against -s 300, mean pitch at -p 0 and -p 99 against -p 50, RMS level
# at -a 10 and -a 200 against -a 100. Needs the voice br4, espeak-ng and sox.
# Usage: bench/bench_orvia_espeak_options.sh [BUILD]
set -eu
build=${1:-build}
orvia="$build/bin/orvia"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
text="Bom dia, tudo bem? Este texto serve para medir a duração da fala em várias velocidades \
diferentes. Amanhã vamos ao mercado comprar frutas e verduras. O ônibus passou cedo, e a chuva \
não parou até a noite."

seconds() { soxi -D "$1"; }
rms() { sox "$1" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}'; }
# mean of the pitch points of MBROLA lines on standard input
pitch() { awk '!/^;/ {for (i = 4; i <= NF; i += 2) {s += $i; n++}} END {print s / n}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.3f", a / b}'; }

for s in 120 300; do
  espeak-ng -v pt-br -s $s -w "$work/e$s.wav" "$text"
  "$orvia" -s $s -w "$work/o$s.wav" "$text"
done
echo "-s 120 / -s 300 length: espeak-ng $(ratio "$(seconds "$work/e120.wav")" "$(seconds "$work/e300.wav")")," \
     "orvia $(ratio "$(seconds "$work/o120.wav")" "$(seconds "$work/o300.wav")")"
for p in 0 50 99; do
  espeak-ng -v mb-br4 -q --pho -p $p "$text" 2>/dev/null | pitch > "$work/ep$p"
  "$orvia" --pho -p $p "$text" | pitch > "$work/op$p"
done
for p in 0 99; do
  echo "-p $p / -p 50 pitch: espeak-ng $(ratio "$(cat "$work/ep$p")" "$(cat "$work/ep50")")," \
       "orvia $(ratio "$(cat "$work/op$p")" "$(cat "$work/op50")")"
done
for a in 10 100 200; do
  espeak-ng -v pt-br -a $a -w "$work/ea$a.wav" "$text"
  "$orvia" -a $a -w "$work/oa$a.wav" "$text"
done
for a in 10 200; do
  echo "-a $a / -a 100 level: espeak-ng $(ratio "$(rms "$work/ea$a.wav")" "$(rms "$work/ea100.wav")")," \
       "orvia $(ratio "$(rms "$work/oa$a.wav")" "$(rms "$work/oa100.wav")")"
done
