#!/usr/bin/env python3
# TIRLA: measures ORVIA's pronunciation as a phoneme error rate (edit distance over the
# reference length).
#   tools/orvia_per.py                 against `espeak-ng -v mb-br4 -q --pho` as a second
#                                      opinion, on words drawn from Debian's wbrazilian list
#                                      with a fixed seed, with the most frequent disagreements;
#   tools/orvia_per.py --gold FILE...  against hand-written gold lists ("word = names" lines,
#                                      cp1252, ";" comments; a folder means its .txt files),
#                                      for ORVIA and for espeak-ng in the same run.
# Fillers that ORVIA puts where the voice lacks a pair ("y 50", "_ 50") are not counted.
import argparse
import collections
import concurrent.futures
import os
import random
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
WORD = re.compile(r"^[a-zà-öø-ÿ]+$")


def draw_words(path, count, seed):
    with open(path, encoding="utf-8") as f:
        words = [w.strip() for w in f if WORD.match(w.strip())]
    return random.Random(seed).sample(words, count)


def espeak_phonemes(word):
    out = subprocess.run(["espeak-ng", "-v", "mb-br4", "-q", "--pho", word],
                         capture_output=True, text=True).stdout
    names = [line.split()[0] for line in out.splitlines() if line.strip()]
    return [n for n in names if n != "_"]


def is_filler(line):
    return line.strip() in ("y 50", "_ 50")


def read_gold(paths):
    files = []
    for path in paths:
        if os.path.isdir(path):
            files += sorted(os.path.join(path, f) for f in os.listdir(path) if f.endswith(".txt"))
        else:
            files.append(path)
    entries = []
    for name in files:
        with open(name, encoding="cp1252") as f:
            for line in f:
                line = line.strip()
                if not line or line.startswith(";") or " = " not in line:
                    continue
                word, names = line.split(" = ", 1)
                entries.append((word.strip(), names.split()))
    return entries


def orvia_phonemes(orvia, data, words):
    # One run for all words: each word is its own sentence; ";word" comments start tokens.
    cmd = [orvia, "--pho"] + (["--dados", data] if data else [])
    text = " . ".join(words) + " ."
    out = subprocess.run(cmd, input=text, capture_output=True, text=True, check=True).stdout
    result, current = [], None
    for line in out.splitlines():
        if line.startswith(";"):
            token = line[1:]
            if token and token[0].isalpha():
                current = []
                result.append(current)
            continue
        name = line.split()[0] if line.strip() and not is_filler(line) else ""
        if current is not None and name and name != "_":
            current.append(name)
    if len(result) != len(words):
        sys.exit(f"orvia_per: {len(result)} palavras na saída do orvia, {len(words)} esperadas")
    return result


def align(ref, hyp):
    n, m = len(ref), len(hyp)
    d = [[0] * (m + 1) for _ in range(n + 1)]
    for i in range(n + 1):
        d[i][0] = i
    for j in range(m + 1):
        d[0][j] = j
    for i in range(1, n + 1):
        for j in range(1, m + 1):
            d[i][j] = min(d[i - 1][j] + 1, d[i][j - 1] + 1,
                          d[i - 1][j - 1] + (ref[i - 1] != hyp[j - 1]))
    ops, i, j = [], n, m
    while i > 0 or j > 0:
        if i > 0 and j > 0 and d[i][j] == d[i - 1][j - 1] + (ref[i - 1] != hyp[j - 1]):
            if ref[i - 1] != hyp[j - 1]:
                ops.append((ref[i - 1], hyp[j - 1]))
            i, j = i - 1, j - 1
        elif i > 0 and d[i][j] == d[i - 1][j] + 1:
            ops.append((ref[i - 1], "-"))
            i -= 1
        else:
            ops.append(("-", hyp[j - 1]))
            j -= 1
    return d[n][m], ops


def rate(refs, hyps):
    errors = total = differing = 0
    for ref, hyp in zip(refs, hyps):
        dist, _ = align(ref, hyp)
        errors += dist
        total += len(ref)
        differing += dist > 0
    return errors, total, differing


def gold_report(a):
    entries = read_gold(a.gold)
    words = [w for w, _ in entries]
    golds = [g for _, g in entries]
    hyps = orvia_phonemes(a.orvia, a.dados, words)
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        refs = list(pool.map(espeak_phonemes, words))
    print(f"lista: {len(words)} palavras, {sum(len(g) for g in golds)} fonemas")
    for system, out in (("orvia", hyps), ("espeak-ng -v mb-br4", refs)):
        errors, total, differing = rate(golds, out)
        print(f"{system:20s} erros {errors:4d}  taxa {errors / max(total, 1):.3f}  "
              f"palavras diferentes {differing} ({100.0 * differing / max(len(words), 1):.1f}%)")
    shown = 0
    for word, gold, hyp in zip(words, golds, hyps):
        if hyp != gold and shown < a.show:
            print(f"{word}: lista {' '.join(gold)} | orvia {' '.join(hyp)}")
            shown += 1


def main():
    p = argparse.ArgumentParser(description="Taxa de erro de fonemas do ORVIA")
    p.add_argument("--orvia", default=os.path.join(HERE, "..", "build", "bin", "orvia"))
    p.add_argument("--dados", default=os.path.join(HERE, "..", "data", "orvia"))
    p.add_argument("--dict", default="/usr/share/dict/brazilian")
    p.add_argument("--count", type=int, default=1000)
    p.add_argument("--seed", type=int, default=2026)
    p.add_argument("--top", type=int, default=25)
    p.add_argument("--show", type=int, default=0, help="mostra N palavras com diferenças")
    p.add_argument("--gold", nargs="+", help="listas de referência (arquivos ou pastas)")
    a = p.parse_args()
    if a.gold:
        gold_report(a)
        return
    words = draw_words(a.dict, a.count, a.seed)
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        refs = list(pool.map(espeak_phonemes, words))
    hyps = orvia_phonemes(a.orvia, a.dados, words)
    errors = total = differing = 0
    patterns = collections.Counter()
    shown = 0
    for word, ref, hyp in zip(words, refs, hyps):
        dist, ops = align(ref, hyp)
        errors += dist
        total += len(ref)
        differing += dist > 0
        patterns.update(ops)
        if dist and shown < a.show:
            print(f"{word}: espeak {' '.join(ref)} | orvia {' '.join(hyp)}")
            shown += 1
    print(f"palavras {len(words)} (semente {a.seed}), fonemas de referência {total}, "
          f"erros {errors}, taxa {100.0 * errors / max(total, 1):.2f}%, "
          f"palavras diferentes {differing} ({100.0 * differing / max(len(words), 1):.1f}%)")
    print("diferenças mais frequentes (espeak -> orvia):")
    for (r, h), count in patterns.most_common(a.top):
        print(f"  {count:5d}  {r} -> {h}")


if __name__ == "__main__":
    main()
