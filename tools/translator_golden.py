#!/usr/bin/env python3
# TIRLA: rewrites the expected column of the translator's golden files from what `fonetica`
# prints now. Review the diff before committing: the files are the reference, not the program.
#
#   tools/translator_golden.py [--fonetica BIN] [FILE...]   (default: tests/golden/translator/*.txt)
#   tools/translator_golden.py --new INPUTS.txt OUT.txt     (UTF-8 inputs, one per line)
import argparse
import glob
import subprocess
import sys


def translate(binary, inputs_cp1252):
    text = b"\n".join(inputs_cp1252) + b"\n"
    utf8 = text.decode("cp1252", "replace").encode("utf-8")
    out = subprocess.run([binary], input=utf8, capture_output=True, check=True).stdout
    lines = out.decode("utf-8").split("\n")[: len(inputs_cp1252)]
    return [line.encode("cp1252", "replace") for line in lines]


def write(path, inputs, outputs):
    with open(path, "wb") as f:
        for i, o in zip(inputs, outputs):
            f.write(i + b"\t" + o + b"\n")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--fonetica", default="build-translator/bin/fonetica")
    ap.add_argument("--new", nargs=2, metavar=("INPUTS", "OUT"))
    ap.add_argument("files", nargs="*")
    args = ap.parse_args()
    if args.new:
        with open(args.new[0], "rb") as f:
            inputs = [l.decode("utf-8").encode("cp1252") for l in f.read().split(b"\n") if l]
        write(args.new[1], inputs, translate(args.fonetica, inputs))
        return 0
    for path in args.files or sorted(glob.glob("tests/golden/translator/*.txt")):
        with open(path, "rb") as f:
            inputs = [l.split(b"\t")[0] for l in f.read().split(b"\n") if l]
        write(path, inputs, translate(args.fonetica, inputs))
    return 0


if __name__ == "__main__":
    sys.exit(main())
