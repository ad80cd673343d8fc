#!/bin/sh
# TIRLA: feeds ORVIA's MBROLA lines for a text (default: the whole fortunes-br text), spoken
# with a voice (default br4), to `mbrola -e` and counts the diphones the voice reports as
# unknown; 0 is the goal. The program's own data folder holds the voices' diphone lists.
# Use: tools/orvia_check_diphones.sh [ORVIA_PROGRAM] [TEXT_FILE] [VOICE]
set -eu
here=$(dirname "$0")
orvia=${1:-$here/../build/bin/orvia}
text=${2:-/usr/share/games/fortunes/brasil}
voice=${3:-/usr/share/mbrola/br4/br4}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$orvia" -v "$(basename "$voice")" --pho < "$text" > "$work/text.pho"
mbrola -e "$voice" "$work/text.pho" "$work/text.wav" 2> "$work/warnings" || {
  echo "mbrola falhou:" >&2
  cat "$work/warnings" >&2
  exit 1
}
unknown=$(grep -c "unknown" "$work/warnings" || true)
echo "linhas: $(wc -l < "$work/text.pho"), difones desconhecidos: $unknown"
grep "unknown" "$work/warnings" | sort | uniq -c | sort -rn | head -20
[ "$unknown" -eq 0 ]
