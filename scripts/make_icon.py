#!/usr/bin/env python3
"""Draws Tastomat's application icon (src/res/tastomat.ico): a red badge with a white key
cap, at 16, 24, 32, 48 and 256 pixels, 32-bit with alpha. Run it again after changing
the drawing; the .ico is committed so the build needs no image tools."""
import struct, sys, zlib

def render(size):
    px = []
    cx = cy = (size - 1) / 2.0
    rx, ry = size * 0.48, size * 0.36
    for y in range(size):
        row = []
        for x in range(size):
            # anti-aliased ellipse by 4x4 supersampling
            cover = 0
            for sy in range(4):
                for sx in range(4):
                    dx = (x + (sx + 0.5) / 4 - 0.5 - cx) / rx
                    dy = (y + (sy + 0.5) / 4 - 0.5 - cy) / ry
                    cover += dx * dx + dy * dy <= 1.0
            a = cover / 16.0
            r, g, b = 220, 20, 30
            # white key cap in the middle, with a darker "T"
            kx0, kx1 = size * 0.34, size * 0.66
            ky0, ky1 = size * 0.30, size * 0.70
            if kx0 <= x < kx1 and ky0 <= y < ky1:
                r, g, b = 255, 255, 255
                tx = size * 0.5
                bar = ky0 + (ky1 - ky0) * 0.22
                stem = max(1.0, size * 0.06)
                if (ky0 + size * 0.06 <= y < bar and kx0 + size * 0.05 <= x < kx1 - size * 0.05) or \
                   (bar <= y < ky1 - size * 0.06 and abs(x + 0.5 - tx) <= stem):
                    r, g, b = 120, 0, 10
                a = 1.0
            row.append((b, g, r, int(round(a * 255))))
        px.append(row)
    return px

def bmp_entry(size, px):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    data = b''.join(bytes(p) for row in reversed(px) for p in row)
    mask_row = ((size + 31) // 32) * 4
    mask = b'\0' * mask_row * size
    return header + data + mask

def png_entry(size, px):
    raw = b''.join(b'\0' + b''.join(bytes((p[2], p[1], p[0], p[3])) for p in row) for row in px)
    def chunk(t, d):
        return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) + \
        chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')

sizes = [16, 24, 32, 48, 256]
images = [(s, png_entry(s, render(s)) if s == 256 else bmp_entry(s, render(s))) for s in sizes]
out = struct.pack('<HHH', 0, 1, len(images))
offset = 6 + 16 * len(images)
for s, data in images:
    out += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
out += b''.join(d for _, d in images)
open(sys.argv[1] if len(sys.argv) > 1 else 'src/res/tastomat.ico', 'wb').write(out)
