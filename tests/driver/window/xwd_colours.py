#!/usr/bin/env python3
"""Prints the share of each colour in an X window dump (xwd -silent), most frequent first."""
import collections
import struct
import sys

data = open(sys.argv[1], "rb").read()
fields = struct.unpack(">25I", data[:100])
header_size, width, height = fields[0], fields[4], fields[5]
byte_order, bits_per_pixel, bytes_per_line, ncolors = fields[7], fields[11], fields[12], fields[19]
if bits_per_pixel != 32:
    sys.exit(f"xwd: {bits_per_pixel} bits per pixel not handled")
pixels = data[header_size + 12 * ncolors:]
fmt = "<I" if byte_order == 0 else ">I"
counts = collections.Counter()
for y in range(0, height, 2):
    row = pixels[y * bytes_per_line:(y * bytes_per_line) + width * 4]
    for (value,) in struct.iter_unpack(fmt, row):
        counts[(value >> 16 & 255, value >> 8 & 255, value & 255)] += 1
total = sum(counts.values())
for (r, g, b), n in counts.most_common(6):
    print(f"{r},{g},{b} {n / total:.4f}")
