#!/usr/bin/env python3
"""Writes the icon strips and the small decoder fixtures in this folder.

    python3 make_icons.py            # rewrites every file next to this script

std16.bmp  16 images of 16x15 pixels, 8-bit palette, magenta background
big24.bmp  the same 16 glyphs at 24x24 pixels, 24-bit
check*.bmp / check.png  one 5x3 test image in each storage format the decoder must read
"""

import math
import os
import struct
import zlib

MAGENTA = (255, 0, 255)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
SILVER = (192, 192, 192)
RED = (200, 0, 0)
GREEN = (0, 150, 0)
BLUE = (0, 0, 200)
NAVY = (0, 0, 128)
YELLOW = (255, 210, 0)
BROWN = (150, 90, 30)
CYAN = (0, 160, 200)


class Raster:
    def __init__(self, w, h, fill):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def blit(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                self.set(ox + x, oy + y, other.px[y][x])


class Glyph:
    """Drawing in unit coordinates (0..1 across the image), so one description serves
    every image size."""

    def __init__(self, w, h):
        self.r = Raster(w, h, MAGENTA)
        self.w, self.h = w, h

    def _x(self, u):
        return int(round(u * (self.w - 1)))

    def _y(self, v):
        return int(round(v * (self.h - 1)))

    def fill(self, u0, v0, u1, v1, c):
        for y in range(self._y(v0), self._y(v1) + 1):
            for x in range(self._x(u0), self._x(u1) + 1):
                self.r.set(x, y, c)

    def box(self, u0, v0, u1, v1, fill, edge=BLACK):
        self.fill(u0, v0, u1, v1, fill)
        x0, y0, x1, y1 = self._x(u0), self._y(v0), self._x(u1), self._y(v1)
        for x in range(x0, x1 + 1):
            self.r.set(x, y0, edge)
            self.r.set(x, y1, edge)
        for y in range(y0, y1 + 1):
            self.r.set(x0, y, edge)
            self.r.set(x1, y, edge)

    def line(self, u0, v0, u1, v1, c, width=1):
        x0, y0, x1, y1 = self._x(u0), self._y(v0), self._x(u1), self._y(v1)
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i / steps
            y = y0 + (y1 - y0) * i / steps
            for dx in range(width):
                for dy in range(width):
                    self.r.set(int(round(x)) + dx, int(round(y)) + dy, c)

    def disc(self, cu, cv, ru, fill, edge=None):
        cx, cy = cu * (self.w - 1), cv * (self.h - 1)
        rad = ru * (self.w - 1)
        for y in range(self.h):
            for x in range(self.w):
                d = math.hypot(x - cx, y - cy)
                if d <= rad + 0.3:
                    inner = edge is None or d <= rad - 0.8
                    self.r.set(x, y, fill if inner else edge)

    def ring(self, cu, cv, ru, c, a0=0, a1=360, width=1):
        cx, cy = cu * (self.w - 1), cv * (self.h - 1)
        rad = ru * (self.w - 1)
        n = int(rad * 8) + 8
        for i in range(n + 1):
            a = math.radians(a0 + (a1 - a0) * i / n)
            for k in range(width):
                x = cx + (rad - k) * math.cos(a)
                y = cy - (rad - k) * math.sin(a)
                self.r.set(int(round(x)), int(round(y)), c)

    def triangle(self, pts, c):
        xs = [(self._x(u), self._y(v)) for u, v in pts]
        for y in range(self.h):
            for x in range(self.w):
                if _inside(xs, x, y):
                    self.r.set(x, y, c)


def _inside(pts, x, y):
    sign = None
    for i in range(3):
        (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % 3]
        cross = (x1 - x0) * (y - y0) - (y1 - y0) * (x - x0)
        if cross != 0:
            s = cross > 0
            if sign is None:
                sign = s
            elif s != sign:
                return False
    return True


# The glyphs, in strip order. The example configuration refers to them by index.
def g_new(g):
    g.box(0.2, 0.05, 0.8, 0.95, WHITE)
    g.line(0.6, 0.05, 0.8, 0.3, BLACK)


def g_open(g):
    g.box(0.05, 0.25, 0.45, 0.4, YELLOW)
    g.box(0.05, 0.35, 0.95, 0.9, YELLOW)


def g_save(g):
    g.box(0.1, 0.1, 0.9, 0.9, NAVY)
    g.fill(0.3, 0.15, 0.7, 0.45, WHITE)
    g.fill(0.35, 0.65, 0.65, 0.85, SILVER)


def g_cut(g):
    g.line(0.2, 0.05, 0.65, 0.6, BLACK)
    g.line(0.8, 0.05, 0.35, 0.6, BLACK)
    g.ring(0.25, 0.75, 0.17, RED)
    g.ring(0.75, 0.75, 0.17, RED)


def g_copy(g):
    g.box(0.05, 0.05, 0.6, 0.7, WHITE)
    g.box(0.4, 0.3, 0.95, 0.95, WHITE)


def g_paste(g):
    g.box(0.1, 0.15, 0.8, 0.95, BROWN)
    g.box(0.35, 0.05, 0.55, 0.2, SILVER)
    g.box(0.45, 0.4, 0.95, 0.95, WHITE)


def g_undo(g):
    g.ring(0.55, 0.6, 0.3, BLUE, -90, 150, 2)
    g.triangle([(0.0, 0.45), (0.45, 0.2), (0.4, 0.7)], BLUE)


def g_redo(g):
    g.ring(0.45, 0.6, 0.3, BLUE, 30, 270, 2)
    g.triangle([(1.0, 0.45), (0.55, 0.2), (0.6, 0.7)], BLUE)


def g_print(g):
    g.box(0.25, 0.05, 0.75, 0.4, WHITE)
    g.box(0.05, 0.35, 0.95, 0.75, SILVER)
    g.box(0.25, 0.6, 0.75, 0.95, WHITE)


def g_find(g):
    g.disc(0.4, 0.4, 0.28, CYAN, BLACK)
    g.line(0.6, 0.62, 0.92, 0.95, BLACK, 2)


def g_zoom_in(g):
    g_find(g)
    g.line(0.25, 0.4, 0.55, 0.4, BLACK)
    g.line(0.4, 0.23, 0.4, 0.57, BLACK)


def g_delete(g):
    g.line(0.1, 0.1, 0.85, 0.9, RED, 2)
    g.line(0.85, 0.1, 0.1, 0.9, RED, 2)


def g_info(g):
    g.disc(0.5, 0.5, 0.45, BLUE, NAVY)
    g.fill(0.45, 0.2, 0.55, 0.3, WHITE)
    g.fill(0.45, 0.4, 0.55, 0.8, WHITE)


def g_play(g):
    g.triangle([(0.2, 0.05), (0.2, 0.95), (0.9, 0.5)], GREEN)


def g_stop(g):
    g.box(0.15, 0.15, 0.85, 0.85, RED)


def g_grid(g):
    g.box(0.05, 0.05, 0.95, 0.95, WHITE, GREY)
    for t in (0.35, 0.65):
        g.line(t, 0.05, t, 0.95, GREY)
        g.line(0.05, t, 0.95, t, GREY)


GLYPHS = [g_new, g_open, g_save, g_cut, g_copy, g_paste, g_undo, g_redo,
          g_print, g_find, g_zoom_in, g_delete, g_info, g_play, g_stop, g_grid]


def strip(w, h):
    out = Raster(w * len(GLYPHS), h, MAGENTA)
    for i, draw in enumerate(GLYPHS):
        g = Glyph(w, h)
        draw(g)
        out.blit(g.r, i * w, 0)
    return out


# --- writers --------------------------------------------------------------------------

def bmp_bytes(r, bits, top_down=False):
    """A Windows BMP of raster r with 4, 8 (palette) or 24 bits per pixel."""
    palette = []
    if bits in (4, 8):
        for row in r.px:
            for c in row:
                if c not in palette:
                    palette.append(c)
        if len(palette) > (1 << bits):
            raise ValueError("too many colours for %d bits" % bits)
    stride = (r.w * bits + 31) // 32 * 4
    rows = []
    for row in r.px:
        if bits == 24:
            data = b"".join(struct.pack("BBB", c[2], c[1], c[0]) for c in row)
        elif bits == 8:
            data = bytes(palette.index(c) for c in row)
        else:
            idx = [palette.index(c) for c in row] + [0]
            data = bytes((idx[i] << 4) | idx[i + 1] for i in range(0, r.w, 2))
        rows.append(data + b"\0" * (stride - len(data)))
    if not top_down:
        rows.reverse()
    pixels = b"".join(rows)
    height = -r.h if top_down else r.h
    info = struct.pack("<IiiHHIIiiII", 40, r.w, height, 1, bits, 0, len(pixels),
                       3780, 3780, len(palette), 0)
    pal = b"".join(struct.pack("BBBB", c[2], c[1], c[0], 0) for c in palette)
    offset = 14 + len(info) + len(pal)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return head + info + pal + pixels


def png_bytes(r):
    raw = b"".join(b"\0" + b"".join(bytes(c) for c in row) for row in r.px)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    ihdr = struct.pack(">IIBBBBB", r.w, r.h, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


# 5x3: an odd width exercises row padding in every bit depth.
CHECK = [[RED, GREEN, BLUE, WHITE, BLACK],
         [MAGENTA, YELLOW, GREY, NAVY, CYAN],
         [BLACK, WHITE, RED, GREEN, BLUE]]


def main():
    here = os.path.dirname(os.path.abspath(__file__))

    def write(name, data):
        with open(os.path.join(here, name), "wb") as f:
            f.write(data)

    write("std16.bmp", bmp_bytes(strip(16, 15), 8))
    write("big24.bmp", bmp_bytes(strip(24, 24), 24))
    check = Raster(5, 3, BLACK)
    check.px = [list(row) for row in CHECK]
    write("check4.bmp", bmp_bytes(check, 4))
    write("check8.bmp", bmp_bytes(check, 8))
    write("check24.bmp", bmp_bytes(check, 24))
    write("check24_topdown.bmp", bmp_bytes(check, 24, top_down=True))
    write("check.png", png_bytes(check))


if __name__ == "__main__":
    main()
