#!/usr/bin/env python3
"""Draws the Kalvora program icon and writes it as PNG files and a Windows .ico.

The icon is a sheet of paper with a folded top-right corner and a soft shadow,
on a transparent background; the sheet carries a few rows of the digits 0 and 1.
Everything is drawn pixel by pixel from the tables below (no fonts, no
anti-aliasing), so the output is the same on every machine and every run. Every
image has an alpha channel; the .ico adds a 256-pixel image (stored as PNG, as
Windows reads it for large icons) to the sizes of the PNG files.

    make-icons.py                  write icons/kalvora-NN.png and icons/kalvora.ico
    make-icons.py --out DIR        write the same files into DIR
    make-icons.py --check          compare icons/ with what would be drawn
                                   (PNG pixel data and header, .ico byte for byte);
                                   exit status 1 and a message on any difference
    make-icons.py --preview DIR    additionally write magnified copies for looking at

Only the Python 3 standard library is used.
"""

import argparse
import os
import struct
import sys
import zlib

SIZES = (16, 32, 48, 64, 72)
ICO_SIZES = SIZES + (256,)

# Red, green, blue, alpha.
BACKGROUND = (0, 0, 0, 0)
SHADOW = (0x24, 0x30, 0x3F, 0x50)
OUTLINE = (0x24, 0x30, 0x3F, 0xFF)
PAPER = (0xFB, 0xFB, 0xF7, 0xFF)
FLAP = (0xD2, 0xDA, 0xE3, 0xFF)
DIGIT = (0x1D, 0x4A, 0x86, 0xFF)

# Digit shapes, one string per pixel row ('#' = ink). Each set is used at a
# given integer magnification by the layouts further down.
GLYPHS = {
    # 1-pixel strokes for the smallest size: a ring and a bar.
    "tiny": {
        "0": ["###",
              "#.#",
              "###"],
        "1": ["#",
              "#",
              "#"],
    },
    # 1-pixel strokes with a rounded 0 and a 1 with flag and foot.
    "small": {
        "0": [".##.",
              "#..#",
              "#..#",
              "#..#",
              ".##."],
        "1": [".#.",
              "##.",
              ".#.",
              ".#.",
              "###"],
    },
    # Heavier shapes for the medium sizes.
    "bold": {
        "0": [".###.",
              "##.##",
              "##.##",
              "##.##",
              "##.##",
              "##.##",
              ".###."],
        "1": [".##.",
              "###.",
              ".##.",
              ".##.",
              ".##.",
              ".##.",
              "####"],
    },
}

# Per size: the page rectangle (outline included, inclusive coordinates), the
# outline width, the size of the folded corner, the shadow offset, the digit
# shapes, their magnification, the gap between digits, and the rows of digits
# as (left x, top y, text).
LAYOUTS = {
    16: dict(page=(2, 0, 13, 15), line=1, fold=3, shadow=0,
             glyphs="tiny", scale=1, gap=1,
             rows=[(4, 3, "10"), (4, 7, "101"), (4, 11, "011")]),
    32: dict(page=(5, 1, 26, 30), line=1, fold=7, shadow=1,
             glyphs="small", scale=1, gap=1,
             rows=[(8, 3, "10"), (8, 10, "0110"), (8, 17, "1001"), (8, 24, "0101")]),
    48: dict(page=(8, 3, 39, 44), line=2, fold=10, shadow=1,
             glyphs="bold", scale=1, gap=2,
             rows=[(12, 8, "10"), (12, 17, "0110"), (12, 26, "1010"), (12, 35, "0101")]),
    64: dict(page=(10, 3, 52, 59), line=2, fold=14, shadow=2,
             glyphs="small", scale=2, gap=2,
             rows=[(15, 7, "10"), (15, 20, "0110"), (15, 33, "1001"), (15, 46, "0101")]),
    72: dict(page=(11, 3, 59, 67), line=2, fold=16, shadow=2,
             glyphs="small", scale=2, gap=3,
             rows=[(16, 10, "10"), (16, 24, "0110"), (16, 38, "1001"), (16, 52, "0101")]),
    256: dict(page=(40, 12, 211, 239), line=8, fold=56, shadow=8,
              glyphs="small", scale=8, gap=8,
              rows=[(60, 28, "10"), (60, 80, "0110"), (60, 132, "1001"), (60, 184, "0101")]),
}


