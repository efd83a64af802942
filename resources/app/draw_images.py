#!/usr/bin/env python3
"""Draws the main window's 16x16 pixel images and writes them as PNG files.

Every image is drawn pixel by pixel on a light grey background, RGB(192,192,192),
which the buttons and the tab strip show as transparent. Run it from anywhere;
it rewrites bitmaps/*.png and icons/103.png (with a transparent
background) beside itself.
"""
import os
import struct
import zlib

MASK = (192, 192, 192)
INK = {
    'k': (0, 0, 0), 'w': (255, 255, 255), 'd': (96, 96, 96), 'm': (150, 150, 150),
    'l': (232, 232, 232), 'y': (212, 160, 23), 'Y': (255, 224, 112), 'n': (150, 90, 40),
    'N': (100, 55, 20), 'g': (40, 190, 40), 'G': (0, 96, 0), 'b': (40, 90, 220),
    'B': (16, 40, 120), 'r': (220, 30, 30), 'R': (128, 16, 16), 'c': (150, 220, 255),
    'e': (170, 230, 170), 'E': (60, 140, 60), 'o': (255, 140, 0),
}


class Image:
    def __init__(self, width=16, height=16):
        self.width, self.height = width, height
        self.pixels = [[MASK] * width for _ in range(height)]

    def dot(self, x, y, ink):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = INK[ink]

    def rect(self, x0, y0, x1, y1, ink):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, ink)

    def frame(self, x0, y0, x1, y1, ink):
        for x in range(x0, x1 + 1):
            self.dot(x, y0, ink)
            self.dot(x, y1, ink)
        for y in range(y0, y1 + 1):
            self.dot(x0, y, ink)
            self.dot(x1, y, ink)

    def line(self, x0, y0, x1, y1, ink):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.dot(x0, y0, ink)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def disc(self, cx, cy, r, fill, outline):
        # Centre between pixels (cx, cy may be halves) for a symmetric disc.
        for y in range(self.height):
            for x in range(self.width):
                d2 = (x - cx) ** 2 + (y - cy) ** 2
                if d2 <= (r - 1) ** 2:
                    self.dot(x, y, fill)
                elif d2 <= r ** 2:
                    self.dot(x, y, outline)

    def glyph(self, x0, y0, rows, ink):
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch == '#':
                    self.dot(x0 + dx, y0 + dy, ink)

    def paste(self, other, x0, y0):
        for y in range(other.height):
            for x in range(other.width):
                self.pixels[y0 + y][x0 + x] = other.pixels[y][x]

    def write(self, path, transparent=False):
        # Bitmaps keep the grey background (the buttons mask it); icons get
        # real transparency there instead.
        if transparent:
            pixel = lambda p: bytes(p) + (b'\0' if p == MASK else b'\xff')
        else:
            pixel = bytes
        raw = b''.join(b'\0' + b''.join(pixel(p) for p in row) for row in self.pixels)
        def chunk(kind, data):
            body = kind + data
            return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))
        png = b'\x89PNG\r\n\x1a\n'
        colour_type = 6 if transparent else 2
        png += chunk(b'IHDR', struct.pack('>IIBBBBB', self.width, self.height, 8, colour_type, 0, 0, 0))
        png += chunk(b'IDAT', zlib.compress(raw, 9))
        png += chunk(b'IEND', b'')
        with open(path, 'wb') as f:
            f.write(png)


def open_file():  # bitmap 129: an open folder
    im = Image()
    im.rect(1, 3, 4, 3, 'k'); im.dot(5, 4, 'k')
    im.frame(0, 4, 12, 13, 'k'); im.rect(1, 5, 11, 12, 'y')
    im.rect(1, 4, 4, 4, 'y'); im.dot(0, 3, 'k')
    for row, x in enumerate(range(4, 0, -1)):   # front flap, slanted
        y = 8 + row
        im.rect(x + 1, y, 14 - row, y, 'Y')
        im.dot(x, y, 'k'); im.dot(15 - row, y, 'k')
    im.rect(4, 7, 15, 7, 'k')
    im.rect(0, 13, 12, 13, 'k')
    return im


def exit_door():  # bitmap 2: a door with an arrow leading out
    im = Image()
    im.frame(1, 1, 8, 14, 'k'); im.rect(2, 2, 7, 13, 'n'); im.rect(2, 2, 2, 13, 'N')
    im.dot(6, 8, 'Y')
    arrow = ['....#..', '....##.', '####.#.', '#.....#', '####.#.', '....##.', '....#..']
    im.rect(9, 7, 14, 7, 'g'); im.rect(13, 6, 13, 8, 'g')
    im.glyph(9, 4, arrow, 'G')
    im.rect(9, 7, 9, 7, 'G')
    return im


