#!/usr/bin/env python3
# TIRLA: times sd_orvia's protocol exchange as the server sees it: from the end of a SPEAK of
# one sentence to its first audio chunk; from STOP, sent in the middle of a long text, to
# "703 STOP"; and the whole making of a paragraph with a mark before every word (as a screen
# reader sends it) against the same paragraph without marks. The module's output is read as it
# comes, as the server reads it.
# Usage: bench/bench_sd_orvia_latency.py [BUILD] [ROUNDS]
import os
import queue
import statistics
import subprocess
import sys
import threading
import time

build = sys.argv[1] if len(sys.argv) > 1 else "build"
rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 20
env = dict(os.environ, TOLVAN_WINDIR=os.path.join(build, "etc", "tolvan"))
module = subprocess.Popen([os.path.join(build, "bin", "sd_orvia"), "/nonexistent/orvia.conf"],
                          stdin=subprocess.PIPE, stdout=subprocess.PIPE, env=env)
lines = queue.Queue()


def reader():
    for line in module.stdout:
        lines.put((time.perf_counter(), line))
    lines.put((time.perf_counter(), b""))


threading.Thread(target=reader, daemon=True).start()


def send(text):
    module.stdin.write(text.encode())
    module.stdin.flush()
    return time.perf_counter()


def until(prefix):
    while True:
        at, line = lines.get(timeout=30)
        if not line:
            sys.exit("sd_orvia ended")
        if line.startswith(prefix):
            return at


def ms(values):
    return f"median {statistics.median(values):.1f} ms, max {max(values):.1f} ms"


settings = "SET\n" + "".join(f"{x}\n" for x in (
    "rate=0", "pitch=0", "volume=100", "punctuation_mode=none", "language=pt-br")) + ".\n"
send("INIT\n"); until(b"299 ")
send("AUDIO\naudio_output_method=server\n.\n"); until(b"203 ")

sentence = "<speak>Bom dia, hoje o tempo está bom.</speak>\n.\n"
long_text = "<speak>" + " ".join(
    f"Esta é a frase número {i} de um texto longo.<mark name=\"__spd_{i}\"/>"
    for i in range(3000)) + "</speak>\n.\n"

first_audio, stopped = [], []
for _ in range(rounds):
    send(settings); until(b"203 OK SETTINGS")
    send("SPEAK\n"); until(b"202 ")
    sent = send(sentence)
    first_audio.append((until(b"705 AUDIO") - sent) * 1000)
    until(b"702 ")
for _ in range(rounds):
    send(settings); until(b"203 OK SETTINGS")
    send("SPEAK\n"); until(b"202 ")
    send(long_text)
    until(b"705 AUDIO")
    time.sleep(0.2)  # well inside the text
    sent = send("STOP\n")
    stopped.append((until(b"703 ") - sent) * 1000)
# a paragraph of some 550 characters, as a screen reader marks it: a mark before every word
paragraph = ("O leitor de tela lê em voz alta o que aparece no computador: menus, janelas, "
             "botões e caixas de texto. Cada tecla digitada é dita de novo, e quando o usuário "
             "aperta outra tecla antes do fim da frase, a fala para na hora e começa a próxima. "
             "Assim quem não enxerga trabalha, estuda e conversa com a mesma rapidez de quem vê a "
             "tela. As marcas dizem ao leitor até onde a fala chegou, palavra por palavra, para "
             "que ele saiba onde retomar a leitura depois de uma interrupção qualquer. No fim, "
             "o usuário escolhe a voz, a velocidade e o tom que mais lhe agradam.")
at, marked = 0, []
for word in paragraph.split(" "):
    marked.append(f'<mark name="{at}:{len(word)}"/>{word}')
    at += len(word) + 1
plain_text = "<speak>" + paragraph + "</speak>\n.\n"
marked_text = "<speak>" + " ".join(marked) + "</speak>\n.\n"
making = {plain_text: [], marked_text: []}
for _ in range(rounds):
    for text, times in making.items():
        send(settings); until(b"203 OK SETTINGS")
        send("SPEAK\n"); until(b"202 ")
        sent = send(text)
        times.append((until(b"702 ") - sent) * 1000)
send("QUIT\n"); until(b"210 ")
module.wait(timeout=10)
print(f"SPEAK of one sentence to its first audio chunk ({rounds} rounds): {ms(first_audio)}")
print(f"STOP in the middle of a long text to 703 STOP ({rounds} rounds): {ms(stopped)}")
plain, marks = statistics.median(making[plain_text]), statistics.median(making[marked_text])
print(f"{len(paragraph)} characters to 702 END ({rounds} rounds): without marks {ms(making[plain_text])}; "
      f"a mark before each of {len(marked)} words {ms(making[marked_text])}; ratio {marks / plain:.2f}")
