#!/bin/sh
# TIRLA: one MBROLA voice spoken by ORVIA on a slice of fortunes-br: MBROLA must know every
# diphone of ORVIA's lines, and the sound's median pitch must be the voice's sex's (male 100 to
# 130 Hz, female 170 to 230 Hz). Exit 77 (skipped) when the voice or the corpus is missing.
# Use: voice_check.sh BUILD VOICE male|female [LINES]
set -eu
build=$1 voice=$2 sex=$3 lines=${4:-2000}
database=/usr/share/mbrola/$voice/$voice
corpus=/usr/share/games/fortunes/brasil
[ -f "$database" ] && [ -f "$corpus" ] && command -v mbrola > /dev/null || exit 77
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -n "$lines" "$corpus" > "$work/text"
"$build/bin/orvia" -v "$voice" --pho -f "$work/text" > "$work/text.pho"
mbrola -e "$database" "$work/text.pho" "$work/text.wav" 2> "$work/warnings"
unknown=$(grep -c unknown "$work/warnings" || true)
hz=$("$build/bin/voice_pitch" "$work/text.wav" 4)
echo "$voice: $(wc -l < "$work/text.pho") linhas, $unknown difones desconhecidos, tom mediano $hz Hz"
grep unknown "$work/warnings" | sort | uniq -c | sort -rn | head -5
case $sex in
  male) low=100 high=130 ;;
  *) low=170 high=230 ;;
esac
[ "$unknown" -eq 0 ] && [ "$hz" -ge $low ] && [ "$hz" -le $high ]
