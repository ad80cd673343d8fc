#!/usr/bin/python3
# TIRLA: sd_orvia under a real Speech Dispatcher (a private one, scripts/speechd-private.sh),
# driven through python3-speechd as a screen reader drives it: SSML with a mark before every
# word, cancels in the middle of a message followed by messages that begin with marks, CHAR,
# KEY, SOUND_ICON, punctuation, capitals, voice and rate, and a second client at the same
# time. Every message must end, report its marks in order, and be heard: the sound is read
# from what the server played (its ALSA device writes to a file), not from the module.
# Usage: server_test.py BUILD   (exit 77: speech-dispatcher, python3-speechd or br4 missing)
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

try:
    import speechd
except ImportError:
    print("SKIP: python3-speechd não está instalado (apt install python3-speechd)")
    sys.exit(77)
if not shutil.which("speech-dispatcher"):
    print("SKIP: speech-dispatcher não está instalado")
    sys.exit(77)
if not os.path.exists("/usr/share/mbrola/br4/br4"):
    print("SKIP: a voz br4 do MBROLA não está instalada")
    sys.exit(77)

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
source = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
script = os.path.join(source, "scripts", "speechd-private.sh")
work = tempfile.mkdtemp(prefix="tirla-speechd-")
played = os.path.join(work, "out", "server.raw")
module_log = os.path.join(work, "log", "orvia.log")
BYTES_PER_SECOND = 32000  # ORVIA's sound: 16000 16-bit samples a second
failures = []


def check(ok, what):
    print(("ok: " if ok else "FALHOU: ") + what, flush=True)
    if not ok:
        failures.append(what)


def played_bytes():
    try:
        return os.path.getsize(played)
    except OSError:
        return 0


def settle(longest=10.0):
    """What the server has played once it stops growing for a moment."""
    last, since, start = played_bytes(), time.time(), time.time()
    while time.time() - since < 0.4 and time.time() - start < longest:
        time.sleep(0.05)
        now = played_bytes()
        if now != last:
            last, since = now, time.time()
    return last


class Events:
    """Every event of every message, as the client library calls back."""

    def __init__(self):
        self.seen = {}
        self.cond = threading.Condition()

    def callback(self, tag):
        self.seen[tag] = []

        def heard(kind, index_mark=None):
            with self.cond:
                self.seen[tag].append(index_mark if kind == speechd.CallbackType.INDEX_MARK
                                      else kind)
                self.cond.notify_all()
        return heard

    def final(self, tag, timeout=30):
        """'end' or 'cancel', once it came; None after `timeout` seconds."""
        ends = (speechd.CallbackType.END, speechd.CallbackType.CANCEL)
        with self.cond:
            self.cond.wait_for(lambda: any(e in ends for e in self.seen[tag]), timeout)
            return next((e for e in self.seen[tag] if e in ends), None)

    def marks(self, tag):
        kinds = ("begin", "end", "cancel", "pause", "resume")
        return [e for e in self.seen[tag] if e not in kinds]


def client(name, events):
    c = speechd.SSIPClient(name, address=address, autospawn=False)
    c.set_output_module("orvia")
    c.set_language("pt-BR")
    c.set_data_mode(speechd.DataMode.SSML)
    c.set_punctuation(speechd.PunctuationMode.SOME)
    return c


def with_marks(words, prefix):
    return "<speak>" + "".join(f'<mark name="{prefix}{i}"/>{w} ' for i, w in enumerate(words)) \
        + "</speak>"


def speak_heard(c, events, tag, ssml, seconds, marks=None):
    """Speaks and waits for the end: it must end, give its marks, and be heard."""
    before = played_bytes()
    c.speak(ssml, callback=events.callback(tag))
    final = events.final(tag)
    heard = settle() - before
    check(final == "end", f"{tag}: a mensagem terminou ({final})")
    check(heard >= seconds * BYTES_PER_SECOND,
          f"{tag}: o servidor tocou {heard / BYTES_PER_SECOND:.2f} s de som (>= {seconds})")
    if marks is not None:
        check(events.marks(tag) == marks, f"{tag}: as {len(marks)} marcas chegaram em ordem"
              + ("" if events.marks(tag) == marks else f" (vieram {events.marks(tag)[:8]}...)"))
    return heard


def command_heard(what, send, seconds):
    """A CHAR, KEY or SOUND_ICON (no callbacks for those): heard from what the server plays."""
    before = played_bytes()
    send()
    heard = settle() - before
    check(heard >= seconds * BYTES_PER_SECOND,
          f"{what}: o servidor tocou {heard / BYTES_PER_SECOND:.2f} s de som (>= {seconds})")


