#!/bin/sh
# TIRLA: tirla "Bom dia, tudo bem?" through each speech-service bridge ([ROREVAZO] TIPOSAPI 4,
# 5 and 54): how long tirla runs and how long the sound it made lasts (the device's samples,
# recorded by SDL's disk driver; for Speech Dispatcher, the WAV file of a private instance's
# module). Usage: bench/bench_bridges_checks.sh [BUILD]
set -eu
build=$(cd "${1:-build}" && pwd)
source=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap '"$source/scripts/speechd-private.sh" stop "$work/spd" >/dev/null; rm -rf "$work"' EXIT
text="Bom dia, tudo bem?"

# A configuration of our own: engine mode, and a unit database without units (one nameless
# entry: the built-in synthesizer must start, but it does not speak here).
mkdir -p "$work/difones"
cp "$source/data/diphone/regras.rgr" "$source/data/diphone/portug.exc" "$work/difones/"
head -c 15 /dev/zero > "$work/difones/DIFONES3.IND"; : > "$work/difones/DIFONES3.DIF"
SPEECHD_ADDRESS=$(SD_ORVIA=none "$source/scripts/speechd-private.sh" start "$work/spd")
export SPEECHD_ADDRESS TOLVAN_WINDIR="$work" SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=disk

for type in 4 5 54; do
  printf '[TRADUTOR]\nDIRDIFONES=%s\nSAPI=S\n' "$work/difones" > "$work/TOLVAN.INI"
  printf '[SINTETIZADOR]\nDIFONES3=DIFONES3\n[ROREVAZO]\nTIPOSAPI=%s\n' "$type" >> "$work/TOLVAN.INI"
  start=$(date +%s.%N)
  SDL_DISKAUDIOFILE="$work/device$type.raw" "$build/bin/tirla" "$text" \
    < /dev/null 2> "$work/err$type" || true
  end=$(date +%s.%N)
  python3 - "$type" "$start" "$end" "$work" <<'PY'
import os, sys
kind, start, end, work = sys.argv[1], float(sys.argv[2]), float(sys.argv[3]), sys.argv[4]
rates = {"4": 22050, "54": 24000}
err = open(f"{work}/err{kind}").read().replace("CRITICAL", "").strip()
if kind == "5":
    wav = f"{work}/spd/out/tirlaum.wav"
    sound = (os.path.getsize(wav) - 44) / 44100 if os.path.exists(wav) else 0
    where = "module's WAV file"
else:
    raw = f"{work}/device{kind}.raw"
    sound = os.path.getsize(raw) / 2 / rates[kind] if os.path.exists(raw) else 0
    where = "device"
print(f"TIPOSAPI {kind}: tirla ran {end - start:.2f} s; sound {sound:.2f} s ({where})")
for line in err.splitlines():
    if "tirla:" in line: print("   ", line)
PY
done
