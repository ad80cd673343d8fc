#!/usr/bin/env python3
# TIRLA: how many texts ORVIA reads right. Reads lines "text<TAB>expected reading" (UTF-8,
# "#" comments) and says each text and its expected reading through `orvia --pho`: a text is
# read right when both give the same phoneme names (pauses and the fillers put where the
# voice lacks a pair left out). The expected reading is written as a Brazilian would spell
# what is said, with accents where the vowel is open or stressed ("eu gósto", "reáis"), so
# that normalisation, stress and open vowels are all compared through the same rules.
#   tools/orvia_reading.py [--orvia build/bin/orvia] [--show] FILE...
import argparse
import concurrent.futures
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def phonemes(orvia, text):
    out = subprocess.run([orvia, "--pho", "--", text], capture_output=True, text=True,
                         encoding="cp1252", errors="replace").stdout
    names = []
    for line in out.splitlines():
        parts = line.split()
        if not parts or line.startswith(";"):
            continue
        if parts[0] == "_" or (parts[0] == "y" and parts[1:2] == ["50"]):
            continue
        names.append(parts[0])
    return names


def read_cases(paths):
    cases = []
    for path in paths:
        with open(path, encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                line = line.rstrip("\n")
                if not line.strip() or line.startswith("#"):
                    continue
                if "\t" not in line:
                    sys.exit(f"{path}:{number}: falta a tabulação entre o texto e a leitura")
                text, expected = line.split("\t", 1)
                cases.append((text, expected))
    return cases


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("files", nargs="+")
    parser.add_argument("--orvia", default=os.path.join(HERE, "..", "build", "bin", "orvia"))
    parser.add_argument("--show", action="store_true", help="list the texts read wrong")
    args = parser.parse_args()
    cases = read_cases(args.files)
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        got = list(pool.map(lambda c: phonemes(args.orvia, c[0]), cases))
        want = list(pool.map(lambda c: phonemes(args.orvia, c[1]), cases))
    right = 0
    for (text, expected), g, w in zip(cases, got, want):
        if g == w:
            right += 1
        elif args.show:
            print(f"{text}\n  lido:     {' '.join(g)}\n  esperado: {' '.join(w)}  ({expected})")
    print(f"{right} de {len(cases)} lidos certo")
    return 0 if right == len(cases) else 1


if __name__ == "__main__":
    sys.exit(main())
