#!/usr/bin/env bash
# TIRLA: sd_orvia through a real Speech Dispatcher, started here with its own socket,
# configuration and logs, its sound written to a file instead of a sound card. spd-say asks
# for the orvia module; the test passes when the server played ORVIA's sound (16000 Hz).
# Usage: end_to_end.sh BUILD   (exit 77: speech-dispatcher, spd-say or the voice is missing)
set -euo pipefail
build=$(cd "$1" && pwd)
for program in speech-dispatcher spd-say mbrola; do
  command -v $program >/dev/null || { echo "$program não está instalado"; exit 77; }
done
[ -f /usr/share/mbrola/br4/br4 ] || { echo "a voz br4 do MBROLA não está instalada"; exit 77; }

work=$(mktemp -d)
cleanup() {
  [ -f "$work/run/sd.pid" ] && kill "$(cat "$work/run/sd.pid")" 2>/dev/null || true
  sleep 0.2
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/etc/modules" "$work/log" "$work/run"
cp "$(dirname "$0")/../../data/speechd/orvia.conf" "$work/etc/modules/orvia.conf"
cat > "$work/etc/speechd.conf" <<CONF
LogLevel 4
DefaultVolume 100
AudioOutputMethod "alsa"
AudioALSADevice "file:'$work/out.raw',raw"
AddModule "orvia" "$build/bin/sd_orvia" "orvia.conf"
DefaultModule orvia
LanguageDefaultModule "pt-br" "orvia"
CONF
XDG_RUNTIME_DIR=$work/run speech-dispatcher -s -t 0 -C "$work/etc" -c unix_socket \
  -S "$work/run/speechd.sock" -L "$work/log" -P "$work/run/sd.pid" > "$work/log/server.out" 2>&1 &
for _ in $(seq 100); do [ -S "$work/run/speechd.sock" ] && break; sleep 0.05; done
export SPEECHD_ADDRESS=unix_socket:$work/run/speechd.sock

fail() { echo "FALHOU: $*"; tail -n 20 "$work/log/"*.log; exit 1; }
spd-say -O | grep -qx orvia || fail "o servidor não carregou o módulo orvia"
spd-say -L -o orvia | grep -q "br4 *pt-BR" || fail "o módulo não listou a voz br4"
timeout 30 spd-say -w -o orvia -l pt-BR "Bom dia. Tudo bem?" || fail "spd-say não terminou"
timeout 30 spd-say -w -o orvia -l pt-BR -r 100 -m all "Preço: R\$ 10,50!" || fail "spd-say -r 100 -m all"
bytes=$(stat -c %s "$work/out.raw" 2>/dev/null || echo 0)
# two short texts: well over a second of sound at 16000 16-bit samples a second
[ "$bytes" -gt 32000 ] || fail "o servidor tocou só $bytes bytes"
echo "ok: $bytes bytes de som tocados pelo servidor"