env = dict(os.environ, SD_ORVIA=os.path.join(build, "bin", "sd_orvia"), LOGLEVEL="5")
started = subprocess.run([script, "start", work], env=env, capture_output=True, text=True)
if started.returncode != 0:
    print("FALHOU: o servidor privado não partiu:", started.stderr)
    sys.exit(1)
address = started.stdout.strip()
try:
    events = Events()
    a = client("tirla-teste", events)
    paragraph = ("Leitor de tela é o programa que lê em voz alta o que aparece na tela do "
                 "computador, para quem não enxerga, e que avisa cada tecla digitada.").split()

    speak_heard(a, events, "palavras", with_marks(paragraph, "p"), 2.0,
                [f"p{i}" for i in range(len(paragraph))])

    # a key pressed while a message is still being made: the screen reader cancels, then the
    # next message begins with a mark; every one of them must be spoken, with its marks
    long_text = with_marks((" ".join(paragraph) + " ") .split() * 6, "l")
    for round_number, delay in enumerate((0.0, 0.01, 0.03, 0.08, 0.2, 0.5)):
        a.speak(long_text, callback=events.callback(f"longo{round_number}"))
        time.sleep(delay)
        a.cancel()
        speak_heard(a, events, f"após cancelar em {int(delay * 1000)} ms",
                    '<speak><mark name="a"/>Olá, de novo.</speak>', 0.5, ["a"])
    a.speak(long_text, callback=events.callback("longo-final"))
    time.sleep(0.05)
    a.cancel()
    speak_heard(a, events, "três marcas no começo",
                '<speak><mark name="x1"/><mark name="x2"/><mark name="x3"/>Três marcas antes '
                'do texto.<mark name="x4"/></speak>', 0.8, ["x1", "x2", "x3", "x4"])

    command_heard("CHAR de um espaço", lambda: a.char(" "), 0.25)
    command_heard("CHAR a", lambda: a.char("a"), 0.15)
    command_heard("KEY control_alt_delete", lambda: a.key("control_alt_delete"), 0.5)
    command_heard("SOUND_ICON message", lambda: a.sound_icon("message"), 0.03)

    a.set_punctuation(speechd.PunctuationMode.ALL)
    speak_heard(a, events, "pontuação toda", "<speak>Preço: R$ 10,50!</speak>", 1.0)
    a.set_punctuation(speechd.PunctuationMode.SOME)
    a.set_cap_let_recogn("spell")
    command_heard("CHAR A com maiúscula dita", lambda: a.char("A"), 0.5)
    a.set_cap_let_recogn("none")

    sentence = "<speak>Hoje o dia está bonito e a reunião começa às dez horas.</speak>"
    normal = speak_heard(a, events, "velocidade normal", sentence, 1.5)
    a.set_voice("male1")
    a.set_rate(80)
    fast = speak_heard(a, events, "voz male1, velocidade 80", sentence, 0.5)
    check(fast < normal * 0.75, f"a velocidade 80 fala mais depressa ({fast} < {normal} bytes)")
    a.set_rate(0)

    # a second program speaking at the same time: both messages are heard, in turn
    b = client("tirla-segundo", events)
    a.speak(with_marks("Primeiro programa falando agora.".split(), "a"),
            callback=events.callback("cliente A"))
    b.speak(with_marks("Segundo programa falando também.".split(), "b"),
            callback=events.callback("cliente B"))
    check(events.final("cliente A") == "end", "cliente A: a mensagem terminou")
    check(events.final("cliente B") == "end", "cliente B: a mensagem terminou")
    check(events.marks("cliente B") == [f"b{i}" for i in range(4)], "cliente B: as marcas")
    b.close()
    a.close()

    time.sleep(0.3)
    log = open(module_log, encoding="utf-8", errors="replace").read()
    begins = len(re.findall(r"-> 701 BEGIN", log))
    finals = len(re.findall(r"-> 70[234] (END|STOP|PAUSE)", log))
    check(begins > 10 and begins == finals,
          f"o log do módulo tem {begins} começos e {finals} finais de mensagem")
    check("<- SPEAK" in log and "705 AUDIO" in log, "o log do módulo tem comandos e áudio")
finally:
    subprocess.run([script, "stop", work], capture_output=True)
    if failures:
        print("--- fim do log do módulo ---")
        try:
            print("".join(open(module_log, errors="replace").readlines()[-40:]))
        except OSError:
            pass
    shutil.rmtree(work, ignore_errors=True)

if failures:
    print(f"{len(failures)} falha(s)")
    sys.exit(1)
print("todas as verificações passaram")
