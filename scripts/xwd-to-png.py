#!/usr/bin/env python3
"""Turns a 24- or 32-bit TrueColor XWD screen dump (xwd -root) into a PNG. Usage: xwd-to-png.py IN.xwd OUT.png"""
import struct
import sys
import zlib

data = open(sys.argv[1], "rb").read()
fields = struct.unpack(">25I", data[:100])
header_size, width, height = fields[0], fields[4], fields[5]
byte_order, bits_per_pixel, bytes_per_line, ncolors = fields[7], fields[11], fields[12], fields[19]
if bits_per_pixel not in (24, 32):
    sys.exit("xwd-to-png: only 24 or 32 bits per pixel are handled, not %d" % bits_per_pixel)
step = bits_per_pixel // 8
pixels = data[header_size + ncolors * 12:]
rows = []
for y in range(height):
    line = pixels[y * bytes_per_line:y * bytes_per_line + width * step]
    out = bytearray(b"\0")
    for x in range(0, width * step, step):
        last = x + step - 1
        b, g, r = (line[x], line[x + 1], line[x + 2]) if byte_order == 0 else (line[last], line[last - 1], line[last - 2])
        out += bytes((r, g, b))
    rows.append(bytes(out))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(b"".join(rows), 6)) + chunk(b"IEND", b"")
open(sys.argv[2], "wb").write(png)
