#!/usr/bin/env python3
"""Draws the program's tool-bar images (16 x 16) and dialog pictures (32 x 32),
and the program icon of the desktop menu (PNG at the usual sizes and SVG).

Every image is drawn here from simple shapes with an anti-aliasing rasterizer,
so the set is consistent and entirely our own. Run it from anywhere; it writes
the PNG files next to itself and the program icon into packaging/icons/:
python3 ui/icons/make_icons.py
"""
import math
import os
import struct
import zlib

SS = 6  # sub-samples per pixel and axis

OUTLINE = (64, 64, 72)
WHITE = (255, 255, 255)
PAPER = (250, 250, 246)
FOLD = (214, 214, 206)
GREY = (150, 150, 156)
LIGHTGREY = (205, 205, 210)
DARK = (58, 58, 66)
BLUE = (52, 110, 196)
LIGHTBLUE = (130, 178, 236)
GREEN = (46, 160, 67)
LIGHTGREEN = (140, 210, 120)
RED = (210, 48, 48)
YELLOW = (250, 204, 60)
DARKYELLOW = (200, 150, 20)
ORANGE = (236, 140, 40)
BROWN = (160, 110, 60)
PINK = (236, 150, 160)


class Canvas:
    def __init__(self, size):
        self.size = size
        self.scale = size / 16.0
        self.px = [[(0.0, 0.0, 0.0, 0.0) for _ in range(size)] for _ in range(size)]

    # --- coverage of one shape, then composited over the image ---
    def _paint(self, inside, bbox, color, alpha=1.0):
        x0, y0, x1, y1 = bbox
        s = self.scale
        x0 = max(0, int(math.floor(x0 * s)) - 1)
        y0 = max(0, int(math.floor(y0 * s)) - 1)
        x1 = min(self.size, int(math.ceil(x1 * s)) + 1)
        y1 = min(self.size, int(math.ceil(y1 * s)) + 1)
        for py in range(y0, y1):
            for px in range(x0, x1):
                hits = 0
                for sy in range(SS):
                    y = (py + (sy + 0.5) / SS) / s
                    for sx in range(SS):
                        x = (px + (sx + 0.5) / SS) / s
                        if inside(x, y):
                            hits += 1
                if hits:
                    self._blend(px, py, color, alpha * hits / (SS * SS))

    def _blend(self, x, y, color, a):
        r, g, b, da = self.px[y][x]
        out_a = a + da * (1 - a)
        if out_a <= 0:
            return
        mix = lambda c, d: (c * a + d * da * (1 - a)) / out_a
        self.px[y][x] = (mix(color[0], r), mix(color[1], g), mix(color[2], b), out_a)

    # --- shapes, in 16-unit coordinates ---
    def polygon(self, pts, color, alpha=1.0):
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]

        def inside(x, y):
            c = False
            j = len(pts) - 1
            for i in range(len(pts)):
                xi, yi = pts[i]
                xj, yj = pts[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    c = not c
                j = i
            return c

        self._paint(inside, (min(xs), min(ys), max(xs), max(ys)), color, alpha)

    def rect(self, x0, y0, x1, y1, color, alpha=1.0):
        self.polygon([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], color, alpha)

    def framed_rect(self, x0, y0, x1, y1, fill, outline=OUTLINE, w=1.0):
        self.rect(x0, y0, x1, y1, outline)
        self.rect(x0 + w, y0 + w, x1 - w, y1 - w, fill)

    def framed_polygon(self, pts, fill, outline=OUTLINE, w=1.0):
        self.polygon(pts, outline)
        self.polygon(shrink(pts, w), fill)

    def ellipse(self, cx, cy, rx, ry, color, alpha=1.0):
        def inside(x, y):
            return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0

        self._paint(inside, (cx - rx, cy - ry, cx + rx, cy + ry), color, alpha)

    def ring(self, cx, cy, r, w, color):
        def inside(x, y):
            d = math.hypot(x - cx, y - cy)
            return r - w / 2 <= d <= r + w / 2

        self._paint(inside, (cx - r - w, cy - r - w, cx + r + w, cy + r + w), color)

    def line(self, x0, y0, x1, y1, w, color, cap=True):
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy) or 1.0

        def inside(x, y):
            t = ((x - x0) * dx + (y - y0) * dy) / (length * length)
            if cap:
                t = max(0.0, min(1.0, t))
            elif t < 0 or t > 1:
                return False
            qx, qy = x0 + t * dx, y0 + t * dy
            return math.hypot(x - qx, y - qy) <= w / 2

        m = w
        self._paint(inside, (min(x0, x1) - m, min(y0, y1) - m, max(x0, x1) + m, max(y0, y1) + m), color)

    def polyline(self, pts, w, color):
        for a, b in zip(pts, pts[1:]):
            self.line(a[0], a[1], b[0], b[1], w, color)

    # --- output ---
    def save(self, path):
        raw = b""
        for row in self.px:
            raw += b"\x00" + b"".join(
                struct.pack("BBBB", round(r), round(g), round(b), round(a * 255)) for r, g, b, a in row)

        def chunk(kind, data):
            c = struct.pack(">I", len(data)) + kind + data
            return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

        png = b"\x89PNG\r\n\x1a\n"
        png += chunk(b"IHDR", struct.pack(">IIBBBBB", self.size, self.size, 8, 6, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(raw, 9))
        png += chunk(b"IEND", b"")
        with open(path, "wb") as f:
            f.write(png)


class SvgCanvas:
    """The same shapes as Canvas, written as SVG in the 16-unit coordinates:
    the scalable program icon is the very drawing of the PNG ones."""

    def __init__(self):
        self.parts = []

    @staticmethod
    def _fill(color, alpha=1.0):
        text = 'fill="#%02x%02x%02x" stroke="none"' % color
        return text + (' fill-opacity="%g"' % alpha if alpha < 1.0 else "")

    def polygon(self, pts, color, alpha=1.0):
        points = " ".join("%g,%g" % (round(x, 4), round(y, 4)) for x, y in pts)
        self.parts.append('<polygon points="%s" %s/>' % (points, self._fill(color, alpha)))

    def rect(self, x0, y0, x1, y1, color, alpha=1.0):
        self.polygon([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], color, alpha)

    def framed_rect(self, x0, y0, x1, y1, fill, outline=OUTLINE, w=1.0):
        self.rect(x0, y0, x1, y1, outline)
        self.rect(x0 + w, y0 + w, x1 - w, y1 - w, fill)

    def framed_polygon(self, pts, fill, outline=OUTLINE, w=1.0):
        self.polygon(pts, outline)
        self.polygon(shrink(pts, w), fill)

    def ellipse(self, cx, cy, rx, ry, color, alpha=1.0):
        self.parts.append('<ellipse cx="%g" cy="%g" rx="%g" ry="%g" %s/>' % (cx, cy, rx, ry, self._fill(color, alpha)))

    def ring(self, cx, cy, r, w, color):
        self.parts.append('<circle cx="%g" cy="%g" r="%g" fill="none" stroke="#%02x%02x%02x" stroke-width="%g"/>'
                          % ((cx, cy, r) + tuple(color) + (w,)))

    def line(self, x0, y0, x1, y1, w, color, cap=True):
        self.parts.append('<line x1="%g" y1="%g" x2="%g" y2="%g" stroke="#%02x%02x%02x" stroke-width="%g" '
                          'stroke-linecap="%s"/>' % ((x0, y0, x1, y1) + tuple(color) + (w, "round" if cap else "butt")))

    def polyline(self, pts, w, color):
        for a, b in zip(pts, pts[1:]):
            self.line(a[0], a[1], b[0], b[1], w, color)

    def save(self, path):
        with open(path, "w") as f:
            f.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                    '<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">\n')
            for part in self.parts:
                f.write("  " + part + "\n")
            f.write("</svg>\n")


