#!/bin/sh
# TIRLA: the orvia program on a whole corpus, timed from outside, against its yardsticks:
#  - writing a WAV file against the same lines piped into mbrola (best of three, one run);
#  - the first sound of a line written into a pipe that stays open (--stdout, and the sound
#    device through SDL's disk driver);
#  - peak resident memory for --pho, -w, --stdout and speaking, on ten copies of the corpus
#    (speaking on the first 60 KB: it is played at the device's pace);
#  - --pho against espeak-ng --pho (best of three).
# Usage: bench/bench_orvia_cli.sh [BUILD] [CORPUS]; the corpus defaults to fortunes-br without
# its % lines.
set -eu
build=${1:-build}
orvia="$(cd "$build" && pwd)/bin/orvia"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -n "${2:-}" ]; then cp "$2" "$work/T"; else grep -v '^%$' /usr/share/games/fortunes/brasil > "$work/T"; fi
for i in 1 2 3 4 5 6 7 8 9 10; do cat "$work/T"; done > "$work/T10"
head -c 60000 "$work/T" > "$work/T60k"
voice=/usr/share/mbrola/br4/br4

python3 - "$orvia" "$work" "$voice" <<'PY'
import os, select, subprocess, sys, time
orvia, work, voice = sys.argv[1:]
T, T10 = f"{work}/T", f"{work}/T10"

def best(command, runs=3):
    times = []
    for _ in range(runs):
        start = time.monotonic()
        subprocess.run(command, shell=True, check=True, stdout=subprocess.DEVNULL)
        times.append(time.monotonic() - start)
    return min(times)

def peak_kb(command):
    r = subprocess.run(f"/usr/bin/time -f %M {command}", shell=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.PIPE, text=True)
    return int(r.stderr.strip().splitlines()[-1])

words = len(open(T, encoding="utf-8", errors="replace").read().split())
print(f"corpus: {words} words, {os.path.getsize(T)} bytes")

# 1. writing a WAV: orvia against its own lines piped into mbrola
pipe = f"{orvia} --pho -f {T} | mbrola -e {voice} - {work}/pipe.wav"
a, b = [], []
for _ in range(3):  # in turn, so that a drift of the machine touches both
    a.append(best(f"{orvia} -f {T} -w {work}/o.wav", 1))
    b.append(best(pipe, 1))
same = open(f"{work}/o.wav", "rb").read() == open(f"{work}/pipe.wav", "rb").read()
if not same:
    print(f"sizes: -w {os.path.getsize(f'{work}/o.wav')}, pipe {os.path.getsize(f'{work}/pipe.wav')}")
print(f"-w: {min(a):.2f} s, pipe into mbrola: {min(b):.2f} s, ratio {min(a)/min(b):.3f} "
      f"(best of three); same file: {same}")

# 2. the first sound of a line in a pipe that stays open
def first_sound_stdout():
    p = subprocess.Popen([orvia, "--stdout"], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    got, delays = b"", []
    for line in (b"Bom dia.\n", b"Tchau.\n"):
        # what is left of the line before comes first
        while select.select([p.stdout], [], [], 0.3)[0]:
            chunk = os.read(p.stdout.fileno(), 65536)
            if not chunk: break
            got += chunk
        wanted = max(len(got) + 1, 45)
        start = time.monotonic()
        p.stdin.write(line); p.stdin.flush()
        while len(got) < wanted and select.select([p.stdout], [], [], 5)[0]:
            got += os.read(p.stdout.fileno(), 65536)
        delays.append(time.monotonic() - start)
    p.stdin.close(); p.stdout.read(); p.wait()
    return delays

def first_sound_device():
    raw = f"{work}/device.raw"
    env = dict(os.environ, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=raw)
    p = subprocess.Popen([orvia], stdin=subprocess.PIPE, env=env, stderr=subprocess.DEVNULL)
    time.sleep(0.5)  # the device is opened and plays silence before any line comes
    start = time.monotonic()
    p.stdin.write(b"Bom dia.\n"); p.stdin.flush()
    delay = None
    while delay is None and time.monotonic() - start < 5:
        data = open(raw, "rb").read() if os.path.exists(raw) else b""
        if data.strip(b"\0"):
            delay = time.monotonic() - start
        time.sleep(0.002)
    p.stdin.close(); p.wait()
    return delay

d = first_sound_stdout()
print(f"pipe kept open, --stdout: first samples {d[0]*1000:.0f} ms after the first line, "
      f"{d[1]*1000:.0f} ms after the second")
dev = first_sound_device()
print("pipe kept open, sound device (disk driver): first sound "
      + (f"{dev*1000:.0f} ms after the line" if dev is not None else "not heard within 5 s"))

# 3. peak memory
print(f"peak memory, ten copies of the corpus ({os.path.getsize(T10)} bytes): "
      f"--pho {peak_kb(f'{orvia} --pho -f {T10}')/1024:.1f} MiB, "
      f"-w {peak_kb(f'{orvia} -f {T10} -w /dev/null')/1024:.1f} MiB, "
      f"--stdout {peak_kb(f'{orvia} -f {T10} --stdout')/1024:.1f} MiB")
env = f"SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null SDL_DISKAUDIODELAY=0"
print(f"peak memory speaking 60 KB of it: {peak_kb(f'env {env} {orvia} -f {work}/T60k')/1024:.1f} MiB")

# 4. --pho against espeak-ng --pho
ours = best(f"{orvia} --pho -f {T}")
theirs = best(f"espeak-ng -v mb-br4 -q --pho -f {T}")
print(f"--pho: {ours:.3f} s, espeak-ng --pho: {theirs:.3f} s, {theirs/ours:.1f}x faster "
      f"(best of three)")
PY
