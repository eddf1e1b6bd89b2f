#!/usr/bin/env python3
"""Writes a simple placeholder application icon (16, 32, 48 and 256 pixels,
32-bit) until the painted icon figure is wired into the build."""
import struct
import sys


def pixel(size, x, y):
    cx = cy = (size - 1) / 2.0
    r = size / 2.0 - 1
    dx, dy = x - cx, y - cy
    if dx * dx + dy * dy > r * r:
        return (0, 0, 0, 0)
    # Orange fish body on a blue badge.
    fx, fy = (x - size * 0.45) / (size * 0.28), (y - size * 0.52) / (size * 0.18)
    if fx * fx + fy * fy <= 1:
        return (0, 140, 255, 255)  # BGRA
    tx = (size * 0.25 - x) / (size * 0.15)
    if 0 <= tx <= 1 and abs(y - size * 0.52) <= tx * size * 0.18:
        return (0, 200, 255, 255)
    shade = int(255 - 95 * y / size)
    return (shade, int(shade * 0.55), 30, 255)


def image(size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(size)):
        rows.append(b"".join(bytes(pixel(size, x, y)) for x in range(size)))
    mask_row = ((size + 31) // 32) * 4
    mask = b"\0" * (mask_row * size)
    return header + b"".join(rows) + mask


def main(path):
    sizes = [16, 32, 48, 256]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1])