def shrink(pts, w):
    """Moves each vertex of a convex-ish polygon w units toward the centroid
    along its bisector (good enough for the outlines of these small shapes)."""
    n = len(pts)
    out = []
    for i in range(n):
        px, py = pts[i - 1]
        cx, cy = pts[i]
        nx, ny = pts[(i + 1) % n]
        e1 = normal(px, py, cx, cy)
        e2 = normal(cx, cy, nx, ny)
        bx, by = e1[0] + e2[0], e1[1] + e2[1]
        bl = math.hypot(bx, by) or 1.0
        bx, by = bx / bl, by / bl
        cos_half = max(0.3, bx * e1[0] + by * e1[1])
        out.append((cx + bx * w / cos_half, cy + by * w / cos_half))
    return out


def normal(x0, y0, x1, y1):
    """Inward normal of an edge of a clockwise (screen coordinates) polygon."""
    dx, dy = x1 - x0, y1 - y0
    l = math.hypot(dx, dy) or 1.0
    return (-dy / l, dx / l)


def arc(cx, cy, r, a0, a1, steps=16):
    return [(cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / steps)),
             cy + r * math.sin(math.radians(a0 + (a1 - a0) * i / steps))) for i in range(steps + 1)]


def arrowhead(c, tip, direction, size, color):
    """A filled triangle pointing in direction (degrees) with its point at tip."""
    a = math.radians(direction)
    bx, by = tip[0] - size * math.cos(a), tip[1] - size * math.sin(a)
    px, py = -math.sin(a) * size * 0.75, math.cos(a) * size * 0.75
    c.polygon([tip, (bx + px, by + py), (bx - px, by - py)], color)


