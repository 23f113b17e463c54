"""Counts the dark pixels (all channels below 96, as text in the window-text colour of a light
scheme) in a rectangle of an X window dump (xwd's format, 24 or 32 bits a pixel, read from
standard input). Usage: xwd -id WINDOW -silent | inked.py LEFT TOP WIDTH HEIGHT"""
import struct
import sys

data = sys.stdin.buffer.read()
header = struct.unpack(">25I", data[:100])
size, bits, line, ncolours, width = header[0], header[11], header[12], header[19], header[20]
msb = header[7] == 1
masks = header[15:18]
pixels = size + 12 * ncolours
left, top, w, h = map(int, sys.argv[1:5])
count = 0
for y in range(top, top + h):
    for x in range(left, min(left + w, width)):
        at = pixels + y * line + x * bits // 8
        value = int.from_bytes(data[at:at + bits // 8], "big" if msb else "little")
        channels = [(value & m) >> (m & -m).bit_length() - 1 for m in masks]
        count += all(c < 96 for c in channels)
print(count)
