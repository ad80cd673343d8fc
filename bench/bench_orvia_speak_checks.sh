#!/bin/sh
# TIRLA: measures what the orvia program gives: the WAV file's header and length, the samples
# the sound device receives (SDL's disk driver records them) and how long playing takes, and
# how speed and pitch options change the sound. Usage: bench/bench_orvia_speak_checks.sh [BUILD]
set -eu
build=${1:-build}
orvia="$build/bin/orvia"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
text="Bom dia, tudo bem?"

"$orvia" -w "$work/a.wav" "$text"
start=$(date +%s.%N)
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/device.raw" "$orvia" "$text" 2>/dev/null
end=$(date +%s.%N)
for s in 0 3 6; do "$orvia" --nivel-velocidade $s -w "$work/s$s.wav" "$text Hoje o tempo está bom."; done
for p in 0 5; do "$orvia" --nivel-tom $p -w "$work/p$p.wav" "$text"; done

python3 - "$work" "$start" "$end" <<'PY'
import array, struct, sys
work, start, end = sys.argv[1], float(sys.argv[2]), float(sys.argv[3])
def wav(name):
    return open(f"{work}/{name}", "rb").read()
d = wav("a.wav")
riff, = struct.unpack("<I", d[4:8]); data, = struct.unpack("<I", d[40:44])
tag, ch, rate, bps, align, bits = struct.unpack("<HHIIHH", d[20:36])
secs = (len(d) - 44) / (rate * align)
print(f"a.wav: {len(d)} bytes, RIFF size {riff} (file-8 = {len(d)-8}), data size {data} "
      f"(file-44 = {len(d)-44}), {rate} Hz {bits}-bit {ch} channel(s), {secs:.2f} s")
raw = open(f"{work}/device.raw", "rb").read()
at = raw.find(d[44:44 + 4000])
same = at >= 0 and raw[at:at + len(d) - 44] == d[44:]
print(f"device got the same samples: {same} (at byte {at}, {len(raw)} bytes recorded); "
      f"orvia returned after {end - start:.2f} s for {secs:.2f} s of sound")
lengths = {s: (len(wav(f's{s}.wav')) - 44) / 32000 for s in (0, 3, 6)}
print("speed 0/3/6: " + ", ".join(f"{v:.2f} s" for v in lengths.values()) +
      f" (ratios {lengths[3]/lengths[0]:.2f}, {lengths[6]/lengths[0]:.2f}; factors 0.75, 0.50)")
def f0(name):
    a = array.array("h", wav(name)[44:]); found = []
    for st in range(0, len(a) - 800, 400):
        fr = a[st:st + 800]
        if sum(x * x for x in fr) / 800 < 1e6: continue
        c, lag = max((sum(fr[i] * fr[i + l] for i in range(0, 800 - l, 2)), l) for l in range(30, 200))
        found.append(16000 / lag)
    found.sort(); return found[len(found) // 2]
print(f"median pitch: -p 0 {f0('p0.wav'):.0f} Hz, -p 5 {f0('p5.wav'):.0f} Hz (factor 16/11 = 1.45)")
PY