# --- the images -------------------------------------------------------------

def page(c, x0=3, y0=1, x1=13, y1=15, fold=3.5, lines=False):
    c.framed_polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)], PAPER)
    c.polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], FOLD)
    c.polyline([(x1 - fold, y0 + 0.5), (x1 - fold, y0 + fold), (x1 - 0.5, y0 + fold)], 0.8, OUTLINE)
    if lines:
        y = y0 + fold + 2
        while y < y1 - 1.5:
            c.line(x0 + 2, y, x1 - 2, y, 0.8, LIGHTGREY)
            y += 2


def draw_new(c):
    page(c, 3, 1, 13, 15)
    # a small spark: something new
    c.line(3.5, 1.5, 3.5, 6.5, 1.1, ORANGE)
    c.line(1, 4, 6, 4, 1.1, ORANGE)
    c.ellipse(3.5, 4, 1.3, 1.3, YELLOW)


def draw_open(c):
    c.framed_polygon([(1, 3), (6, 3), (7, 4.5), (14, 4.5), (14, 14), (1, 14)], DARKYELLOW)
    c.framed_polygon([(3.5, 7), (15.5, 7), (13.5, 14), (1, 14)], YELLOW)


def draw_save(c):
    c.framed_polygon([(1.5, 1.5), (13, 1.5), (14.5, 3), (14.5, 14.5), (1.5, 14.5)], BLUE)
    c.framed_rect(4, 1.5, 12, 7, PAPER)
    c.rect(9.5, 2.5, 11, 6, GREY)
    c.framed_rect(4, 9.5, 12, 14.5, LIGHTGREY)


def draw_print(c):
    c.framed_rect(4, 1, 12, 7, PAPER)
    c.framed_rect(1, 6, 15, 12, LIGHTGREY)
    c.rect(12, 7.5, 13.5, 8.5, GREEN)
    c.framed_rect(4, 10, 12, 15, PAPER)
    c.line(5.5, 12, 10.5, 12, 0.8, GREY)
    c.line(5.5, 13.5, 9, 13.5, 0.8, GREY)


def draw_undo(c, mirror=False):
    pts = arc(8.5, 9, 4.8, 200, 380, 20)
    pts = pts[: len(pts) - 1]
    if mirror:
        pts = [(16 - x, y) for x, y in pts]
    c.polyline(pts, 2.2, BLUE)
    tip = (2.5, 8.5) if not mirror else (13.5, 8.5)
    base = (2.8, 4.0) if not mirror else (13.2, 4.0)
    # arrowhead at the start of the arc, pointing down
    c.polygon([tip, (base[0] - 3, base[1] + 1.2), (base[0] + 3.2, base[1] + 1.8)] if not mirror else
              [tip, (base[0] + 3, base[1] + 1.2), (base[0] - 3.2, base[1] + 1.8)], BLUE)


