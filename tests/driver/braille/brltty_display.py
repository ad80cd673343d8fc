"""A braille display without hardware: BRLTTY with its Virtual driver, and this module as the
display on the driver's socket. Reading what BRLTTY shows and pressing its keys lets a test
check what a BrlAPI client (tirla) puts on the display."""
import ctypes
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

if shutil.which("brltty") is None:
    print("brltty ausente: teste pulado")
    sys.exit(77)

CELLS = 40


def _die_with_parent():
    """brltty ends with the test even when the test is killed (a timeout)."""
    ctypes.CDLL(None).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


def free_port():
    """A TCP port on the loopback that nobody listens on now."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Display:
    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="brltty-")
        self.lock = threading.Lock()
        self.visual, self.braille = "", [""] * CELLS
        port = free_port()
        # BrlAPI's host "127.0.0.1:N" listens on TCP port 4101+N: look for a free one from there.
        self.brlapi = next(n for n in range(1, 200) if self._port_free(4101 + n))
        self.log = open(os.path.join(self.folder, "brltty.log"), "w")
        # -q: no start-up message, which would swallow the display's first key.
        self.process = subprocess.Popen(
            ["brltty", "-n", "-e", "-q", "-l", "warning", "-b", "vr",
             "-d", f"server:127.0.0.1:{port}", "-x", "no", "-s", "no", "-f", "/dev/null",
             "-A", f"host=127.0.0.1:{self.brlapi},auth=none"],
            cwd=self.folder, preexec_fn=_die_with_parent, stdin=subprocess.DEVNULL,
            stdout=self.log, stderr=self.log)
        try:
            self.sock = self._connect(port)
        except Exception:
            self.stop()
            raise
        self.sock.sendall(f"cells {CELLS}\n".encode())
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    @staticmethod
    def _port_free(port):
        with socket.socket() as s:
            try:
                s.bind(("127.0.0.1", port))
                return True
            except OSError:
                return False

    def _connect(self, port):
        for _ in range(100):
            if self.process.poll() is not None:
                code = self.process.returncode
                raise RuntimeError(f"brltty terminou ({code}): {self.log_text()}")
            try:
                return socket.create_connection(("127.0.0.1", port), timeout=1)
            except OSError:
                time.sleep(0.1)
        raise RuntimeError(f"brltty não abriu a porta {port}: {self.log_text()}")

    def _read(self):
        stream = self.sock.makefile("r", encoding="utf-8", errors="replace", newline="\n")
        self.sock.settimeout(None)
        try:
            for line in stream:
                word, _, rest = line.rstrip("\n").partition(" ")
                value = rest[1:-1] if rest.startswith('"') and rest.endswith('"') else rest
                with self.lock:
                    if word == "Visual":
                        self.visual = value
                    elif word == "Braille":
                        self.braille = value.split("|")
        except (OSError, ValueError):
            pass  # the socket closed: brltty has ended

    def log_text(self):
        self.log.flush()
        with open(self.log.name, encoding="utf-8", errors="replace") as f:
            return f.read()[-600:]

    def text(self):
        with self.lock:
            return self.visual.rstrip()

    def cells(self):
        """Each cell's dots as digits, such as "1457"; "" for a blank cell."""
        with self.lock:
            return [c.strip() for c in self.braille]

    def cursor(self):
        """The cell carrying dots 7 and 8 (the cursor), or None."""
        found = [i for i, c in enumerate(self.cells()) if "7" in c and "8" in c]
        return found[0] if found else None

    def send(self, command):
        """A BRLTTY command by name, such as LNUP or ROUTE 4."""
        self.sock.sendall(f"{command}\n".encode())

    def brlapi_host(self):
        return f"127.0.0.1:{self.brlapi}"

    def wait_for(self, predicate, timeout=10):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if predicate():
                return True
            time.sleep(0.1)
        print(f"  linha Braille: '{self.text()}' células {self.cells()}")
        return False

    def stop(self):
        if getattr(self, "sock", None):
            self.sock.close()
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.log.close()
        shutil.rmtree(self.folder, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.stop()
