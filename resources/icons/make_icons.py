#!/usr/bin/env python3
"""Draws the logbook list's 16x16 icons and writes them as PNG files beside this script,
each also at twice the size (name@2x.png) for screens scaled to 200%: the same pictures,
with circles and slanted lines drawn at the finer pixels instead of doubled.

Run it again after changing a picture; the PNG files are kept in the tree so that the
build needs no Python.
"""

import os
import struct
import zlib

SIZE = 16
CLEAR = (0, 0, 0, 0)


class Canvas:
    """Coordinates are in icon units (0-15); each unit is `scale` pixels square."""

    def __init__(self, scale=1):
        self.scale = scale
        self.size = SIZE * scale
        self.pixels = [[CLEAR] * self.size for _ in range(self.size)]

    def pixel(self, px, py, colour):
        if 0 <= px < self.size and 0 <= py < self.size:
            self.pixels[py][px] = colour

    def put(self, x, y, colour):
        for dy in range(self.scale):
            for dx in range(self.scale):
                self.pixel(x * self.scale + dx, y * self.scale + dy, colour)

    def rect(self, x0, y0, x1, y1, colour):
        """Fills the rectangle with both corners included."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.put(x, y0, colour)
            self.put(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.put(x0, y, colour)
            self.put(x1, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        """A line one unit wide; at a larger scale it is drawn at the finer pixels."""
        k = self.scale
        for offset in range(k):
            self.fine_line(x0 * k + offset, y0 * k, x1 * k + offset, y1 * k, colour)

    def fine_line(self, x0, y0, x1, y1, colour):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.pixel(x0, y0, colour)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def disc(self, cx, cy, r, colour):
        k = self.scale
        for py in range(self.size):
            for px in range(self.size):
                # The pixel's centre in icon units, where a unit's centre is the whole number.
                x = (px + 0.5) / k - 0.5
                y = (py + 0.5) / k - 0.5
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.pixel(px, py, colour)

    def png(self):
        raw = b"".join(
            b"\x00" + b"".join(struct.pack("4B", *p) for p in row) for row in self.pixels
        )

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        header = struct.pack(">IIBBBBB", self.size, self.size, 8, 6, 0, 0, 0)
        return (
            b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b"")
        )


OUTLINE = (64, 64, 64, 255)
WHITE = (255, 255, 255, 255)


def ketone(level, scale=1):
    """A test strip whose pad fills with deeper purple as the result rises (levels 1-4)."""
    c = Canvas(scale)
    c.frame(4, 0, 11, 15, OUTLINE)
    c.rect(5, 1, 10, 14, WHITE)
    c.frame(5, 7, 10, 14, (150, 120, 160, 255))
    c.rect(6, 8, 9, 13, (245, 235, 245, 255))
    shades = [(225, 190, 230, 255), (190, 120, 205, 255), (150, 60, 175, 255), (100, 20, 130, 255)]
    depth = [1, 3, 5, 6][level - 1]
    c.rect(6, 14 - depth, 9, 13, shades[level - 1])
    return c


def day_sick(scale=1):
    """A thermometer with a red column."""
    c = Canvas(scale)
    c.frame(6, 0, 9, 11, OUTLINE)
    c.rect(7, 1, 8, 10, WHITE)
    c.rect(7, 4, 8, 11, (220, 0, 0, 255))
    c.disc(7.5, 12.5, 3, OUTLINE)
    c.disc(7.5, 12.5, 2, (220, 0, 0, 255))
    for y in (2, 4, 6, 8):
        c.put(10, y, OUTLINE)
    return c


def day_active(scale=1):
    """A green arrow pointing up and to the right."""
    c = Canvas(scale)
    green = (0, 150, 40, 255)
    dark = (0, 90, 20, 255)
    for offset in range(-1, 2):
        c.line(2 + offset, 14, 13, 3 + offset, green)
        c.line(2, 14 + offset, 13 + offset, 3, green)
    c.rect(8, 2, 14, 3, dark)
    c.rect(13, 2, 14, 8, dark)
    return c


def site_change(scale=1):
    """An adhesive patch with a cannula at its centre: a new infusion site."""
    c = Canvas(scale)
    tan = (235, 200, 150, 255)
    edge = (170, 120, 70, 255)
    c.disc(7.5, 7.5, 7, edge)
    c.disc(7.5, 7.5, 6, tan)
    c.disc(7.5, 7.5, 2.5, WHITE)
    c.disc(7.5, 7.5, 1.2, (0, 90, 170, 255))
    return c


def delivery(scale=1):
    """A syringe lying across the icon: the dose went in another way than usual."""
    c = Canvas(scale)
    barrel = (120, 120, 120, 255)
    liquid = (40, 110, 230, 255)
    for offset in range(-2, 3):
        c.line(3 + offset, 12 + abs(offset) // 2, 10 + offset, 5 + abs(offset) // 2, barrel)
    for offset in range(-1, 2):
        c.line(3 + offset, 12, 9 + offset, 6, liquid)
    c.line(10, 5, 14, 1, OUTLINE)
    c.line(0, 13, 2, 15, OUTLINE)
    c.line(1, 12, 3, 14, OUTLINE)
    return c


def main():
    folder = os.path.dirname(os.path.abspath(__file__))
    for scale, suffix in ((1, ""), (2, "@2x")):
        pictures = {
            "ketone1": ketone(1, scale),
            "ketone2": ketone(2, scale),
            "ketone3": ketone(3, scale),
            "ketone4": ketone(4, scale),
            "daySick": day_sick(scale),
            "dayActive": day_active(scale),
            "siteChange": site_change(scale),
            "delivery": delivery(scale),
        }
        for name, canvas in pictures.items():
            with open(os.path.join(folder, name + suffix + ".png"), "wb") as out:
                out.write(canvas.png())


if __name__ == "__main__":
    main()
