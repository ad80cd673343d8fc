#!/usr/bin/env python3
# TIRLA: the text fed to `orvia --pho` through a pipe in random pieces, with pauses right after
# sentence and line ends, must give the lines the whole text gives read from a file.
import os
import random
import subprocess
import sys
import tempfile
import time

ORVIA = os.path.join(sys.argv[1] if len(sys.argv) > 1 else "build", "bin", "orvia")
RUNS = 20
SEED = 2026

TEXT = (
    "Bom dia. O Sr. Almeida chegou às 10h30, com R$ 1.500,00! Você viu? Sim.\n"
    "Uma linha sem ponto\n"
    "e outra que segue... Depois disse: \"Não sei.\" E saiu.\n"
    "Custa 3,5 kg; o resto, etc. e tal. Veio. e foi. 2 vezes! Fim?\n"
    "Último.  \n"
)


def pieces(rng):
    """Cut points: some right after a sentence or line end (where a pause changed things),
    some anywhere; each piece has a pause after it or none."""
    ends = [i + 1 for i, c in enumerate(TEXT) if c in ".!?\n" or (c == " " and TEXT[i - 1] in ".!?")]
    cuts = sorted(set(rng.sample(ends, 4) + rng.sample(range(1, len(TEXT)), 2)))
    out, start = [], 0
    for cut in cuts + [len(TEXT)]:
        out.append((TEXT[start:cut], rng.choice([0.0, 0.02, 0.06])))
        start = cut
    return out


def piped(chunks):
    with subprocess.Popen([ORVIA, "--pho"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE) as child:
        for text, pause in chunks:
            child.stdin.write(text.encode())
            child.stdin.flush()
            time.sleep(pause)
        child.stdin.close()
        out = child.stdout.read().decode()
        err = child.stderr.read().decode()
        assert child.wait() == 0, err
    return out.splitlines()


def main():
    with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as f:
        f.write(TEXT)
    try:
        whole = subprocess.run([ORVIA, "--pho", "-f", f.name], capture_output=True, text=True,
                               check=True).stdout.splitlines()
    finally:
        os.unlink(f.name)
    rng = random.Random(SEED)
    failed = 0
    for run in range(RUNS):
        chunks = pieces(rng)
        lines = piped(chunks)
        if lines == whole:
            continue
        failed += 1
        at = next((i for i, (a, b) in enumerate(zip(lines, whole)) if a != b),
                  min(len(lines), len(whole)))
        print(f"leitura {run}: linha {at} de {len(lines)} ({len(whole)} do texto inteiro): "
              f"{lines[at] if at < len(lines) else '(fim)'!r} em vez de "
              f"{whole[at] if at < len(whole) else '(fim)'!r}; pedaços {chunks!r}")
    print(f"{RUNS - failed} de {RUNS} leituras em pedaços iguais ao texto inteiro")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
