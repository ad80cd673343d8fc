#!/usr/bin/env bash
# A private Speech Dispatcher for tests and trials: its own socket, configuration and logs in
# DIR, no sound card. Its output modules:
# - orvia: our sd_orvia (the build's, else the installed one), its sound played by the server
#   into DIR/out/server.raw (16-bit mono, 16000 a second), its log in DIR/log/orvia.log;
# - tirlaum, tirladois: eSpeak NG writes each text to DIR/out/<module>.wav, notes the text,
#   voice and rate in DIR/out/<module>.log, and takes as long as the sound lasts, so that ends
#   and cancels come as with a real voice.
# The server preprocesses symbols as Debian's does (its SymbolsPreproc lines).
#   speechd-private.sh start DIR   starts it and prints the address for SPEECHD_ADDRESS
#   speechd-private.sh stop DIR    stops it
# LOGLEVEL (default 3) sets the server's and the modules' log level; SD_ORVIA names the
# module program ("none": no orvia module); DEFAULT_MODULE the module of clients that name
# none (default tirlaum).
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

here=$(cd "$(dirname "$0")" && pwd)
orvia=${SD_ORVIA:-$here/../build/bin/sd_orvia}
[ "$orvia" = none ] || [ -x "$orvia" ] || orvia=$(ls /usr/lib/*/speech-dispatcher-modules/sd_orvia \
                          /usr/lib/speech-dispatcher-modules/sd_orvia 2>/dev/null | head -n 1)
level=${LOGLEVEL:-3}

mkdir -p "$dir/conf/modules" "$dir/log" "$dir/out"
cat > "$dir/conf/speechd.conf" <<CONF
LogLevel $level
LogDir "$dir/log"
AudioOutputMethod "alsa"
AudioALSADevice "file:'$dir/out/server.raw',raw"
DefaultModule "${DEFAULT_MODULE:-tirlaum}"
DefaultLanguage "pt-br"
SymbolsPreproc "char"
SymbolsPreprocFile "gender-neutral.dic"
SymbolsPreprocFile "font-variants.dic"
SymbolsPreprocFile "symbols.dic"
SymbolsPreprocFile "emojis.dic"
SymbolsPreprocFile "orca.dic"
SymbolsPreprocFile "orca-chars.dic"
AddModule "tirlaum" "sd_generic" "$dir/conf/modules/tirlaum.conf"
AddModule "tirladois" "sd_generic" "$dir/conf/modules/tirladois.conf"
CONF
if [ "$orvia" = none ]; then
  :
elif [ -n "$orvia" ]; then
  echo "AddModule \"orvia\" \"$orvia\" \"$dir/conf/modules/orvia.conf\"" >> "$dir/conf/speechd.conf"
  cp "$here/../data/speechd/orvia.conf" "$dir/conf/modules/orvia.conf" 2>/dev/null ||
    : > "$dir/conf/modules/orvia.conf"
else
  echo "sd_orvia não foi encontrado: o servidor privado fica sem o módulo orvia" >&2
fi
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
  -P "$dir/pid" -l "$level" > "$dir/log/server.out" 2>&1 &
for _ in $(seq 100); do
  [ -S "$dir/sock" ] && { echo "unix_socket:$dir/sock"; exit 0; }
  sleep 0.05
done
echo "o Speech Dispatcher privado não abriu $dir/sock; veja $dir/log" >&2
exit 1
