"""Minimal picture writers (BMP 24-bit, PNG) for the generated chart, textures and clip frames."""

import struct
import zlib


def bmp24(width, height, rgb):
    """rgb: bytes of width*height*3, rows top to bottom. Returns a bottom-up 24-bit BMP."""
    stride = (width * 3 + 3) & ~3
    pad = b"\0" * (stride - width * 3)
    rows = []
    for y in range(height - 1, -1, -1):
        row = rgb[y * width * 3:(y + 1) * width * 3]
        # BMP stores blue, green, red
        bgr = bytearray(row)
        bgr[0::3], bgr[2::3] = row[2::3], row[0::3]
        rows.append(bytes(bgr) + pad)
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def read_bmp24(data):
    """Reads back a bottom-up 24-bit BMP written by bmp24: (width, height, rgb rows top to bottom)."""
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    if bits != 24 or height <= 0:
        raise ValueError("only bottom-up 24-bit pictures are read here")
    stride = (width * 3 + 3) & ~3
    out = bytearray(width * height * 3)
    for y in range(height):
        src = data[offset + (height - 1 - y) * stride:][:width * 3]
        out[y * width * 3:(y + 1) * width * 3] = src
        row = out[y * width * 3:(y + 1) * width * 3]
        row[0::3], row[2::3] = src[2::3], src[0::3]
        out[y * width * 3:(y + 1) * width * 3] = row
    return width, height, bytes(out)


def png(width, height, rgb):
    """rgb: bytes of width*height*3, rows top to bottom. Returns an 8-bit RGB PNG."""
    raw = b"".join(b"\0" + rgb[y * width * 3:(y + 1) * width * 3] for y in range(height))

    def chunk(tag, body):
        return struct.pack(">I", len(body)) + tag + body + struct.pack(">I", zlib.crc32(tag + body) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))
