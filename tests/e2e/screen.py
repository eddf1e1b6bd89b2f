#!/usr/bin/env python3
"""Reads screenshots of the X display (xwd -root -silent > FILE) for the
end-to-end checks.

  screen.py png SHOT OUT.png               the screenshot as a PNG
  screen.py crop SHOT W H OUT              its top left W x H pixels, as a screenshot file
  screen.py size SHOT                      "WIDTH HEIGHT"
  screen.py probe SHOT X Y [X Y ...]       median R,G,B of a 9x9 box around each point
  screen.py rowlight SHOT Y [Y ...]        median brightness (sum of channels) of each row
  screen.py brighter A B X Y W H MIN       pixels of the box that B shows brighter than A
                                           by more than MIN (sum of the three channels)
  screen.py rowdark SHOT Y0 Y1 X0 X1 MAX   rows from Y0 to Y1 (exclusive) whose pixels in
                                           X0..X1 all have channel sums below MAX
"""
import struct
import sys
import zlib


def load(path):
    """Width, height and rows of (R, G, B) tuples of an xwd ZPixmap file."""
    with open(path, "rb") as f:
        data = f.read()
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
            rows.append(list(zip(line[2::step], line[1::step], line[0::step])))
        else:
            off = step - 3
            rows.append(list(zip(line[off::step], line[off + 1::step], line[off + 2::step])))
    return width, height, rows


def crop(path, width, height, out):
    """Writes the top left corner as an xwd file of 32 bits per pixel."""
    full_width, full_height, rows = load(path)
    width, height = min(width, full_width), min(height, full_height)
    header = [100, 7, 2, 24, width, height, 0, 0, 32, 0, 32, 32, 4 * width, 4, 0xFF0000, 0xFF00, 0xFF, 8, 256, 0,
              width, height, 0, 0, 0]
    body = b"".join(bytes(c for r, g, b in row[:width] for c in (b, g, r, 0)) for row in rows[:height])
    with open(out, "wb") as f:
        f.write(struct.pack(">25I", *header) + body)


def write_png(path, width, height, rows):
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 6)))
        out.write(chunk(b"IEND", b""))


def median_box(width, height, rows, x, y):
    pixels = [rows[j][i] for j in range(max(0, y - 4), min(height, y + 5))
              for i in range(max(0, x - 4), min(width, x + 5))]
    return tuple(sorted(p[c] for p in pixels)[len(pixels) // 2] for c in range(3))


def main(argv):
    command, args = (argv[0], argv[1:]) if argv else ("", [])
    if command == "png" and len(args) == 2:
        write_png(args[1], *load(args[0]))
    elif command == "crop" and len(args) == 4:
        crop(args[0], int(args[1]), int(args[2]), args[3])
    elif command == "size" and len(args) == 1:
        width, height, _ = load(args[0])
        print(width, height)
    elif command == "probe" and len(args) >= 3 and len(args) % 2 == 1:
        width, height, rows = load(args[0])
        coords = list(map(int, args[1:]))
        print(" ".join("%d,%d,%d" % median_box(width, height, rows, coords[i], coords[i + 1])
                       for i in range(0, len(coords), 2)))
    elif command == "rowlight" and len(args) >= 2:
        _, _, rows = load(args[0])
        print(" ".join(str(sorted(sum(p) for p in rows[int(y)])[len(rows[int(y)]) // 2]) for y in args[1:]))
    elif command == "brighter" and len(args) == 7:
        _, _, a = load(args[0])
        _, _, b = load(args[1])
        x, y, w, h, least = map(int, args[2:])
        print(sum(1 for j in range(y, y + h) for i in range(x, x + w) if sum(b[j][i]) - sum(a[j][i]) > least))
    elif command == "rowdark" and len(args) == 6:
        _, _, rows = load(args[0])
        y0, y1, x0, x1, most = map(int, args[1:])
        print(sum(1 for j in range(y0, y1) if all(sum(p) < most for p in rows[j][x0:x1])))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