class Canvas:
    def __init__(self, size, colour):
        self.size = size
        self.pixels = [[colour] * size for _ in range(size)]

    def put(self, x, y, colour):
        if not (0 <= x < self.size and 0 <= y < self.size):
            raise ValueError(f"pixel ({x}, {y}) outside a {self.size} px icon")
        self.pixels[y][x] = colour

    def get(self, x, y):
        if not (0 <= x < self.size and 0 <= y < self.size):
            raise ValueError(f"pixel ({x}, {y}) outside a {self.size} px icon")
        return self.pixels[y][x]

    def rows(self):
        return [bytes(c for px in row for c in px) for row in self.pixels]


def page_pixel(x, y, page, line, fold):
    """What the sheet looks like at (x, y): None outside it, else a colour."""
    x0, y0, x1, y1 = page
    if not (x0 <= x <= x1 and y0 <= y <= y1):
        return None
    dx = x - (x1 - fold)  # column inside the corner square
    dy = y - y0           # row inside the corner square
    if dx >= 0 and dy <= fold:
        if dx - dy >= line:
            return None          # cut away by the fold
        if dx - dy >= 0:
            return OUTLINE       # the crease
        if dx < line or dy > fold - line:
            return OUTLINE       # edges of the turned-over flap
        return FLAP
    if x - x0 < line or x1 - x < line or y - y0 < line or y1 - y < line:
        return OUTLINE
    return PAPER


def draw(size):
    lay = LAYOUTS[size]
    page, line, fold, shadow = lay["page"], lay["line"], lay["fold"], lay["shadow"]
    c = Canvas(size, BACKGROUND)

    if shadow:
        for y in range(size):
            for x in range(size):
                if page_pixel(x - shadow, y - shadow, page, line, fold) is not None:
                    c.put(x, y, SHADOW)
    for y in range(size):
        for x in range(size):
            colour = page_pixel(x, y, page, line, fold)
            if colour is not None:
                c.put(x, y, colour)

    glyphs, scale, gap = GLYPHS[lay["glyphs"]], lay["scale"], lay["gap"]
    for left, top, text in lay["rows"]:
        x = left
        for ch in text:
            shape = glyphs[ch]
            for gy, bits in enumerate(shape):
                for gx, bit in enumerate(bits):
                    if bit != "#":
                        continue
                    for sy in range(scale):
                        for sx in range(scale):
                            px, py = x + gx * scale + sx, top + gy * scale + sy
                            _check_clear(c, px, py, size)
                            c.put(px, py, DIGIT)
            x += len(shape[0]) * scale + gap
    return c


def _check_clear(c, x, y, size):
    """Digits must sit on plain paper with at least one free pixel all round."""
    for ny in range(y - 1, y + 2):
        for nx in range(x - 1, x + 2):
            if c.get(nx, ny) not in (PAPER, DIGIT):
                raise ValueError(f"{size} px: digit pixel ({x}, {y}) touches the outline or the fold")


# --- PNG -------------------------------------------------------------------

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def _chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def png_header(size):
    # width, height, bit depth 8, colour type 6 (RGBA), deflate, filter 0, no interlace
    return struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)


def png_scanlines(canvas):
    return b"".join(b"\x00" + row for row in canvas.rows())


def encode_png(canvas):
    return (PNG_SIGNATURE
            + _chunk(b"IHDR", png_header(canvas.size))
            + _chunk(b"IDAT", zlib.compress(png_scanlines(canvas), 9))
            + _chunk(b"IEND", b""))