def draw_redo(c):
    draw_undo(c, mirror=True)


def draw_cut(c):
    c.line(5, 1, 10.5, 10.5, 1.4, GREY)
    c.line(11, 1, 5.5, 10.5, 1.4, GREY)
    c.line(5, 1, 10.5, 10.5, 0.5, LIGHTGREY)
    c.line(11, 1, 5.5, 10.5, 0.5, LIGHTGREY)
    c.ring(4.5, 12.5, 2.3, 1.5, RED)
    c.ring(11.5, 12.5, 2.3, 1.5, RED)
    c.ellipse(8, 8, 0.8, 0.8, DARK)


def draw_copy(c):
    page(c, 1, 1, 10, 12, 3)
    page(c, 6, 4, 15, 15, 3, lines=True)


def draw_paste(c):
    c.framed_rect(2, 2.5, 13, 15, BROWN)
    c.framed_rect(5, 1, 10, 4, LIGHTGREY)
    page(c, 6.5, 6, 15, 15.5, 2.5, lines=True)


def draw_add(c):
    page(c, 2, 1, 12, 15, 3, lines=True)
    c.ellipse(11.5, 11.5, 4.3, 4.3, OUTLINE)
    c.ellipse(11.5, 11.5, 3.4, 3.4, GREEN)
    c.line(11.5, 9.3, 11.5, 13.7, 1.4, WHITE, cap=False)
    c.line(9.3, 11.5, 13.7, 11.5, 1.4, WHITE, cap=False)


def draw_edit(c):
    # a pencil from the bottom left to the top right
    body = [(3.5, 10.5), (11.5, 2.5), (13.5, 4.5), (5.5, 12.5)]
    c.framed_polygon(body, YELLOW)
    c.framed_polygon([(11.5, 2.5), (12.7, 1.3), (14.7, 3.3), (13.5, 4.5)], PINK)
    c.polygon([(3.5, 10.5), (5.5, 12.5), (1.2, 14.8)], (240, 214, 170))
    c.polygon([(2.2, 13.0), (3.0, 13.8), (1.2, 14.8)], DARK)
    c.polyline([(3.5, 10.5), (1.2, 14.8), (5.5, 12.5)], 0.8, OUTLINE)


def draw_delete(c):
    c.line(3, 3, 13, 13, 3.4, (150, 20, 20))
    c.line(13, 3, 3, 13, 3.4, (150, 20, 20))
    c.line(3, 3, 13, 13, 2.2, RED)
    c.line(13, 3, 3, 13, 2.2, RED)


def big_arrow(c, up):
    pts = [(8, 1), (15, 8), (11, 8), (11, 15), (5, 15), (5, 8), (1, 8)]
    if not up:
        pts = [(x, 16 - y) for x, y in pts]
        pts.reverse()
    c.framed_polygon(pts, LIGHTBLUE, BLUE)


def draw_moveup(c):
    big_arrow(c, True)


def draw_movedown(c):
    big_arrow(c, False)


def draw_sort(c):
    for i, w in enumerate((3, 5, 7, 9)):
        y = 2.5 + i * 3.5
        c.framed_rect(1, y, 1 + w, y + 2.5, LIGHTBLUE, BLUE, 0.8)
    c.line(13, 1.5, 13, 11, 1.8, GREEN)
    arrowhead(c, (13, 15), 90, 4.5, GREEN)


def draw_find(c):
    c.line(9.5, 9.5, 14.5, 14.5, 3.0, DARK)
    c.line(9.5, 9.5, 14, 14, 1.6, BROWN)
    c.ellipse(6.5, 6.5, 5.3, 5.3, OUTLINE)
    c.ellipse(6.5, 6.5, 4.2, 4.2, (210, 232, 250))
    c.ellipse(5.2, 5.0, 1.4, 1.0, WHITE, 0.9)


def draw_starttesting(c):
    c.framed_polygon([(3, 1.5), (14.5, 8), (3, 14.5)], LIGHTGREEN, GREEN)


