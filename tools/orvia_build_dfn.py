#!/usr/bin/env python3
# TIRLA: builds ORVIA's diphone list of a voice by asking the installed MBROLA voice which
# name pairs it lacks: every pair of ORVIA's 39 names, written as the voice writes them (the
# voice table's renames), is synthesized once with `mbrola -e`, which names each missing pair
# on standard error; the pairs it does not name are written. The build runs it for every
# installed voice but br4, whose list (portug.dfn) is committed:
#   tools/orvia_build_dfn.py [--voice /usr/share/mbrola/br4/br4] [--output data/orvia/portug.dfn]
#   tools/orvia_build_dfn.py --voice /usr/share/mbrola/br1/br1 --table data/orvia/portug.voz \
#       --output build/share/tolvan/orviatts/br1.dfn
import argparse
import os
import re
import subprocess
import sys
import tempfile

NAMES = ["_", "a", "an", "@", "e", "ee", "en", "i", "in", "o", "oo", "on", "u", "un", "w", "y",
         "b", "d", "f", "g", "k", "p", "t", "v", "j", "x", "s", "z", "s2", "l", "lh", "m", "m2",
         "n", "nh", "r", "r2", "rr", "h"]


def voice_names(table, voice):
    """ORVIA's names as the voice's row of the voice table writes them, each once."""
    renames = {}
    with open(table, encoding="cp1252") as f:
        for line in f:
            words = line.split(";")[0].split()
            if len(words) >= 8 and words[0].lower() == voice:
                renames = dict(w.split("=", 1) for w in words[8:])
    names = []
    for name in NAMES:
        spoken = renames.get(name, name)
        if spoken not in names:
            names.append(spoken)
    return names


def missing_pairs(mbrola, voice, names):
    lines = []
    for a in names:
        for b in names:
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
    parser.add_argument("--table", help="a tabela de vozes (portug.voz), com os nomes da voz")
    parser.add_argument("--output", default=os.path.join(os.path.dirname(__file__), "..", "data",
                                                          "orvia", "portug.dfn"))
    args = parser.parse_args()
    if not os.path.exists(args.voice):
        sys.exit(f"orvia_build_dfn: voz não encontrada: {args.voice}")
    voice = os.path.basename(args.voice)
    names = voice_names(args.table, voice) if args.table else NAMES
    missing = missing_pairs(args.mbrola, args.voice, names)
    have = [f"{a}-{b}" for a in names for b in names if (a, b) not in missing]
    with open(args.output, "w", encoding="cp1252", newline="\n") as f:
        f.write(f"; pares de fonemas que a voz {voice} tem "
                f"({len(have)} de {len(names) ** 2}); gerado por tools/orvia_build_dfn.py\n")
        for pair in have:
            f.write(pair + "\n")
    print(f"{len(have)} pares escritos, {len(missing)} ausentes: {args.output}")


if __name__ == "__main__":
    main()
