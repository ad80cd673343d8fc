#!/bin/sh
# TIRLA: how clean the built-in voice sounds, measured on what the sound device receives:
#  - clicks per second: a sample that leaves the wave's course by more than 16 (of 256) and
#    lands on a silence that lasts, the sound of a unit cut mid-wave (onsets from silence, a
#    plosive's burst among them, are left out);
#  - gaps: silence the device played inside a text that the synthesizer did not make, over
#    5 ms (tirla through SDL's disk driver, against units_to_wav's samples of the same text);
#  - loudness: the recorded letters and digits against the words the units make (the median
#    RMS of each sound's loud part, samples above a tenth of its peak), in dB.
# The texts: fortunes-br paragraphs of 600 to 990 characters, letters and blanks only, so that
# tirla speaks each as one phrase (about 40 s of sound each, played at the device's pace).
# Usage: bench/bench_voice_stream.sh [BUILD] [PARAGRAPHS]   (default build, 3); KEEP=DIR keeps
# the texts (t*.txt), units_to_wav's sounds (t*.wav) and the device's streams (t*.raw) there.
set -eu
build=$(cd "${1:-build}" && pwd)
count=${2:-3}
work=${KEEP:-$(mktemp -d)}; mkdir -p "$work"
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
run_display() {
  if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then xvfb-run -a "$@"; else "$@"; fi
}

python3 - "$count" "$work" <<'PY'
import re, sys
count, work = int(sys.argv[1]), sys.argv[2]
text = open("/usr/share/games/fortunes/brasil", encoding="utf-8", errors="replace").read()
kept = []
for p in text.split("\n%\n"):
    letters = " ".join(re.sub(r"[^A-Za-zÀ-ÿ ]", " ", p).split())
    if 600 <= len(letters) <= 990:
        kept.append(letters)
for i, p in enumerate(kept[:count]):
    open(f"{work}/t{i}.txt", "w", encoding="utf-8").write(p)
PY

for t in "$work"/t*.txt; do
  n=$(basename "$t" .txt)
  "$build/bin/units_to_wav" --level 3 "$work/$n.wav" "$(cat "$t")" >/dev/null
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/$n.raw" run_display "$build/bin/tirla" "$(cat "$t")" \
    >/dev/null 2>&1
done

python3 - "$work" "$build/share/tolvan/som/letras" <<'PY'
import glob, math, os, statistics, sys
work, letters = sys.argv[1], sys.argv[2]
RATE, STEP, SILENT, LASTING = 11025, 16, 2, 4
GAP = RATE * 5 // 1000

def wav8(path):
    return open(path, "rb").read()[44:]

def clicks(x):
    """Samples that leave the wave's straight course by more than STEP and land on a lasting
    silence; one per millisecond at most."""
    found, last = 0, -RATE
    for i in range(2, len(x) - LASTING):
        a, b, c = x[i - 2] - 128, x[i - 1] - 128, x[i] - 128
        if abs(c) > SILENT or abs(b) < STEP or abs(c - (2 * b - a)) < STEP:
            continue
        if max(abs(v - 128) for v in x[i:i + LASTING]) <= LASTING and i - last > RATE // 1000:
            found, last = found + 1, i
    return found

def gaps(ref, dev):
    """Runs of silence in the device's stream that the reference does not hold, from the
    reference's first sound to its end; a block's last sample, which the wave output sets
    silent, is a change, no gap."""
    start = next(i for i, v in enumerate(ref) if v != 128)
    j = dev.find(ref[start:start + 64])
    if j < 0:
        return None
    i, found = start, []
    while i < len(ref) and j < len(dev):
        if dev[j] == ref[i]:
            i, j = i + 1, j + 1
            continue
        if dev[j] != 128:
            return None
        k = j
        while k < len(dev) and dev[k] == 128:
            k += 1
        # the reference goes on after the silence, or after one sample set silent and silence
        for skip in (0, 1):
            own = 0
            while i + skip + own < len(ref) and ref[i + skip + own] == 128:
                own += 1
            at = i + skip + own
            if dev[k:k + 8] == ref[at:at + 8] or (at == len(ref) and k == len(dev)):
                if k - j - skip - own > 0:
                    found.append(k - j - skip - own)
                i, j = at, k
                break
        else:
            return None
    return found if i >= len(ref) else None

total_s = total_ref = total_dev = 0
all_gaps = []
for ref_path in sorted(glob.glob(f"{work}/t*.wav")):
    ref = wav8(ref_path)
    dev = open(ref_path[:-4] + ".raw", "rb").read()
    s = len(ref) / RATE
    g = gaps(ref, dev)
    cr, cd = clicks(ref), clicks(dev)
    total_s, total_ref, total_dev = total_s + s, total_ref + cr, total_dev + cd
    if g is None:
        print(f"{os.path.basename(ref_path)}: {s:.1f} s; the device's stream does not hold the text")
        continue
    all_gaps += g
    big = [v for v in g if v > GAP]
    print(f"{os.path.basename(ref_path)}: {s:.1f} s, clicks {cr} (units_to_wav) {cd} (device), "
          f"gaps over 5 ms: {len(big)}" + (f", longest {max(big) * 1000 / RATE:.1f} ms" if big else ""))
big = [v for v in all_gaps if v > GAP]
print(f"all: {total_s:.1f} s; clicks per second {total_ref / total_s:.2f} (units_to_wav), "
      f"{total_dev / total_s:.2f} (device); gaps over 5 ms {len(big)}"
      + (f", {sum(big) * 1000 / RATE / len(big):.1f} ms on average, longest {max(big) * 1000 / RATE:.1f} ms"
         if big else "") + f"; shorter gaps {len(all_gaps) - len(big)}")

def loud_db(x):
    s = [(v - 128) / 128 for v in x]
    floor = 0.1 * max(abs(v) for v in s)
    loud = [v * v for v in s if abs(v) >= floor]
    return 20 * math.log10(math.sqrt(sum(loud) / len(loud)))

def words(x, pause=100, shortest=1500):
    out, cur, quiet = [], bytearray(), 0
    for v in x:
        quiet = quiet + 1 if abs(v - 128) <= SILENT else 0
        cur.append(v)
        if quiet == pause:
            if len(cur) - pause >= shortest:
                out.append(bytes(cur[:-pause]))
            cur = bytearray()
    return out

said = []
for ref_path in sorted(glob.glob(f"{work}/t*.wav")):
    said += [loud_db(w) for w in words(wav8(ref_path))]
codes = list(range(48, 58)) + list(range(65, 91)) + list(range(97, 123))
spelled = [loud_db(wav8(f"{letters}/_{c}.wav")) for c in codes]
a, b = statistics.median(spelled), statistics.median(said)
print(f"loudness: letters and digits {a:.1f} dB, words {b:.1f} dB ({len(said)} words); "
      f"difference {a - b:+.1f} dB")
PY
