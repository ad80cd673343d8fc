#!/usr/bin/python3
# TIRLA: a stand-in for the mbrola program, for tests: `mbrola -e VOICE - -.raw`.
# Every phoneme line gives duration x 16 samples whose value is the phoneme's number in the
# text (1, 2, ...); a line "#" writes them out. Unknown phonemes (any name starting "tirla")
# are warned about on standard error as the real program does. FAKE_MBROLA in the
# environment picks a failure after N phoneme lines: "die:N" leaves, "hang:N" stops answering,
# "flood:N" writes sound for ever, "babble:N" writes warnings for ever, "trickle:N" writes two
# bytes of sound every half second and never answers again; "die:start" and
# "hang:start" fail before the voice is loaded. With FAKE_MBROLA_ONCE=FILE only the first
# program to reach its failure fails (and creates FILE): the ones started after it behave.
import os
import struct
import sys
import time

args = [a for a in sys.argv[1:]]
voice = args[-3] if len(args) >= 3 else ""
mode, _, limit = os.environ.get("FAKE_MBROLA", "").partition(":")
out = sys.stdout.buffer


def fails():
    once = os.environ.get("FAKE_MBROLA_ONCE")
    if not once:
        return True
    try:
        os.close(os.open(once, os.O_CREAT | os.O_EXCL))
        return True
    except FileExistsError:
        return False


def fail():
    if mode == "die":
        os._exit(3)
    if mode == "hang":
        time.sleep(3600)
    if mode == "flood":
        while True:
            out.write(bytes(65536))
    if mode == "trickle":
        while True:
            out.write(bytes(2))
            out.flush()
            time.sleep(0.5)
    if mode == "babble":
        while True:
            sys.stderr.write("Warning: something odd\n" * 100)


if limit == "start" and fails():
    fail()
limit = int(limit) if limit.isdigit() else 0
if not os.path.isfile(voice):
    sys.stderr.write("Fatal error: can't open database %s\n" % voice)
    sys.exit(1)
pending = bytearray()
number = 0
warnings = []
for raw in sys.stdin.buffer:
    line = raw.decode("latin-1").strip()
    if not line or line.startswith(";"):
        continue
    if line == "#":
        for w in warnings:
            sys.stderr.write(w)
        sys.stderr.flush()
        warnings = []
        out.write(pending)
        out.flush()
        pending = bytearray()
        continue
    fields = line.split()
    if fields[0].startswith("tirla"):
        warnings.append("Warning: _-%s unknown, replaced with _-_\n" % fields[0])
        warnings.append("Warning: %s-_ unknown, replaced with _-_\n" % fields[0])
        continue
    number += 1
    if mode and number > limit and fails():
        fail()
    pending += struct.pack("<h", number) * (int(float(fields[1])) * 16)
    if len(pending) >= 8192:
        out.write(pending)
        out.flush()
        pending = bytearray()
