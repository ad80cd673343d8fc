#!/usr/bin/env python3
# TIRLA: the pitch contour of a statement, a yes/no question, a question opened by a question
# word and a long sentence, as `orvia --pho` gives them (the pitch at each stressed phoneme,
# marked *, and at each word's other points), and how long a paragraph lasts for ORVIA and for
# `espeak-ng -v mb-br4` at their normal speeds.
#   tools/orvia_contour.py [--orvia build/bin/orvia] [--dados data/orvia] [-f paragraph.txt]
import argparse
import os
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
SENTENCES = [
    ("afirmação", "O menino comprou um livro novo."),
    ("pergunta sim/não", "Você vem amanhã de manhã?"),
    ("pergunta com pronome", "Onde você comprou esse livro?"),
    ("frase longa", "A casa da minha avó fica perto da praia, mas ninguém sabe quando ela vai "
                    "voltar para a cidade grande onde moram os filhos."),
]
PARAGRAPH = (
    "O Brasil é o maior país da América do Sul. A sua capital é Brasília, mas a maior cidade é "
    "São Paulo. Você já visitou o Rio de Janeiro? As praias são muito bonitas, e a comida é "
    "ótima. Onde você vai passar as férias este ano? Muitas pessoas preferem viajar para o "
    "Nordeste, porque o sol brilha quase o ano inteiro. No inverno, porém, o sul fica frio e às "
    "vezes até neva nas serras. Quem gosta de frio pode visitar Gramado, uma cidade pequena e "
    "muito charmosa.")


def pho(cmd, text):
    return subprocess.run(cmd, input=text, capture_output=True, text=True, check=True).stdout


def contour(lines):
    words, current = [], None
    for line in lines.splitlines():
        if line.startswith(";"):
            token = line[1:]
            current = [token, []] if token[:1].isalpha() else None
            if current:
                words.append(current)
            continue
        parts = line.split()
        if current is not None and len(parts) == 4:
            current[1].append(parts[3] + ("*" if parts[2] == "80" else ""))
    return "  ".join(f"{w}({' '.join(p)})" for w, p in words)


def milliseconds(lines):
    total = pauses = 0
    for line in lines.splitlines():
        parts = line.split()
        if len(parts) >= 2 and not line.startswith(";") and parts[1].isdigit():
            total += int(parts[1])
            pauses += int(parts[1]) if parts[0] == "_" else 0
    return total, pauses


def main():
    p = argparse.ArgumentParser(description="Entonação e duração do ORVIA")
    p.add_argument("--orvia", default=os.path.join(HERE, "..", "build", "bin", "orvia"))
    p.add_argument("--dados", default=os.path.join(HERE, "..", "data", "orvia"))
    p.add_argument("-f", dest="paragraph", help="parágrafo a medir (UTF-8)")
    a = p.parse_args()
    orvia = [a.orvia, "--pho", "--dados", a.dados]
    for kind, sentence in SENTENCES:
        print(f"{kind}: {sentence}\n  {contour(pho(orvia, sentence))}")
    text = open(a.paragraph, encoding="utf-8").read() if a.paragraph else PARAGRAPH
    o, op = milliseconds(pho(orvia, text))
    e, ep = milliseconds(pho(["espeak-ng", "-v", "mb-br4", "-q", "--pho"], text))
    print(f"parágrafo: orvia {o} ms (pausas {op}), espeak-ng {e} ms (pausas {ep}), "
          f"razão {o / max(e, 1):.3f}")


if __name__ == "__main__":
    main()
