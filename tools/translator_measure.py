#!/usr/bin/env python3
# TIRLA: measures the diphone translator's rules: default segments over a word list, and the
# phoneme error rate against a second opinion (espeak-ng with the br4 voice).
#
#   tools/translator_measure.py defaults [--fonetica BIN] [--words FILE]
#   tools/translator_measure.py per [--fonetica BIN] [--words FILE] [--count 1000] [--seed 4]
#   tools/translator_measure.py units [--fonetica BIN] [--words FILE]   (distinct groups)
#
# The phone-to-br4 table below is the one written down in docs/phonetic-alphabet.md.
import argparse
import random
import re
import subprocess
import sys

DEFAULT_FONETICA = "build-translator/bin/fonetica"
DEFAULT_WORDS = "/usr/share/dict/brazilian"

# Phone letters and combinations, longest first, with their br4 names.
PHONES = [
    ("tch", ["t"]), ("dj", ["d"]), ("lh", ["lh"]), ("nh", ["nh"]), ("rr", ["rr"]),
    ("ks", ["k", "s"]),
    ("a~w", ["@", "w"]),
    ("a~", ["an"]), ("e~", ["en"]), ("i~", ["in"]), ("o~", ["on"]), ("u~", ["un"]),
    ("a^", ["a"]), ("e^", ["e"]), ("o^", ["o"]), ("i^", ["i"]), ("u^", ["u"]),
    ("a", ["a"]), ("e", ["ee"]), ("i", ["i"]), ("o", ["oo"]), ("u", ["u"]),
    ("w", ["w"]), ("y", ["y"]),
    ("b", ["b"]), ("d", ["d"]), ("f", ["f"]), ("g", ["g"]), ("j", ["j"]), ("k", ["k"]),
    ("l", ["l"]), ("m", ["m"]), ("n", ["n"]), ("p", ["p"]), ("t", ["t"]), ("v", ["v"]),
    ("x", ["x"]), ("z", ["z"]), ("s", ["s"]), ("r", ["r"]), ("h", ["h"]),
]
VOWEL_LETTERS = set("aeiouwyAEIOU")


def group_phones(group, last_group):
    """br4 names of one syllable-sized group of phonetic text."""
    out = []
    i = 0
    text = group
    while i < len(text):
        if text[i] == "_":  # a recorded sound: not a phone
            i += 2
            continue
        low = text[i:].lower()
        for letters, names in PHONES:
            if low.startswith(letters):
                has_vowel_after = any(c in VOWEL_LETTERS for c in text[i + len(letters):])
                if letters == "s" and not has_vowel_after:
                    names = ["s2"]
                elif letters == "r" and not has_vowel_after and last_group:
                    names = ["r2"]
                out.extend(names)
                i += len(letters)
                break
        else:
            i += 1
    return out


def phonetic_to_br4(phonetic):
    """br4 names of the phonetic text of one word (or several)."""
    out = []
    for word in re.findall(r"\[([^\]]*)\]", phonetic):
        groups = [g for g in word.replace("/", "").split(" ") if g]
        for n, g in enumerate(groups):
            out.extend(group_phones(g, n == len(groups) - 1))
    return out


def run_fonetica(binary, words):
    text = "\n".join(words) + "\n"
    res = subprocess.run([binary], input=text.encode("utf-8"), capture_output=True, check=True)
    return res.stdout.decode("utf-8").split("\n")[: len(words)]


def espeak_br4(word):
    res = subprocess.run(["espeak-ng", "-v", "mb-br4", "-q", "--pho", word],
                         capture_output=True, check=True)
    names = []
    for line in res.stdout.decode("utf-8", "replace").splitlines():
        parts = line.split()
        if parts and parts[0] != "_" and not parts[0].startswith(";"):
            names.append(parts[0])
    return names


def edit_distance(a, b):
    prev = list(range(len(b) + 1))
    for i, x in enumerate(a, 1):
        cur = [i]
        for j, y in enumerate(b, 1):
            cur.append(min(prev[j] + 1, cur[j - 1] + 1, prev[j - 1] + (x != y)))
        prev = cur
    return prev[-1]


def load_words(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return [w.strip() for w in f if w.strip()]


def cmd_defaults(args):
    words = load_words(args.words)
    out = run_fonetica(args.fonetica, words)
    default = re.compile(r" /_[A-Z\u00c0-\u00de]")
    bad = [(w, p) for w, p in zip(words, out) if default.search(p)]
    print(f"words: {len(words)}  with a default segment: {len(bad)}")
    for w, p in bad[:40]:
        print(f"  {w}\t{p}")
    return 1 if bad else 0


def cmd_per(args):
    words = load_words(args.words)
    sample = random.Random(args.seed).sample(words, args.count)
    ours = run_fonetica(args.fonetica, sample)
    errors = total = 0
    rows = []
    for w, p in zip(sample, ours):
        mine = phonetic_to_br4(p)
        ref = espeak_br4(w)
        d = edit_distance(mine, ref)
        errors += d
        total += len(ref)
        rows.append((d, w, " ".join(mine), " ".join(ref), p))
    print(f"words: {len(sample)}  reference phonemes: {total}  edits: {errors}  "
          f"phoneme error rate: {100.0 * errors / max(total, 1):.2f}%")
    if args.show:
        for d, w, mine, ref, p in sorted(rows, reverse=True)[: args.show]:
            print(f"{d}\t{w}\tours: {mine}\tespeak: {ref}\t{p}")
    return 0


def cmd_units(args):
    words = load_words(args.words)
    counts = {}
    for p in run_fonetica(args.fonetica, words):
        for word in re.findall(r"\[([^\]]*)\]", p):
            for g in word.replace("/", "").split(" "):
                if g and not g.startswith("_"):
                    counts[g.lower()] = counts.get(g.lower(), 0) + 1
    print(f"words: {len(words)}  distinct groups (stress ignored): {len(counts)}")
    if args.show:
        print(" ".join(sorted(counts, key=counts.get, reverse=True)[: args.show]))
    return 0


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("command", choices=["defaults", "per", "units"])
    ap.add_argument("--fonetica", default=DEFAULT_FONETICA)
    ap.add_argument("--words", default=DEFAULT_WORDS)
    ap.add_argument("--count", type=int, default=1000)
    ap.add_argument("--seed", type=int, default=4)
    ap.add_argument("--show", type=int, default=0, help="list the N worst words")
    args = ap.parse_args()
    return {"defaults": cmd_defaults, "per": cmd_per, "units": cmd_units}[args.command](args)


if __name__ == "__main__":
    sys.exit(main())
