"""tirla --terminal under tmux, with a braille display (BRLTTY's Virtual driver) through BrlAPI:
what the line editor and screen review show on the display, and the display's keys.
Usage: braille_test.py <build dir>. Exits 77 (skipped) without tmux or brltty."""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

if shutil.which("tmux") is None:
    print("tmux ausente: teste pulado")
    sys.exit(77)
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from brltty_display import CELLS, Display  # noqa: E402 (exits 77 without brltty)

signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))  # clean up on a timeout too
build = sys.argv[1]
work = tempfile.mkdtemp(prefix="braille-")
tmux_socket = os.path.join(work, "tmux")
code_file = os.path.join(work, "code")


def tmux(*args):
    return subprocess.run(["tmux", "-S", tmux_socket, *args], capture_output=True,
                          text=True).stdout


def pane_rows():
    return tmux("capture-pane", "-p", "-t", "t").split("\n")


def keys(*args):
    tmux("send-keys", "-t", "t", *args)
    time.sleep(0.4)


def wait(predicate, timeout=30):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if predicate():
            return True
        time.sleep(0.1)
    return False


class Failed(Exception):
    pass


def check(what, ok):
    print(f"  {'ok' if ok else 'FALHA'}: {what}")
    if not ok:
        raise Failed(what)


def tirla_command(display, text=""):
    windir = os.path.join(work, "tolvan")
    os.makedirs(windir, exist_ok=True)
    shutil.copy(os.path.join(build, "etc/tolvan/TOLVAN.INI"), windir)
    return (f"env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER TERM=tmux-256color"
            f" SDL_AUDIODRIVER=dummy TOLVAN_WINDIR='{windir}'"
            f" BRLAPI_HOST='{display.brlapi_host()}' BRLAPI_AUTH=none"
            f" '{build}/bin/tirla' --terminal {text} 2>'{work}/err'; echo $? >'{code_file}';"
            " sleep 600")


def start(display):
    tmux("-f", "/dev/null", "new-session", "-d", "-x", "100", "-y", "30", "-s", "t",
         tirla_command(display))
    check("a saudação aparece", wait(lambda: "Tecle fim para terminar" in pane_rows()))


def steps(d):
    print("== a. o texto digitado aparece na linha, com o cursor depois dele")
    keys("-l", "Bom dia")
    check("'Bom dia' no começo da linha", d.wait_for(lambda: d.text().startswith("Bom dia")))
    check("cursor na célula 7", d.wait_for(lambda: d.cursor() == 7))

    print("== b. a tecla de roteamento leva o cursor à célula")
    d.send("ROUTE 2")
    check("cursor na célula 2", d.wait_for(lambda: d.cursor() == 2))
    keys("X")
    check("'BoXm dia'", d.wait_for(lambda: d.text().startswith("BoXm dia")))

    print("== c. acentos: cada letra com a sua célula")
    keys("Enter")
    keys("-l", "ação ca")
    check("'ação ca'", d.wait_for(lambda: d.text().startswith("ação ca")))
    cells = d.cells()
    a, c_cedilla, a_tilde, c = cells[0], cells[1], cells[2], cells[5]
    check(f"ç ({c_cedilla}) e ã ({a_tilde}) diferentes entre si, de c ({c}), a ({a}) e do branco",
          len({a, c_cedilla, a_tilde, c, ""}) == 5)

    print("== d. revisão de tela: a linha acima e de volta")
    keys("Enter")
    for line in ("um", "dois"):
        keys("-l", line)
        keys("Enter")
    keys("M-9")  # the terminal's Ctrl+Alt+F9
    time.sleep(1)
    here = d.text()
    d.send("LNUP")
    check("LNUP muda a linha", d.wait_for(lambda: d.text() != here))
    above = d.text()
    rows = [row[:CELLS].rstrip() for row in pane_rows()]
    check(f"'{above}' é a linha da tela acima de '{here}'",
          any(rows[i] == above and rows[i + 1] == here for i in range(len(rows) - 1)))
    d.send("LNDN")
    check("LNDN volta", d.wait_for(lambda: d.text() == here))

    print("== e. sai da revisão e termina")
    keys("Escape")
    keys("-l", "fim")
    keys("Enter")
    check("tirla termina", wait(lambda: os.path.exists(code_file) and os.path.getsize(code_file)))
    code = open(code_file).read().strip()
    check(f"código {code}, esperado 0", code == "0")

    print("== f. com texto na linha de comando, o texto que é falado")
    os.remove(code_file)
    tmux("new-window", "-t", "t", tirla_command(d, "'Olá, você está bem?'"))
    check("'Olá, você está bem?'", d.wait_for(lambda: d.text() == "Olá, você está bem?"))
    check("tirla termina", wait(lambda: os.path.exists(code_file) and os.path.getsize(code_file)))


def main():
    failed = False
    with Display() as d:
        try:
            start(d)
            steps(d)
        except Failed:
            failed = True
            print(f"linha Braille: '{d.text()}'\ncélulas: {d.cells()}\ncursor: {d.cursor()}")
            print("tela:\n" + "\n".join(r for r in pane_rows() if r.strip()))
            if os.path.exists(f"{work}/err"):
                print("erros de tirla:\n" + open(f"{work}/err").read()[-600:])
        finally:
            tmux("kill-server")
            shutil.rmtree(work, ignore_errors=True)
    print("braille: " + ("FALHOU" if failed else "tudo certo"))
    return 1 if failed else 0


sys.exit(main())
