"""Writers for 24-bit uncompressed BMP and 8-bit RGB PNG. A picture is a list of rows, top row first, of (r, g, b)."""

import struct
import zlib


def bmp_bytes(picture):
    height, width = len(picture), len(picture[0])
    row_size = (width * 3 + 3) & ~3
    pixel_bytes = row_size * height
    header = struct.pack("<2sIHHI", b"BM", 54 + pixel_bytes, 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, pixel_bytes, 2835, 2835, 0, 0)
    rows = []
    for row in reversed(picture):  # stored bottom row first
        data = bytearray()
        for r, g, b in row:
            data += bytes((b, g, r))
        data += bytes(row_size - len(data))
        rows.append(bytes(data))
    return header + info + b"".join(rows)


def png_bytes(picture):
    height, width = len(picture), len(picture[0])

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    raw = bytearray()
    for row in picture:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