def decode_png(data):
    """Returns (IHDR payload, raw scanlines) of a PNG written by encode_png."""
    if not data.startswith(PNG_SIGNATURE):
        raise ValueError("not a PNG file")
    pos, header, idat = len(PNG_SIGNATURE), None, b""
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        if crc != zlib.crc32(kind + body) & 0xFFFFFFFF:
            raise ValueError(f"bad CRC in {kind!r} chunk")
        if kind == b"IHDR":
            header = body
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    return header, zlib.decompress(idat)


# --- ICO -------------------------------------------------------------------

def encode_ico(canvases):
    """A Windows icon with one 32-bit image with alpha per size: a BMP below 256
    pixels (its AND mask marks the transparent pixels, for programs that ignore
    alpha), a PNG at 256."""
    images = []
    for c in canvases:
        n = c.size
        if n >= 256:
            images.append((n, encode_png(c)))
            continue
        and_stride = ((n + 31) // 32) * 4
        info = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0,
                           (4 * n + and_stride) * n, 0, 0, 0, 0)
        body, mask = bytearray(), bytearray()
        for row in reversed(c.pixels):  # bottom-up, blue-green-red-alpha
            bits = 0
            for r, g, b, a in row:
                body += bytes((b, g, r, a))
                bits = bits << 1 | (a == 0)
            bits <<= and_stride * 8 - n
            mask += bits.to_bytes(and_stride, "big")
        images.append((n, info + bytes(body + mask)))

    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, blob in images:
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blob for _, blob in images)


# --- main ------------------------------------------------------------------

def magnified(canvas, factor):
    big = Canvas(canvas.size * factor, BACKGROUND)
    for y in range(big.size):
        for x in range(big.size):
            big.pixels[y][x] = canvas.pixels[y // factor][x // factor]
    return big


def outputs():
    canvases = [draw(n) for n in ICO_SIZES]
    files = {f"kalvora-{c.size}.png": c for c in canvases if c.size in SIZES}
    return canvases, files


def check(folder):
    canvases, files = outputs()
    problems = []
    for name, canvas in files.items():
        path = os.path.join(folder, name)
        try:
            with open(path, "rb") as f:
                header, raw = decode_png(f.read())
        except (OSError, ValueError, zlib.error) as e:
            problems.append(f"{path}: {e}")
            continue
        if header != png_header(canvas.size):
            problems.append(f"{path}: header differs (size or pixel format)")
        elif raw != png_scanlines(canvas):
            problems.append(f"{path}: pixels differ from the drawing")
    path = os.path.join(folder, "kalvora.ico")
    try:
        with open(path, "rb") as f:
            if f.read() != encode_ico(canvases):
                problems.append(f"{path}: differs from the drawing")
    except OSError as e:
        problems.append(f"{path}: {e}")
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        print("Run make-icons.py to bring the icons up to date.", file=sys.stderr)
    return 1 if problems else 0


def write(folder, preview):
    canvases, files = outputs()
    os.makedirs(folder, exist_ok=True)
    for name, canvas in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(encode_png(canvas))
    with open(os.path.join(folder, "kalvora.ico"), "wb") as f:
        f.write(encode_ico(canvases))
    if preview:
        os.makedirs(preview, exist_ok=True)
        for name, canvas in files.items():
            factor = max(1, 320 // canvas.size)
            with open(os.path.join(preview, "big-" + name), "wb") as f:
                f.write(encode_png(magnified(canvas, factor)))
    return 0


def main():
    here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "icons")
    parser = argparse.ArgumentParser(description="Draws the Kalvora program icon.")
    parser.add_argument("--out", default=here, help="folder for the icon files")
    parser.add_argument("--check", action="store_true",
                        help="compare the folder with the drawing instead of writing")
    parser.add_argument("--preview", help="also write magnified PNGs into this folder")
    args = parser.parse_args()
    try:
        if args.check:
            return check(args.out)
        return write(args.out, args.preview)
    except ValueError as e:
        print(f"make-icons.py: {e}", file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main())
