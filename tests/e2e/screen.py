#!/usr/bin/env python3
"""Screenshots of the X display for the end-to-end checks.

  screen.py png OUT.png                 the whole screen as a PNG
  screen.py probe X Y [X Y ...]         median RGB of a 9x9 box around each point
  screen.py brighter A.png B.png X Y W H THRESHOLD
                                        pixels in the box that B shows brighter than A
                                        by more than THRESHOLD (sum of channels)

The screen is read with xwd (ZPixmap, 24 or 32 bits per pixel).
"""
import struct
import subprocess
import sys
import zlib


def capture():
    data = subprocess.run(["xwd", "-root", "-silent"], check=True, capture_output=True).stdout
    fields = struct.unpack(">25I", data[:100])
    header_size, _, pixmap_format, _, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line, ncolors = fields[7], fields[11], fields[12], fields[19]
    if pixmap_format != 2 or bits_per_pixel not in (24, 32):
        raise SystemExit("screen.py: unsupported xwd format")
    start = header_size + 12 * ncolors
    step = bits_per_pixel // 8
    rows = []
    for y in range(height):
        line = data[start + y * bytes_per_line:start + y * bytes_per_line + width * step]
        if byte_order == 0:  # least significant byte first: B, G, R
            row = [(line[i + 2], line[i + 1], line[i]) for i in range(0, len(line), step)]
        else:
            off = step - 3
            row = [(line[i + off], line[i + off + 1], line[i + off + 2]) for i in range(0, len(line), step)]
        rows.append(row)
    return width, height, rows


def write_png(path, width, height, rows):
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 6)))
        out.write(chunk(b"IEND", b""))


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height = struct.unpack(">II", body[:8])
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = 3 * width
    rows = []
    for y in range(height):
        line = raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)]  # our own files: filter 0 only
        rows.append([tuple(line[i:i + 3]) for i in range(0, stride, 3)])
    return width, height, rows


def median_box(width, height, rows, x, y):
    pixels = [rows[j][i] for j in range(max(0, y - 4), min(height, y + 5)) for i in range(max(0, x - 4), min(width, x + 5))]
    return tuple(sorted(p[c] for p in pixels)[len(pixels) // 2] for c in range(3))


def main(argv):
    if len(argv) >= 2 and argv[0] == "png":
        width, height, rows = capture()
        write_png(argv[1], width, height, rows)
    elif len(argv) >= 3 and argv[0] == "probe":
        width, height, rows = capture()
        coords = list(map(int, argv[1:]))
        print(" ".join("%d,%d,%d" % median_box(width, height, rows, coords[i], coords[i + 1]) for i in range(0, len(coords), 2)))
    elif len(argv) == 8 and argv[0] == "brighter":
        _, _, a = read_png(argv[1])
        _, _, b = read_png(argv[2])
        x, y, w, h, threshold = map(int, argv[3:])
        print(sum(1 for j in range(y, y + h) for i in range(x, x + w) if sum(b[j][i]) - sum(a[j][i]) > threshold))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
