#!/usr/bin/env bash
# A private Speech Dispatcher for tests and trials: its own socket, configuration and logs in
# DIR, no sound card. Its two output modules (tirlaum, tirladois) have eSpeak NG write each text
# to DIR/out/<module>.wav, note the text, voice and rate in DIR/out/<module>.log, and take as
# long as the sound lasts, so that ends and cancels come as with a real voice.
#   speechd-private.sh start DIR   starts it and prints the address for SPEECHD_ADDRESS
#   speechd-private.sh stop DIR    stops it
set -euo pipefail
action=${1:-}; dir=${2:-}
[ -n "$action" ] && [ -n "$dir" ] || { echo "Uso: $0 start|stop PASTA" >&2; exit 2; }
dir=$(mkdir -p "$dir" && cd "$dir" && pwd)

if [ "$action" = stop ]; then
  if [ -f "$dir/pid" ]; then
    pid=$(cat "$dir/pid")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -f "$dir/pid" "$dir/sock"
  exit 0
fi
[ "$action" = start ] || { echo "Uso: $0 start|stop PASTA" >&2; exit 2; }
for program in speech-dispatcher espeak-ng; do
  command -v $program >/dev/null || { echo "$program não está instalado" >&2; exit 3; }
done

mkdir -p "$dir/conf/modules" "$dir/log" "$dir/out"
cat > "$dir/conf/speechd.conf" <<CONF
LogLevel 3
LogDir "$dir/log"
AudioOutputMethod "alsa"
AudioALSADevice "null"
DefaultModule "tirlaum"
DefaultLanguage "pt-br"
AddModule "tirlaum" "sd_generic" "$dir/conf/modules/tirlaum.conf"
AddModule "tirladois" "sd_generic" "$dir/conf/modules/tirladois.conf"
CONF
module() {  # name, then "language variant voice" triples
  local name=$1; shift
  {
    echo "GenericExecuteSynth \"printf '%s\\\\n' \\'\$VOICE \$RATE \$DATA\\'" \
      ">> $dir/out/$name.log;" \
      "printf %s \\'\$DATA\\' | espeak-ng -v \$VOICE -s \$RATE --stdin -w $dir/out/$name.wav" \
      "&& sleep \$(stat -c %s $dir/out/$name.wav | awk '{print (\$1 - 44) / 44100}')\""
    echo 'GenericRateAdd 175'
    echo 'GenericRateMultiply 100'
    echo 'GenericLanguage "pt-br" "pt-br" "utf-8"'
    while [ $# -gt 0 ]; do echo "AddVoice \"$1\" \"$2\" \"$3\""; shift 3; done
  } > "$dir/conf/modules/$name.conf"
}
module tirlaum en MALE1 en pt-br FEMALE1 pt-br
module tirladois pt MALE1 pt pt-br MALE2 pt-br+m3

rm -f "$dir/sock"
speech-dispatcher -s -t 0 -C "$dir/conf" -c unix_socket -S "$dir/sock" -L "$dir/log" \
  -P "$dir/pid" -l 3 > "$dir/log/server.out" 2>&1 &
for _ in $(seq 100); do
  [ -S "$dir/sock" ] && { echo "unix_socket:$dir/sock"; exit 0; }
  sleep 0.05
done
echo "o Speech Dispatcher privado não abriu $dir/sock; veja $dir/log" >&2
exit 1