def card(c, x0, y0, x1, y1, fill):
    c.framed_rect(x0, y0, x1, y1, fill)
    c.line(x0 + 1.8, (y0 + y1) / 2, x1 - 1.8, (y0 + y1) / 2, 1.0, OUTLINE)


def swap_cards(c, foreign_first):
    if foreign_first:
        card(c, 0.5, 1, 8.5, 7, LIGHTBLUE)
        card(c, 7.5, 9, 15.5, 15, YELLOW)
    else:
        card(c, 0.5, 1, 8.5, 7, YELLOW)
        card(c, 7.5, 9, 15.5, 15, LIGHTBLUE)
    c.polyline([(3, 8.5), (3, 12), (4.5, 12)], 1.5, GREEN)
    arrowhead(c, (7.2, 12), 0, 3.2, GREEN)


def draw_passive(c):
    swap_cards(c, True)


def draw_active(c):
    swap_cards(c, False)


def draw_multiplechoice(c):
    for i in range(3):
        y = 3 + i * 5
        c.ellipse(3, y, 2.3, 2.3, OUTLINE)
        c.ellipse(3, y, 1.5, 1.5, WHITE)
        if i == 1:
            c.ellipse(3, y, 1.0, 1.0, GREEN)
        c.line(7, y, 14.5 - i * 1.5, y, 1.6, BLUE if i == 1 else GREY)


def bulb(c, s=1.0, ox=0.0, oy=0.0):
    def P(x, y):
        return (ox + x * s, oy + y * s)

    cx, cy = P(8, 6)
    c.ellipse(cx, cy, 5.2 * s, 5.2 * s, DARKYELLOW)
    c.polygon([P(5.2, 9), P(10.8, 9), P(10, 12), P(6, 12)], DARKYELLOW)
    c.ellipse(cx, cy, 4.3 * s, 4.3 * s, YELLOW)
    c.polygon([P(6, 9), P(10, 9), P(9.3, 11.3), P(6.7, 11.3)], YELLOW)
    c.ellipse(P(6.5, 4.5)[0], P(6.5, 4.5)[1], 1.4 * s, 1.4 * s, (255, 246, 200))
    c.framed_rect(*P(6, 11.5), *P(10, 15), LIGHTGREY, OUTLINE, 0.8 * s)
    c.line(*P(6.3, 13.2), *P(9.7, 13.2), 0.7 * s, GREY)


def draw_hint(c):
    bulb(c)


def draw_statistics(c):
    c.framed_rect(2, 9, 5, 14.5, LIGHTBLUE, BLUE, 0.8)
    c.framed_rect(6.5, 4, 9.5, 14.5, LIGHTGREEN, GREEN, 0.8)
    c.framed_rect(11, 6.5, 14, 14.5, (250, 190, 130), ORANGE, 0.8)
    c.line(0.8, 15.2, 15.2, 15.2, 1.0, OUTLINE)


def draw_options(c):
    teeth = 8
    pts = []
    for i in range(teeth * 4):
        a = 2 * math.pi * i / (teeth * 4)
        r = 7.2 if (i % 4) in (0, 1) else 5.2
        pts.append((8 + r * math.cos(a + 0.2), 8 + r * math.sin(a + 0.2)))
    c.polygon(pts, OUTLINE)
    c.polygon([(8 + (x - 8) * 0.86, 8 + (y - 8) * 0.86) for x, y in pts], LIGHTGREY)
    c.ellipse(8, 8, 2.6, 2.6, OUTLINE)
    c.ellipse(8, 8, 1.8, 1.8, WHITE)


def draw_help(c):
    c.ellipse(8, 8, 7.3, 7.3, (30, 80, 160))
    c.ellipse(8, 8, 6.4, 6.4, BLUE)
    c.polyline(arc(8, 6.2, 2.4, 190, 360, 12) + [(10.2, 7.6), (8, 9.2), (8, 10.2)], 1.9, WHITE)
    c.ellipse(8, 12.6, 1.15, 1.15, WHITE)


