#!/usr/bin/env python3
"""Draws Lumivane's icons and writes them as .ico files.

The program icon is a small landscape in a wooden picture frame; the two
tray icons add a round play or pause mark. Each comes in the sizes Windows
asks for at 100 to 200 % scaling, so none is drawn blurred from another. The
48 and 256 pixel images are stored PNG-compressed, which Windows reads since
Vista, to keep the program small. Run from anywhere:
    python3 scripts/make_icons.py
"""
import math
import os
import struct
import zlib

SUPERSAMPLE = 4
PROGRAM_SIZES = (256, 48, 32, 24, 20, 16)
STATE_SIZES = (32, 24, 20, 16)
PNG_FROM = 48  # images this large are stored as PNG
OUT_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "icons")

FRAME_DARK = (92, 60, 18)
FRAME_WOOD = (196, 146, 62)
SKY_TOP = (84, 160, 232)
SKY_BOTTOM = (196, 232, 255)
SUN = (255, 214, 64)
HILL_FAR = (120, 190, 110)
HILL_NEAR = (48, 140, 64)
MARK_PLAY = (36, 150, 60)
MARK_PAUSE = (226, 128, 24)
WHITE = (255, 255, 255)


def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def landscape(x, y, left, top, right, bottom):
    """Colour of the picture inside the frame at (x, y)."""
    u = (x - left) / (right - left)
    v = (y - top) / (bottom - top)
    near = 0.70 + 0.10 * math.sin(u * math.pi * 1.3 + 0.4)
    far = 0.55 + 0.12 * math.sin(u * math.pi * 2.0 + 2.2)
    if v > near:
        return HILL_NEAR
    if v > far:
        return HILL_FAR
    if (u - 0.70) ** 2 + (v - 0.28) ** 2 < 0.13 ** 2:
        return SUN
    return lerp(SKY_TOP, SKY_BOTTOM, max(0.0, min(1.0, v / 0.7)))


def frame_sample(x, y):
    """RGBA of the framed landscape at a point of the unit square, or None."""
    left, top, right, bottom = 0.04, 0.14, 0.96, 0.86
    if not (left <= x <= right and top <= y <= bottom):
        return None
    border = 0.03
    if x < left + border or x > right - border or y < top + border or y > bottom - border:
        return FRAME_DARK + (255,)
    wood = 0.09
    inner = (left + wood, top + wood, right - wood, bottom - wood)
    if not (inner[0] <= x <= inner[2] and inner[1] <= y <= inner[3]):
        return FRAME_WOOD + (255,)
    return landscape(x, y, *inner) + (255,)


def mark_sample(x, y, kind):
    """RGBA of the round play or pause mark in the lower right, or None."""
    cx, cy, r = 0.70, 0.70, 0.30
    dx, dy = x - cx, y - cy
    if dx * dx + dy * dy > r * r:
        return None
    if kind == "play":
        # A triangle pointing right inside the disc.
        if -0.10 <= dx <= 0.14 and abs(dy) <= (0.14 - dx) * 0.62:
            return WHITE + (255,)
        return MARK_PLAY + (255,)
    if 0.035 <= abs(dx) <= 0.11 and abs(dy) <= 0.14:
        return WHITE + (255,)
    return MARK_PAUSE + (255,)


def render(size, mark=None):
    """size*size RGBA pixels, top row first, anti-aliased by supersampling."""
    n = size * SUPERSAMPLE
    pixels = []
    for py in range(size):
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    x = (px * SUPERSAMPLE + sx + 0.5) / n
                    y = (py * SUPERSAMPLE + sy + 0.5) / n
                    sample = mark_sample(x, y, mark) if mark else None
                    if sample is None:
                        sample = frame_sample(x, y)
                    if sample is None:
                        continue
                    for i in range(3):
                        acc[i] += sample[i] * sample[3]
                    acc[3] += sample[3]
            count = SUPERSAMPLE * SUPERSAMPLE
            alpha = acc[3] // count
            if acc[3]:
                rgb = [acc[i] // acc[3] for i in range(3)]
            else:
                rgb = [0, 0, 0]
            pixels.append((rgb[0], rgb[1], rgb[2], alpha))
    return pixels


def row_bytes(bits_per_row):
    return ((bits_per_row + 31) // 32) * 4


def and_mask(size, pixels):
    stride = row_bytes(size)
    data = bytearray()
    for y in reversed(range(size)):
        row = bytearray(stride)
        for x in range(size):
            if pixels[y * size + x][3] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        data += row
    return bytes(data)


def bitmap_header(size, bits, palette_count):
    image = row_bytes(size * bits) * size + row_bytes(size) * size
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, image, 0, 0, palette_count, 0)


def image_32(size, pixels):
    data = bytearray(bitmap_header(size, 32, 0))
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = pixels[y * size + x]
            data += bytes((b, g, r, a))
    return bytes(data) + and_mask(size, pixels)


def image_png(size, pixels):
    """RGBA pixels as a PNG; each row is stored as its difference to the row above."""
    rows = b""
    for y in range(size):
        row = bytes(c for p in pixels[y * size:(y + 1) * size] for c in p)
        above = bytes(c for p in pixels[(y - 1) * size:y * size] for c in p) if y else bytes(len(row))
        rows += b"\x02" + bytes((a - b) & 0xFF for a, b in zip(row, above))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")


def image(size, pixels):
    return (size, 32, image_png(size, pixels) if size >= PNG_FROM else image_32(size, pixels))


def write_ico(path, images):
    """images: list of (size, bits, bytes)."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries = b""
    blobs = b""
    for size, bits, blob in images:
        colour_count = 0
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, colour_count, 0, 1, bits, len(blob), offset)
        offset += len(blob)
        blobs += blob
    with open(path, "wb") as f:
        f.write(header + entries + blobs)


def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    write_ico(os.path.join(OUT_DIR, "program.ico"), [image(size, render(size)) for size in PROGRAM_SIZES])
    for name, mark in (("playing", "play"), ("paused", "pause")):
        write_ico(os.path.join(OUT_DIR, name + ".ico"), [image(size, render(size, mark)) for size in STATE_SIZES])


if __name__ == "__main__":
    main()
