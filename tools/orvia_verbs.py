#!/usr/bin/env python3
# TIRLA: writes the [VERBOS] section of data/orvia/portug.nrm from Debian's wbrazilian list.
# After a subject pronoun or a clitic the present-tense forms whose stem vowel is stressed
# take an open vowel (eu gósto, ele sóbe), where the noun of the same spelling has a closed
# one (o gosto). A verb counts when its infinitive is in the list; its stem's last vowel is e
# or o, not nasal and not part of a diphthong. Verbs that keep the closed vowel are listed
# below. Prints to standard error how many words each rule gives.
#   tools/orvia_verbs.py [/usr/share/dict/brazilian] > section.txt
import sys

VOWELS = "aeiouáéíóúâêôãõ"
# Stems whose vowel stays closed in Brazilian speech (eu chego, ele fecha, eu desejo).
CLOSED = ("cheg", "fech", "desej", "almej", "bocej", "manej", "planej", "pestanej", "gotej",
          "solet", "empreg")
CLOSED_ENDINGS = ("ej", "elh", "ech", "oj")
# Forms by conjugation: the endings whose stem vowel carries the stress.
ENDINGS = {"ar": ("o", "a", "as", "am"), "er": ("e", "es", "em"), "ir": ("e", "es", "em")}
OPEN = {"e": "é", "o": "ó"}
# -ir verbs whose stem u is o where it is stressed: subir, ele sóbe; fugir, ele fóge.


def stressed_vowel(stem):
    """Index of the stem's last vowel when it can open, else -1."""
    i = len(stem) - 1
    while i >= 0 and stem[i] not in VOWELS:
        i -= 1
    if i < 0 or stem[i] not in "eou" or i == len(stem) - 1:
        return -1
    if (i > 0 and stem[i - 1] in VOWELS) or stem[i + 1] in "mn" or stem[i + 1] in VOWELS:
        return -1
    return i


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/dict/brazilian"
    words = set(w.strip() for w in open(path, encoding="utf-8"))
    counts = {k: 0 for k in ENDINGS}
    closed = 0
    out = []
    for infinitive in sorted(words):
        ending = infinitive[-2:]
        if ending not in ENDINGS or len(infinitive) < 4:
            continue
        stem = infinitive[:-2]
        i = stressed_vowel(stem)
        if i < 0:
            continue
        if stem.endswith(CLOSED) or stem.endswith(CLOSED_ENDINGS):
            closed += 1
            continue
        vowel = stem[i]
        if vowel == "u":
            if ending != "ir":
                continue
            stem = stem[:i] + "o" + stem[i + 1:]
            vowel = "o"
        for e in ENDINGS[ending]:
            form = stem + e
            if form not in words:
                continue
            out.append(f"{form} = {stem[:i]}{OPEN[vowel]}{stem[i + 1:]}{e}")
            counts[ending] += 1
    for ending, n in counts.items():
        print(f"-{ending}: {n} formas", file=sys.stderr)
    print(f"radicais que ficam fechados: {closed} verbos", file=sys.stderr)
    print("\n".join(out))


if __name__ == "__main__":
    main()