def draw_speak(c):
    # a loudspeaker with two sound waves
    c.framed_rect(1.5, 5.5, 4.5, 10.5, LIGHTGREY, OUTLINE, 0.8)
    c.framed_polygon([(4.5, 5.5), (8.5, 2), (8.5, 14), (4.5, 10.5)], GREY, OUTLINE, 0.8)
    c.polyline(arc(8.5, 8, 3, -50, 50, 10), 1.2, BLUE)
    c.polyline(arc(8.5, 8, 5.8, -55, 55, 14), 1.2, BLUE)


def draw_vocalore32(c):
    # a blue book with a yellow speech bubble: words in two languages
    c.framed_polygon([(2, 3), (13, 3), (13, 15), (2, 15)], BLUE, (24, 60, 130), 0.6)
    c.rect(3, 13.2, 13, 14.4, PAPER)
    c.line(4, 3.5, 4, 13, 0.5, (24, 60, 130))
    c.line(6, 6, 11, 6, 0.7, WHITE)
    c.line(6, 8, 10, 8, 0.7, WHITE)
    c.framed_polygon([(8, 1), (15.3, 1), (15.3, 7), (12, 7), (10, 9.2), (10.3, 7), (8, 7)], YELLOW, DARKYELLOW, 0.5)
    c.line(9.5, 3, 14, 3, 0.6, DARKYELLOW)
    c.line(9.5, 5, 13, 5, 0.6, DARKYELLOW)


def draw_document32(c):
    page(c, 3, 1, 13, 15, 3.5, lines=True)
    c.framed_rect(1.5, 9, 8.5, 14.5, LIGHTBLUE, BLUE, 0.5)
    c.line(3, 11, 7, 11, 0.6, BLUE)
    c.line(3, 12.8, 6, 12.8, 0.6, BLUE)


def draw_tip32(c):
    bulb(c, 1.0, 0, 0.5)
    for a in (200, 240, 300, 340):
        x0 = 8 + 6.4 * math.cos(math.radians(a))
        y0 = 6.5 + 6.4 * math.sin(math.radians(a))
        x1 = 8 + 7.7 * math.cos(math.radians(a))
        y1 = 6.5 + 7.7 * math.sin(math.radians(a))
        c.line(x0, y0, x1, y1, 0.6, ORANGE)


IMAGES = [
    ("new", draw_new), ("open", draw_open), ("save", draw_save), ("print", draw_print),
    ("undo", draw_undo), ("redo", draw_redo), ("cut", draw_cut), ("copy", draw_copy),
    ("paste", draw_paste), ("add", draw_add), ("edit", draw_edit), ("delete", draw_delete),
    ("moveup", draw_moveup), ("movedown", draw_movedown), ("sort", draw_sort), ("find", draw_find),
    ("starttesting", draw_starttesting), ("passive", draw_passive), ("active", draw_active),
    ("multiplechoice", draw_multiplechoice), ("hint", draw_hint), ("statistics", draw_statistics),
    ("options", draw_options), ("help", draw_help), ("speak", draw_speak),
]
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
PICTURES = [("vocalore32", draw_vocalore32), ("document32", draw_document32), ("tip32", draw_tip32)]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, draw in IMAGES:
        c = Canvas(16)
        draw(c)
        c.save(os.path.join(here, name + ".png"))
    for name, draw in PICTURES:
        c = Canvas(32)
        draw(c)
        c.save(os.path.join(here, name + ".png"))
    c = Canvas(48)
    draw_vocalore32(c)
    c.save(os.path.join(here, "vocalore48.png"))
    # The program icon of the desktop menu, in the hicolor theme's sizes.
    theme = os.path.join(here, "..", "..", "..", "packaging", "icons")
    for size in ICON_SIZES:
        folder = os.path.join(theme, "%dx%d" % (size, size))
        os.makedirs(folder, exist_ok=True)
        c = Canvas(size)
        draw_vocalore32(c)
        c.save(os.path.join(folder, "vocalore.png"))
    os.makedirs(os.path.join(theme, "scalable"), exist_ok=True)
    svg = SvgCanvas()
    draw_vocalore32(svg)
    svg.save(os.path.join(theme, "scalable", "vocalore.svg"))


if __name__ == "__main__":
    main()
