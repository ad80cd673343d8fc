#!/usr/bin/env python3
# TIRLA: builds ORVIA's diphone list (portug.dfn) by asking the installed MBROLA voice which
# name pairs it lacks: every pair of the 39 br4 names is synthesized once with `mbrola -e`,
# which names each missing pair on standard error; the pairs it does not name are written.
# Run it by hand after changing the voice (the normal build uses the committed file):
#   tools/orvia_build_dfn.py [--voice /usr/share/mbrola/br4/br4] [--output data/orvia/portug.dfn]
import argparse
import os
import re
import subprocess
import sys
import tempfile

NAMES = ["_", "a", "an", "@", "e", "ee", "en", "i", "in", "o", "oo", "on", "u", "un", "w", "y",
         "b", "d", "f", "g", "k", "p", "t", "v", "j", "x", "s", "z", "s2", "l", "lh", "m", "m2",
         "n", "nh", "r", "r2", "rr", "h"]


def missing_pairs(mbrola, voice):
    lines = []
    for a in NAMES:
        for b in NAMES:
            lines += ["_ 40 50 200", f"{a} 60 50 200", f"{b} 60 50 200", "_ 40 50 200", "#"]
    pho = "\n".join(lines) + "\n"
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "out.raw")
        result = subprocess.run([mbrola, "-e", voice, "-", out], input=pho.encode(),
                                capture_output=True)
    if result.returncode != 0:
        sys.exit(f"orvia_build_dfn: mbrola falhou: {result.stderr.decode(errors='replace')}")
    found = re.findall(r"Warning: (\S+)-(\S+) unknown", result.stderr.decode(errors="replace"))
    return set(found)


def main():
    parser = argparse.ArgumentParser(description="Gera a lista de difones do ORVIA")
    parser.add_argument("--voice", default="/usr/share/mbrola/br4/br4")
    parser.add_argument("--mbrola", default="mbrola")
    parser.add_argument("--output", default=os.path.join(os.path.dirname(__file__), "..", "data",
                                                          "orvia", "portug.dfn"))
    args = parser.parse_args()
    if not os.path.exists(args.voice):
        sys.exit(f"orvia_build_dfn: voz não encontrada: {args.voice}")
    missing = missing_pairs(args.mbrola, args.voice)
    have = [f"{a}-{b}" for a in NAMES for b in NAMES if (a, b) not in missing]
    with open(args.output, "w", encoding="cp1252", newline="\n") as f:
        f.write(f"; pares de fonemas que a voz {os.path.basename(args.voice)} tem "
                f"({len(have)} de {len(NAMES) ** 2}); gerado por tools/orvia_build_dfn.py\n")
        for pair in have:
            f.write(pair + "\n")
    print(f"{len(have)} pares escritos, {len(missing)} ausentes: {args.output}")


if __name__ == "__main__":
    main()