def analyse():  # bitmap 104: a sheet with a chart on it
    im = Image()
    im.frame(1, 1, 14, 14, 'k'); im.rect(2, 2, 13, 13, 'w')
    im.rect(2, 2, 13, 3, 'G'); im.rect(3, 4, 3, 12, 'd'); im.rect(3, 12, 12, 12, 'd')
    for x, y in [(4, 11), (5, 10), (6, 9), (7, 8), (7, 7), (8, 6), (9, 6), (10, 5), (11, 5), (12, 5)]:
        im.dot(x, y, 'b')
    for x, y in [(5, 7), (8, 9), (11, 8)]:
        im.dot(x, y, 'r')
    return im


def help_mark():  # bitmap 9: a question mark in a blue disc
    im = Image()
    im.disc(7.5, 7.5, 7.5, 'b', 'B')
    mark = ['.####.', '##..##', '....##', '...##.', '..##..', '..##..', '......', '..##..']
    im.glyph(5, 3, mark, 'w')
    im.rect(7, 10, 8, 10, 'b')
    return im


def axes(im):
    im.rect(2, 1, 2, 14, 'k'); im.rect(2, 14, 15, 14, 'k')


def tab_slope():  # a straight line fitted through points
    im = Image(); axes(im)
    im.line(3, 12, 14, 2, 'r')
    for x, y in [(4, 10), (7, 9), (9, 5), (12, 5)]:
        im.dot(x, y, 'b'); im.dot(x + 1, y, 'b'); im.dot(x, y + 1, 'b'); im.dot(x + 1, y + 1, 'b')
    return im


def tab_sample_current():  # a time course of values
    im = Image(); axes(im)
    for i, y in enumerate([11, 9, 8, 6, 6, 5]):
        x = 4 + 2 * i
        im.rect(x, y, x + 1, y + 1, 'b')
    im.line(4, 12, 14, 12, 'm')
    return im


def tab_current_voltage():  # crossing axes and a rectifying curve
    im = Image()
    im.rect(8, 1, 8, 14, 'k'); im.rect(1, 8, 14, 8, 'k')
    pts = [(1, 10), (3, 10), (5, 9), (7, 9), (8, 8), (9, 7), (10, 6), (11, 5), (12, 3), (13, 2), (14, 1)]
    for a, b in zip(pts, pts[1:]):
        im.line(*a, *b, 'r')
    return im


def tab_capacitance():  # a capacitor between two wires
    im = Image()
    im.rect(1, 7, 4, 8, 'k'); im.rect(11, 7, 14, 8, 'k')
    im.rect(5, 2, 6, 13, 'b'); im.rect(9, 2, 10, 13, 'b')
    return im


def tab_continuous():  # an oscilloscope screen with a trace
    im = Image()
    im.frame(0, 2, 15, 13, 'd'); im.rect(1, 3, 14, 12, 'k')
    trace = [(1, 8), (3, 8), (4, 5), (5, 5), (6, 10), (7, 10), (8, 7), (10, 7), (11, 4), (12, 9), (14, 8)]
    for a, b in zip(trace, trace[1:]):
        im.line(*a, *b, 'g')
    return im


def tab_settings():  # a list of ticked boxes
    im = Image()
    for y, ticked in ((0, True), (5, False), (10, True)):
        im.frame(0, y, 5, y + 4, 'k'); im.rect(1, y + 1, 4, y + 3, 'w')
        im.rect(7, y + 1, 15, y + 2, 'd')
        if ticked:
            im.dot(1, y + 2, 'G'); im.dot(2, y + 3, 'G'); im.dot(3, y + 2, 'G'); im.dot(4, y + 1, 'G')
    return im


def window_icon():  # icon 103: a glass pipette touching a cell
    im = Image()
    im.disc(11, 11, 5.5, 'e', 'E')
    im.dot(9, 9, 'w'); im.dot(10, 9, 'w'); im.dot(9, 10, 'w')
    for y in range(16):
        for x in range(16):
            along = (x + y) / 2.0          # position along the diagonal
            across = abs(x - y) / 2 ** 0.5  # distance from it
            if along > 7.0:
                continue
            half = 2.3 - 0.22 * along
            if across <= half - 0.9:
                im.dot(x, y, 'c')
            elif across <= half:
                im.dot(x, y, 'd')
    im.dot(7, 7, 'k')
    return im


INK['_'] = MASK
MASK_INK = '_'


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    bitmaps = os.path.join(here, 'bitmaps')
    icons = os.path.join(here, 'icons')
    os.makedirs(bitmaps, exist_ok=True)
    os.makedirs(icons, exist_ok=True)
    open_file().write(os.path.join(bitmaps, '129.png'))
    exit_door().write(os.path.join(bitmaps, '2.png'))
    analyse().write(os.path.join(bitmaps, '104.png'))
    help_mark().write(os.path.join(bitmaps, '9.png'))
    strip = Image(96, 16)
    for i, draw in enumerate([tab_slope, tab_sample_current, tab_current_voltage,
                              tab_capacitance, tab_continuous, tab_settings]):
        strip.paste(draw(), 16 * i, 0)
    strip.write(os.path.join(bitmaps, '108.png'))
    window_icon().write(os.path.join(icons, '103.png'), transparent=True)


if __name__ == '__main__':
    main()
