#!/usr/bin/env python3
"""Draws the setup program's artwork and writes it into src/res/art/.

Everything is drawn from code: shapes are filled with anti-aliased coverage
into a floating-point RGB canvas, then reduced to the colour tables the
resource files need. Only the standard library is used, and nothing random is
involved, so every run writes the same bytes.

Run:  python3 tools/artgen/make_art.py [output-folder]
"""

import math
import os
import struct
import sys

BG = (0, 0, 64)          # the setup window's background colour
HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OUT = os.path.normpath(os.path.join(HERE, "..", "..", "src", "res", "art"))

# Vertical sub-scanlines per pixel when filling polygons; the horizontal
# direction is covered exactly, so eight rows give smooth edges at any slope.
SUBROWS = 8


# ---------------------------------------------------------------------------
# Coverage masks
# ---------------------------------------------------------------------------

class Mask:
    """Coverage values (0..1) over a rectangle of the canvas."""

    def __init__(self, x0, y0, w, h, a=None):
        self.x0, self.y0, self.w, self.h = x0, y0, max(w, 0), max(h, 0)
        self.a = a if a is not None else [0.0] * (self.w * self.h)

    def at(self, x, y):
        i, j = x - self.x0, y - self.y0
        if 0 <= i < self.w and 0 <= j < self.h:
            return self.a[j * self.w + i]
        return 0.0

    def shifted(self, dx, dy):
        return Mask(self.x0 + dx, self.y0 + dy, self.w, self.h, self.a)

    def times(self, other):
        """Coverage of this shape clipped to another shape."""
        out = Mask(self.x0, self.y0, self.w, self.h)
        for j in range(self.h):
            for i in range(self.w):
                v = self.a[j * self.w + i]
                if v > 0.0:
                    out.a[j * self.w + i] = v * other.at(self.x0 + i, self.y0 + j)
        return out


def fill_mask(contours):
    """Non-zero-winding fill of closed contours with anti-aliased edges."""
    pts = [p for c in contours for p in c]
    if not pts:
        return Mask(0, 0, 0, 0)
    x0 = math.floor(min(p[0] for p in pts))
    y0 = math.floor(min(p[1] for p in pts))
    x1 = math.ceil(max(p[0] for p in pts))
    y1 = math.ceil(max(p[1] for p in pts))
    w, h = x1 - x0, y1 - y0
    edges = []
    for c in contours:
        for k in range(len(c)):
            ax, ay = c[k]
            bx, by = c[(k + 1) % len(c)]
            if ay == by:
                continue
            wind = 1
            if ay > by:
                ax, ay, bx, by, wind = bx, by, ax, ay, -1
            edges.append((ay, by, ax - x0, (bx - ax) / (by - ay), wind))
    mask = Mask(x0, y0, w, h)
    a = mask.a
    wgt = 1.0 / SUBROWS
    for j in range(h):
        row = [0.0] * (w + 1)
        run = [0.0] * (w + 2)
        for s in range(SUBROWS):
            sy = y0 + j + (s + 0.5) / SUBROWS
            xs = [(ex + (sy - ay) * slope, wind)
                  for ay, by, ex, slope, wind in edges if ay <= sy < by]
            if len(xs) < 2:
                continue
            xs.sort()
            winding = 0
            for k in range(len(xs) - 1):
                winding += xs[k][1]
                if winding == 0:
                    continue
                xa = min(max(xs[k][0], 0.0), w)
                xb = min(max(xs[k + 1][0], 0.0), w)
                if xb <= xa:
                    continue
                ia, ib = int(xa), int(xb)
                if ia == ib:
                    row[ia] += (xb - xa) * wgt
                    continue
                row[ia] += (ia + 1 - xa) * wgt
                run[ia + 1] += wgt
                run[ib] -= wgt
                row[ib] += (xb - ib) * wgt
        acc = 0.0
        base = j * w
        for i in range(w):
            acc += run[i]
            v = row[i] + acc
            a[base + i] = 1.0 if v > 1.0 else v
    return mask


def stroke_mask(polylines, half_width):
    """Round-capped, round-joined strokes along polylines.

    Coverage falls off linearly across the last pixel of the pen's edge,
    which is what area sampling of a straight edge gives, so strokes come out
    anti-aliased without rendering them larger first.
    """
    segs = []
    for pl in polylines:
        if len(pl) == 1:
            segs.append((pl[0][0], pl[0][1], pl[0][0], pl[0][1]))
        for k in range(len(pl) - 1):
            segs.append((pl[k][0], pl[k][1], pl[k + 1][0], pl[k + 1][1]))
    if not segs:
        return Mask(0, 0, 0, 0)
    r = half_width + 1.0
    x0 = math.floor(min(min(s[0], s[2]) for s in segs) - r)
    y0 = math.floor(min(min(s[1], s[3]) for s in segs) - r)
    x1 = math.ceil(max(max(s[0], s[2]) for s in segs) + r)
    y1 = math.ceil(max(max(s[1], s[3]) for s in segs) + r)
    mask = Mask(x0, y0, x1 - x0, y1 - y0)
    a, w = mask.a, mask.w
    edge = half_width + 0.5
    for ax, ay, bx, by in segs:
        dx, dy = bx - ax, by - ay
        l2 = dx * dx + dy * dy
        sx0 = int(math.floor(min(ax, bx) - r)) - x0
        sx1 = int(math.ceil(max(ax, bx) + r)) - x0
        sy0 = int(math.floor(min(ay, by) - r)) - y0
        sy1 = int(math.ceil(max(ay, by) + r)) - y0
        for j in range(sy0, sy1):
            cy = y0 + j + 0.5
            base = j * w
            for i in range(sx0, sx1):
                cx = x0 + i + 0.5
                px, py = cx - ax, cy - ay
                if l2:
                    t = (px * dx + py * dy) / l2
                    t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
                    px -= t * dx
                    py -= t * dy
                c = edge - math.sqrt(px * px + py * py)
                if c > 0.0:
                    if c > 1.0:
                        c = 1.0
                    if c > a[base + i]:
                        a[base + i] = c
    return mask


def blur(mask, radius, passes=3):
    """Approximate Gaussian blur by repeated box filters (grows the mask)."""
    pad = radius * passes
    w, h = mask.w + 2 * pad, mask.h + 2 * pad
    a = [0.0] * (w * h)
    for j in range(mask.h):
        a[(j + pad) * w + pad:(j + pad) * w + pad + mask.w] = mask.a[j * mask.w:(j + 1) * mask.w]
    n = 2 * radius + 1

    def box(line):
        out = [0.0] * len(line)
        acc = sum(line[:radius + 1])
        for i in range(len(line)):
            out[i] = acc / n
            hi, lo = i + radius + 1, i - radius
            if hi < len(line):
                acc += line[hi]
            if lo >= 0:
                acc -= line[lo]
        return out

    for _ in range(passes):
        for j in range(h):
            a[j * w:(j + 1) * w] = box(a[j * w:(j + 1) * w])
        for i in range(w):
            col = box(a[i::w])
            a[i::w] = col
    return Mask(mask.x0 - pad, mask.y0 - pad, w, h, a)


# ---------------------------------------------------------------------------
# Geometry
# ---------------------------------------------------------------------------

def arc_points(cx, cy, rx, ry, a0, a1, step=5.0):
    """Points on an elliptical arc; angles in degrees, counter-clockwise with
    y pointing up (callers working in screen space flip the sign of ry)."""
    n = max(2, int(math.ceil(abs(a1 - a0) / step)) + 1)
    out = []
    for k in range(n):
        t = math.radians(a0 + (a1 - a0) * k / (n - 1))
        out.append((cx + rx * math.cos(t), cy + ry * math.sin(t)))
    return out


def ellipse(cx, cy, rx, ry, n=72):
    return [(cx + rx * math.cos(2 * math.pi * k / n), cy + ry * math.sin(2 * math.pi * k / n))
            for k in range(n)]


def rounded_rect(x0, y0, x1, y1, r):
    if r <= 0:
        return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]
    pts = []
    pts += arc_points(x1 - r, y0 + r, r, r, -90, 0, 10)
    pts += arc_points(x1 - r, y1 - r, r, r, 0, 90, 10)
    pts += arc_points(x0 + r, y1 - r, r, r, 90, 180, 10)
    pts += arc_points(x0 + r, y0 + r, r, r, 180, 270, 10)
    return pts


class Affine:
    """Maps a flat surface's own (u, v) coordinates onto the canvas."""

    def __init__(self, ox, oy, ux, uy, vx, vy):
        self.m = (ox, oy, ux, uy, vx, vy)
        det = ux * vy - uy * vx
        self.inv = (vy / det, -vx / det, -uy / det, ux / det)

    def __call__(self, u, v):
        ox, oy, ux, uy, vx, vy = self.m
        return (ox + u * ux + v * vx, oy + u * uy + v * vy)

    def back(self, x, y):
        ox, oy = self.m[0], self.m[1]
        a, b, c, d = self.inv
        x -= ox
        y -= oy
        return (a * x + b * y, c * x + d * y)

    def map(self, pts):
        return [self(u, v) for u, v in pts]


# ---------------------------------------------------------------------------
# Paints: colour (and optional opacity) as a function of canvas position
# ---------------------------------------------------------------------------

def lerp_stops(stops, t):
    """Interpolates (t, colour) stops; colours may carry a fourth, alpha, value."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            f = (t - t0) / (t1 - t0) if t1 > t0 else 1.0
            return tuple(p + (q - p) * f for p, q in zip(c0, c1))
    return stops[-1][1]


def linear(p0, p1, stops):
    x0, y0 = p0
    dx, dy = p1[0] - x0, p1[1] - y0
    l2 = dx * dx + dy * dy
    return lambda x, y: lerp_stops(stops, ((x - x0) * dx + (y - y0) * dy) / l2)


def radial(cx, cy, rx, ry, stops):
    return lambda x, y: lerp_stops(stops, math.hypot((x - cx) / rx, (y - cy) / ry))


def smoothstep(e0, e1, x):
    t = min(max((x - e0) / (e1 - e0), 0.0), 1.0)
    return t * t * (3 - 2 * t)


# ---------------------------------------------------------------------------
# Canvas
# ---------------------------------------------------------------------------

class Canvas:
    def __init__(self, w, h, colour=(0, 0, 0), track_alpha=False):
        self.w, self.h = w, h
        self.r = [float(colour[0])] * (w * h)
        self.g = [float(colour[1])] * (w * h)
        self.b = [float(colour[2])] * (w * h)
        self.alpha = [0.0] * (w * h) if track_alpha else None

    def draw(self, mask, paint, opacity=1.0, mode="over"):
        """Lays paint through a coverage mask. 'over' covers what is below;
        'add' brightens it, for light."""
        solid = isinstance(paint, tuple)
        R, G, B, W = self.r, self.g, self.b, self.w
        for j in range(mask.h):
            y = mask.y0 + j
            if y < 0 or y >= self.h:
                continue
            for i in range(mask.w):
                cov = mask.a[j * mask.w + i]
                if cov <= 0.0:
                    continue
                x = mask.x0 + i
                if x < 0 or x >= W:
                    continue
                col = paint if solid else paint(x + 0.5, y + 0.5)
                a = min(cov, 1.0) * opacity
                if len(col) > 3:
                    a *= col[3]
                if a <= 0.0:
                    continue
                k = y * W + x
                if mode == "add":
                    R[k] += col[0] * a
                    G[k] += col[1] * a
                    B[k] += col[2] * a
                else:
                    R[k] += (col[0] - R[k]) * a
                    G[k] += (col[1] - G[k]) * a
                    B[k] += (col[2] - B[k]) * a
                    if self.alpha is not None:
                        self.alpha[k] += (1.0 - self.alpha[k]) * a

    def fill(self, contours, paint, opacity=1.0, mode="over"):
        self.draw(fill_mask(contours), paint, opacity, mode)

    def stroke(self, polylines, width, paint, opacity=1.0, mode="over"):
        self.draw(stroke_mask(polylines, width / 2.0), paint, opacity, mode)

    def rgb_rows(self):
        """Rows of clamped integer RGB tuples, top row first."""
        def c(v):
            v = int(v + 0.5)
            return 0 if v < 0 else (255 if v > 255 else v)
        return [[(c(self.r[k]), c(self.g[k]), c(self.b[k]))
                 for k in range(y * self.w, (y + 1) * self.w)] for y in range(self.h)]


# ---------------------------------------------------------------------------
# Stroke font
#
# A rounded geometric sans drawn as pen paths. Units: baseline 0, cap height
# 10, x-height 7, y up. Each glyph is (advance, strokes); a stroke is a list
# of points or an ('arc', cx, cy, rx, ry, from_deg, to_deg) tuple. The pen's
# own width is added to the advance when setting text.
# ---------------------------------------------------------------------------

def _arc(cx, cy, rx, ry, a0, a1):
    return ("arc", cx, cy, rx, ry, a0, a1)


GLYPHS = {
    " ": (3.5, []),
    ".": (0.0, [[(0, 0)]]),
    "-": (3.5, [[(0, 4), (3.5, 4)]]),
    "A": (7.4, [[(0, 0), (3.7, 10), (7.4, 0)], [(1.35, 3.4), (6.05, 3.4)]]),
    "B": (6.4, [[(3.6, 5.2), (0, 5.2), (0, 10), (3.4, 10)], _arc(3.4, 7.6, 2.4, 2.4, 90, -90),
                [(0, 5.2), (0, 0), (3.8, 0)], _arc(3.8, 2.6, 2.6, 2.6, -90, 90)]),
    "C": (8.4, [_arc(5.0, 5.0, 5.0, 5.0, 42, 318)]),
    "D": (7.6, [[(2.6, 10), (0, 10), (0, 0), (2.6, 0)], _arc(2.6, 5, 5.0, 5.0, -90, 90)]),
    "E": (5.8, [[(5.8, 10), (0, 10), (0, 0), (5.8, 0)], [(0, 5.1), (4.9, 5.1)]]),
    "F": (5.6, [[(5.6, 10), (0, 10), (0, 0)], [(0, 5.1), (4.8, 5.1)]]),
    "G": (9.6, [_arc(5.0, 5.0, 5.0, 5.0, 42, 360), [(10.0, 5.0), (6.2, 5.0)]]),
    "H": (7.2, [[(0, 0), (0, 10)], [(7.2, 0), (7.2, 10)], [(0, 5.1), (7.2, 5.1)]]),
    "I": (0.0, [[(0, 0), (0, 10)]]),
    "J": (5.0, [[(5.0, 10), (5.0, 2.6)], _arc(2.5, 2.6, 2.5, 2.6, 0, -180)]),
    "K": (6.6, [[(0, 0), (0, 10)], [(6.4, 10), (0, 3.4)], [(2.3, 5.8), (6.6, 0)]]),
    "L": (5.4, [[(0, 10), (0, 0), (5.4, 0)]]),
    "M": (9.0, [[(0, 0), (0, 10), (4.5, 1.8), (9.0, 10), (9.0, 0)]]),
    "N": (7.4, [[(0, 0), (0, 10), (7.4, 0), (7.4, 10)]]),
    "O": (10.0, [_arc(5.0, 5.0, 5.0, 5.0, 0, 360)]),
    "P": (6.4, [[(0, 0), (0, 10), (3.6, 10)], _arc(3.6, 7.3, 2.8, 2.7, 90, -90),
                [(3.6, 4.6), (0, 4.6)]]),
    "Q": (10.0, [_arc(5.0, 5.0, 5.0, 5.0, 0, 360), [(6.4, 3.0), (10.0, -0.6)]]),
    "R": (6.6, [[(0, 0), (0, 10), (3.6, 10)], _arc(3.6, 7.3, 2.8, 2.7, 90, -90),
                [(3.6, 4.6), (0, 4.6)], [(3.4, 4.6), (6.6, 0)]]),
    "S": (6.4, [_arc(3.3, 7.45, 3.0, 2.55, 15, 270), _arc(3.3, 2.55, 3.2, 2.55, 90, -165)]),
    "T": (7.0, [[(0, 10), (7.0, 10)], [(3.5, 10), (3.5, 0)]]),
    "U": (7.2, [[(0, 10), (0, 3.6)], _arc(3.6, 3.6, 3.6, 3.6, 180, 360), [(7.2, 3.6), (7.2, 10)]]),
    "V": (7.6, [[(0, 10), (3.8, 0), (7.6, 10)]]),
    "W": (11.2, [[(0, 10), (2.8, 0), (5.6, 10), (8.4, 0), (11.2, 10)]]),
    "X": (7.0, [[(0, 10), (7.0, 0)], [(0, 0), (7.0, 10)]]),
    "Y": (7.2, [[(0, 10), (3.6, 4.8), (7.2, 10)], [(3.6, 4.8), (3.6, 0)]]),
    "Z": (6.6, [[(0, 10), (6.6, 10), (0, 0), (6.6, 0)]]),
    "a": (6.6, [_arc(3.3, 3.5, 3.3, 3.5, 0, 360), [(6.6, 7.0), (6.6, 0)]]),
    "b": (6.6, [[(0, 10.5), (0, 0)], _arc(3.3, 3.5, 3.3, 3.5, 0, 360)]),
    "c": (6.2, [_arc(3.5, 3.5, 3.5, 3.5, 45, 315)]),
    "d": (6.6, [_arc(3.3, 3.5, 3.3, 3.5, 0, 360), [(6.6, 10.5), (6.6, 0)]]),
    "e": (6.8, [[(0.0, 3.5), (6.8, 3.5)], _arc(3.4, 3.5, 3.4, 3.5, 0, 318)]),
    "f": (4.2, [[(1.6, 0), (1.6, 8.4)], _arc(3.7, 8.4, 2.1, 2.1, 180, 40), [(0, 6.8), (4.0, 6.8)]]),
    "g": (6.6, [_arc(3.3, 3.5, 3.3, 3.5, 0, 360), [(6.6, 7.0), (6.6, -0.9)],
                _arc(3.3, -0.9, 3.3, 2.6, 0, -155)]),
    "h": (6.2, [[(0, 10.5), (0, 0)], _arc(3.1, 3.9, 3.1, 3.1, 180, 0), [(6.2, 3.9), (6.2, 0)]]),
    "i": (0.0, [[(0, 7), (0, 0)], [(0, 9.7)]]),
    "j": (2.4, [[(2.4, 7), (2.4, -1.6)], _arc(0.6, -1.6, 1.8, 1.9, 0, -120), [(2.4, 9.7)]]),
    "k": (5.8, [[(0, 10.5), (0, 0)], [(5.6, 7), (0, 2.4)], [(2.1, 4.1), (5.8, 0)]]),
    "l": (0.0, [[(0, 10.5), (0, 0)]]),
    "m": (10.4, [[(0, 7), (0, 0)], _arc(2.6, 4.4, 2.6, 2.6, 180, 0), [(5.2, 4.4), (5.2, 0)],
                 _arc(7.8, 4.4, 2.6, 2.6, 180, 0), [(10.4, 4.4), (10.4, 0)]]),
    "n": (6.2, [[(0, 7), (0, 0)], _arc(3.1, 3.9, 3.1, 3.1, 180, 0), [(6.2, 3.9), (6.2, 0)]]),
    "o": (7.0, [_arc(3.5, 3.5, 3.5, 3.5, 0, 360)]),
    "p": (6.6, [[(0, 7), (0, -3.5)], _arc(3.3, 3.5, 3.3, 3.5, 0, 360)]),
    "q": (6.6, [_arc(3.3, 3.5, 3.3, 3.5, 0, 360), [(6.6, 7), (6.6, -3.5)]]),
    "r": (4.2, [[(0, 7), (0, 0)], _arc(3.2, 3.8, 3.2, 3.2, 180, 70)]),
    "s": (5.4, [_arc(2.75, 5.25, 2.5, 1.75, 25, 270), _arc(2.75, 1.75, 2.65, 1.75, 90, -155)]),
    "t": (4.2, [[(1.5, 9.4), (1.5, 1.6)], _arc(3.3, 1.6, 1.8, 1.6, 180, 300), [(0, 7), (4.0, 7)]]),
    "u": (6.2, [[(0, 7), (0, 3.1)], _arc(3.1, 3.1, 3.1, 3.1, 180, 360), [(6.2, 7), (6.2, 0)]]),
    "v": (6.2, [[(0, 7), (3.1, 0), (6.2, 7)]]),
    "w": (9.6, [[(0, 7), (2.4, 0), (4.8, 7), (7.2, 0), (9.6, 7)]]),
    "x": (6.0, [[(0, 7), (6.0, 0)], [(0, 0), (6.0, 7)]]),
    "y": (6.2, [[(0, 7), (3.2, 0.2)], [(6.2, 7), (1.8, -3.5)]]),
    "z": (5.6, [[(0, 7), (5.6, 7), (0, 0), (5.6, 0)]]),
}

# Pairs whose shapes leave a hole when set at their plain advance.
KERNING = {
    ("T", "a"): -1.3, ("T", "o"): -1.3, ("T", "e"): -1.3, ("V", "e"): -0.9,
    ("W", "i"): -0.2, ("w", "r"): -0.2, ("r", "i"): 0.1, ("V", "E"): -0.4,
    ("A", "R"): 0.0, ("L", "M"): -0.2, ("N", "T"): -0.3,
}


def glyph_paths(ch):
    adv, strokes = GLYPHS[ch]
    out = []
    for s in strokes:
        if isinstance(s, tuple) and s[0] == "arc":
            _, cx, cy, rx, ry, a0, a1 = s
            out.append(arc_points(cx, cy, rx, ry, a0, a1, 4.0))
        else:
            out.append(list(s))
    return adv, out


def set_text(text, size, pen, slant=0.0, tracking=0.0):
    """Lays out text as pen paths in pixels: x from the left edge of the ink,
    y downwards from the baseline. Returns (paths, width).

    size is the cap height of the pen's centre line in pixels, pen the pen's
    width in pixels, tracking extra space between letters in pixels."""
    s = size / 10.0
    paths, x, prev = [], pen / 2.0, None
    for ch in text:
        adv, strokes = glyph_paths(ch)
        if prev is not None:
            x += KERNING.get((prev, ch), 0.0) * s
        for st in strokes:
            paths.append([(x + u * s + v * s * slant, -v * s) for u, v in st])
        x += adv * s + pen + tracking
        prev = ch
    return paths, x - tracking - pen / 2.0


def place(paths, fn):
    return [[fn(x, y) for x, y in p] for p in paths]


# ---------------------------------------------------------------------------
# Colour reduction
# ---------------------------------------------------------------------------

# The colours an 8-bit display keeps for itself, at the table positions it
# keeps them in. Carrying them at the same places means that realising the
# billboard's table as a logical palette costs only the other 236 entries.
STATIC_LOW = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128),
              (128, 0, 128), (0, 128, 128), (192, 192, 192), (192, 220, 192), (166, 202, 240)]
STATIC_HIGH = [(255, 251, 240), (160, 160, 164), (128, 128, 128), (255, 0, 0), (0, 255, 0),
               (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]

# The sixteen colours every display can show, in the order 4-bit icons use.
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def _box_stats(items):
    n = sr = sg = sb = sq = 0
    for (r, g, b), c in items:
        n += c
        sr += r * c
        sg += g * c
        sb += b * c
        sq += (r * r + g * g + b * b) * c
    sse = sq - (sr * sr + sg * sg + sb * sb) / n
    return n, (sr / n, sg / n, sb / n), sse


def median_cut(hist, count):
    """Splits the colour histogram into `count` boxes, always cutting the box
    with the largest squared error where the cut lowers it most; returns the
    boxes' mean colours."""
    boxes = [sorted(hist.items())]
    stats = [_box_stats(boxes[0])]
    while len(boxes) < count:
        order = sorted(range(len(boxes)), key=lambda k: (-stats[k][2], k))
        k = next((k for k in order if len(boxes[k]) > 1), None)
        if k is None:
            break
        items = boxes[k]
        best = None
        for ch in range(3):
            srt = sorted(items, key=lambda it: (it[0][ch], it[0]))
            tot_n = sum(c for _, c in srt)
            tot = [sum(col[q] * c for col, c in srt) for q in range(3)]
            tot_q = sum(sum(v * v for v in col) * c for col, c in srt)
            n = 0
            s = [0.0, 0.0, 0.0]
            sq = 0.0
            for i in range(len(srt) - 1):
                col, c = srt[i]
                n += c
                for q in range(3):
                    s[q] += col[q] * c
                sq += sum(v * v for v in col) * c
                if srt[i][0][ch] == srt[i + 1][0][ch]:
                    continue
                m = tot_n - n
                err = (sq - sum(v * v for v in s) / n) + \
                      ((tot_q - sq) - sum((t - v) ** 2 for t, v in zip(tot, s)) / m)
                if best is None or err < best[0] - 1e-6:
                    best = (err, srt[:i + 1], srt[i + 1:])
        if best is None:
            break   # distinct colours always differ somewhere; kept as a guard
        boxes[k:k + 1] = [best[1], best[2]]
        stats[k:k + 1] = [_box_stats(best[1]), _box_stats(best[2])]
    return [tuple(int(round(v)) for v in st[1]) for st in stats]


def nearest_index(palette):
    """Returns a memoised function giving the nearest table entry."""
    cache = {}

    def find(c):
        hit = cache.get(c)
        if hit is None:
            r, g, b = c
            best, hit = 1 << 30, 0
            for i, (pr, pg, pb) in enumerate(palette):
                d = (pr - r) ** 2 + (pg - g) ** 2 + (pb - b) ** 2
                if d < best:
                    best, hit = d, i
            cache[c] = hit
        return hit
    return find


def map_nearest(rows, palette):
    find = nearest_index(palette)
    return [[find(c) for c in row] for row in rows]


def error_diffuse(canvas, palette, strength=1.0):
    """Floyd-Steinberg dithering, serpentine. Pixels already exactly on a
    table colour pass no error on, so flat areas stay clean."""
    w, h = canvas.w, canvas.h
    find = nearest_index(palette)
    cur = [[canvas.r[k], canvas.g[k], canvas.b[k]] for k in range(w * h)]
    out = [[0] * w for _ in range(h)]
    for y in range(h):
        xs = range(w) if y % 2 == 0 else range(w - 1, -1, -1)
        step = 1 if y % 2 == 0 else -1
        for x in xs:
            c = cur[y * w + x]
            q = tuple(min(255, max(0, int(v + 0.5))) for v in c)
            i = find(q)
            out[y][x] = i
            p = palette[i]
            err = [(c[0] - p[0]) * strength, (c[1] - p[1]) * strength, (c[2] - p[2]) * strength]
            if err == [0, 0, 0]:
                continue
            for dx, dy, f in ((step, 0, 7 / 16), (-step, 1, 3 / 16), (0, 1, 5 / 16), (step, 1, 1 / 16)):
                nx, ny = x + dx, y + dy
                if 0 <= nx < w and ny < h:
                    t = cur[ny * w + nx]
                    t[0] += err[0] * f
                    t[1] += err[1] * f
                    t[2] += err[2] * f
    return out


BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def bayer(x, y):
    """Ordered-dither threshold in (0, 1), repeating every 4 pixels."""
    return (BAYER4[y % 4][x % 4] + 0.5) / 16.0


# ---------------------------------------------------------------------------
# File formats
# ---------------------------------------------------------------------------

def pack_rows(rows, bpp):
    """Packs index rows (top first) bottom-up, each padded to 4 bytes."""
    out = bytearray()
    for row in reversed(rows):
        if bpp == 8:
            line = bytearray(row)
        elif bpp == 4:
            line = bytearray()
            for k in range(0, len(row), 2):
                hi = row[k]
                lo = row[k + 1] if k + 1 < len(row) else 0
                line.append((hi << 4) | lo)
        elif bpp == 1:
            line = bytearray()
            for k in range(0, len(row), 8):
                v = 0
                for b, bit in enumerate(row[k:k + 8]):
                    v |= (bit & 1) << (7 - b)
                line.append(v)
        else:
            raise ValueError(bpp)
        line += b"\0" * (-len(line) % 4)
        out += line
    return bytes(out)


def rle8_line(row):
    """One row in RLE8: repeats become (count, value) pairs; stretches of
    differing bytes go out in absolute mode when they are long enough for
    that to be shorter; the row ends with 00 00."""
    out = bytearray()
    lit = []

    def flush():
        k = 0
        while k < len(lit):
            chunk = lit[k:k + 255]
            k += len(chunk)
            if len(chunk) < 3:
                # Absolute mode needs at least three bytes.
                for v in chunk:
                    out.extend((1, v))
            else:
                out.extend((0, len(chunk)))
                out.extend(chunk)
                if len(chunk) % 2:
                    out.append(0)
        del lit[:]

    i, n = 0, len(row)
    while i < n:
        j = i + 1
        while j < n and row[j] == row[i] and j - i < 255:
            j += 1
        run = j - i
        if run >= 3 or (run == 2 and not lit):
            flush()
            out.extend((run, row[i]))
        else:
            lit.extend(row[i:j])
        i = j
    flush()
    out.extend((0, 0))
    return bytes(out)


def rle8_encode(rows):
    """Rows top first; the bitmap is stored bottom-up and ends with 00 01."""
    return b"".join(rle8_line(r) for r in reversed(rows)) + b"\0\1"


def info_header(w, h, bpp, compression, size_image, colours):
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, compression, size_image,
                       2835, 2835, colours, 0)


def colour_table(palette):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)


def bmp_file(rows, bpp, palette, rle=False):
    h, w = len(rows), len(rows[0])
    assert len(palette) == 1 << bpp
    data = rle8_encode(rows) if rle else pack_rows(rows, bpp)
    info = info_header(w, h, bpp, 1 if rle else 0, len(data), len(palette))
    table = colour_table(palette)
    offset = 14 + len(info) + len(table)
    head = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return head + info + table + data


def icon_image(rows, alpha_rows, bpp, palette=None):
    """One icon image: header (twice the height, for the mask), colour
    table, colour bits and the AND mask (1 = let the screen through)."""
    h, w = len(rows), len(rows[0])
    if bpp == 32:
        xor = bytearray()
        for row, arow in zip(reversed(rows), reversed(alpha_rows)):
            for (r, g, b), a in zip(row, arow):
                xor += bytes((b, g, r, a))
        table = b""
    else:
        xor = pack_rows(rows, bpp)
        table = colour_table(palette)
    mask = pack_rows([[1 if a < 128 else 0 for a in arow] for arow in alpha_rows], 1)
    info = info_header(w, 2 * h, bpp, 0, len(xor) + len(mask), 0)
    return info + table + bytes(xor) + mask


def ico_file(images):
    """images: list of (width, height, bpp, colour_count, image_bytes)."""
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for w, h, bpp, ncol, blob in images:
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, ncol % 256, 0, 1, bpp,
                               len(blob), offset + len(blobs))
        blobs += blob
    return head + entries + blobs


# ---------------------------------------------------------------------------
# The percent gauge
# ---------------------------------------------------------------------------

# One ramp from near-black navy to a pale highlight; the gauge picks a point
# on it for each pixel and dithers between the two neighbouring entries.
GAUGE_KEYS = [(0.0, (0, 6, 30)), (0.25, (0, 28, 110)), (0.55, (8, 82, 200)),
              (0.8, (70, 150, 250)), (1.0, (200, 232, 255))]
GAUGE_TABLE = [tuple(int(round(v)) for v in lerp_stops(GAUGE_KEYS, k / 15.0)) for k in range(16)]


def gauge_level(x, y, w, h):
    """Position on the ramp (0..15): brighter to the right as the gauge
    fills, a glassy light band near the top, a darker lower half, and a
    dark last row so the bar has a lower edge.

    The whole bar stays at mid-brightness or below where the percentage is
    written (the middle rows), so yellow text with a shadow reads on it."""
    t = x / (w - 1)
    base = 4.2 + 3.8 * t            # deep blue on the left, bright on the right
    v = (y + 0.5) / h
    if y == 0:
        shade = 4.5                  # crisp top edge
    elif v < 0.42:
        shade = 3.2 * (1.0 - v / 0.42) ** 1.5 + 0.4
    else:
        shade = -1.6 * (v - 0.42) / 0.58
    if y >= h - 2:
        shade -= 1.6
    return min(max(base + shade, 0.0), 15.0)


def make_gauge(out_dir):
    w, h = 300, 30
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            lv = gauge_level(x, y, w, h)
            lo = int(lv)
            row.append(min(lo + (1 if lv - lo > bayer(x, y) else 0), 15))
        rows.append(row)
    write(out_dir, "gauge_fill.bmp", bmp_file(rows, 4, GAUGE_TABLE))


# ---------------------------------------------------------------------------
# The billboard
# ---------------------------------------------------------------------------

BILL_W, BILL_H = 345, 380


def paint_backdrop(cv):
    """Glow and light rays behind the illustration, faded to the window's
    own colour well before the picture's edges so no seam shows."""
    w, h = cv.w, cv.h
    cx, cy = 176.0, 120.0
    glow = radial(cx, cy, 178.0, 150.0, [(0.0, (40, 92, 200)), (0.35, (18, 48, 140)),
                                         (0.7, (4, 12, 86)), (1.0, BG)])
    cv.draw(Mask(0, 0, w, h, [1.0] * (w * h)), glow)

    # Rays: wedges from behind the cartridge, brightest at the centre.
    spread = [(-84, 3.0), (-64, 5.5), (-47, 2.5), (-30, 6.0), (-12, 3.5), (4, 7.0),
              (22, 3.0), (38, 5.0), (56, 2.5), (72, 6.0), (92, 3.5), (110, 5.0),
              (128, 2.5), (146, 6.5), (166, 3.0), (184, 5.0), (204, 3.0), (222, 6.0),
              (240, 3.0), (258, 5.0)]
    light = radial(cx, cy, 200.0, 200.0, [(0.0, (120, 170, 255, 0.55)), (0.3, (80, 130, 240, 0.3)),
                                          (1.0, (40, 80, 200, 0.0))])
    for ang, width in spread:
        a0, a1 = math.radians(ang - width / 2), math.radians(ang + width / 2)
        wedge = [(cx, cy), (cx + 260 * math.cos(a0), cy + 260 * math.sin(a0)),
                 (cx + 260 * math.cos(a1), cy + 260 * math.sin(a1))]
        cv.fill([wedge], light, 0.45, mode="add")

    fade_edges(cv, 34.0)


def fade_edges(cv, margin):
    """Pulls every colour towards the window's own near the picture's edges,
    so the picture has no visible border on the window."""
    w, h = cv.w, cv.h
    for y in range(h):
        fy = smoothstep(0, margin, y) * smoothstep(0, margin, h - 1 - y)
        for x in range(w):
            f = fy * smoothstep(0, margin, x) * smoothstep(0, margin, w - 1 - x)
            if f >= 1.0:
                continue
            k = y * w + x
            cv.r[k] = BG[0] + (cv.r[k] - BG[0]) * f
            cv.g[k] = BG[1] + (cv.g[k] - BG[1]) * f
            cv.b[k] = BG[2] + (cv.b[k] - BG[2]) * f


class View:
    """A fixed three-quarter view from the front, above and to the left."""

    def __init__(self, ox, oy, scale, yaw, pitch):
        self.ox, self.oy, self.s = ox, oy, scale
        self.cy, self.sy = math.cos(math.radians(yaw)), math.sin(math.radians(yaw))
        self.cp, self.sp = math.cos(math.radians(pitch)), math.sin(math.radians(pitch))

    def __call__(self, x, y, z):
        xr = x * self.cy - y * self.sy
        yr = x * self.sy + y * self.cy
        return (self.ox + self.s * xr, self.oy - self.s * (z * self.cp + yr * self.sp))

    def plane_z(self, z):
        o = self(0, 0, z)
        u = self(1, 0, z)
        v = self(0, 1, z)
        return Affine(o[0], o[1], u[0] - o[0], u[1] - o[1], v[0] - o[0], v[1] - o[1])

    def plane_front(self, y):
        """The vertical face at depth y: u runs along x, v along height z."""
        o = self(0, y, 0)
        u = self(1, y, 0)
        v = self(0, y, 1)
        return Affine(o[0], o[1], u[0] - o[0], u[1] - o[1], v[0] - o[0], v[1] - o[1])

    def plane_side(self, x):
        o = self(x, 0, 0)
        u = self(x, 1, 0)
        v = self(x, 0, 1)
        return Affine(o[0], o[1], u[0] - o[0], u[1] - o[1], v[0] - o[0], v[1] - o[1])


def shaded(plane, stops_u=None, stops_v=None):
    """A paint for a flat face: gradient along the face's own u or v."""
    def paint(x, y):
        u, v = plane.back(x, y)
        if stops_v is not None:
            return lerp_stops(stops_v, v)
        return lerp_stops(stops_u, u)
    return paint


def draw_box(cv, view, x0, x1, y0, y1, z0, z1, top, front, side):
    """A lit box: top, front (y = y0) and right (x = x1) faces."""
    P = view
    cv.fill([[P(x0, y0, z0), P(x1, y0, z0), P(x1, y0, z1), P(x0, y0, z1)]], front)
    cv.fill([[P(x1, y0, z0), P(x1, y1, z0), P(x1, y1, z1), P(x1, y0, z1)]], side)
    cv.fill([[P(x0, y0, z1), P(x1, y0, z1), P(x1, y1, z1), P(x0, y1, z1)]], top)


def paint_server(cv):
    """A tower server standing behind the cartridge, to the right."""
    view = View(212.0, 178.0, 16.0, -24.0, 16.0)
    W, D, H = 3.6, 5.2, 8.6
    top = shaded(view.plane_z(H), stops_u=[(0, (92, 104, 150)), (W, (64, 74, 118))])
    front = shaded(view.plane_front(0), stops_v=[(0, (26, 32, 66)), (H * 0.6, (52, 62, 108)),
                                                 (H, (74, 86, 134))])
    side = shaded(view.plane_side(W), stops_v=[(0, (12, 16, 44)), (H, (34, 42, 84))])
    draw_box(cv, view, 0, W, 0, D, 0, H, top, front, side)

    fp = view.plane_front(0)
    edge = fp.map([(0, H), (W, H)])
    cv.stroke([edge], 1.0, (140, 156, 210), 0.8)
    # The lit vertical edge between front and side.
    cv.stroke([fp.map([(W, 0.05), (W, H - 0.05)])], 1.0, (120, 136, 190), 0.6)
    # Drive bays: a tape drive with its slot and lamp, then two blanks.
    for k, (z0, z1) in enumerate([(7.2, 8.1), (6.1, 7.0), (5.0, 5.9)]):
        bay = fp.map([(0.35, z0), (W - 0.35, z0), (W - 0.35, z1), (0.35, z1)])
        cv.fill([bay], shaded(fp, stops_v=[(z0, (20, 24, 50)), (z1, (58, 68, 112))]))
        cv.stroke([bay + [bay[0]]], 0.8, (96, 110, 164), 0.7)
        if k == 0:
            slot = fp.map([(0.7, z0 + 0.32), (W - 1.1, z0 + 0.32), (W - 1.1, z0 + 0.52),
                           (0.7, z0 + 0.52)])
            cv.fill([slot], (4, 4, 12))
            lx, ly = fp(W - 0.7, z0 + 0.45)
            cv.draw(blur(fill_mask([ellipse(lx, ly, 2.2, 2.2, 16)]), 2), (40, 255, 110), 0.8, "add")
            cv.fill([ellipse(lx, ly, 1.4, 1.2, 16)], (170, 255, 190))
    # Grille slots low on the front.
    for k in range(7):
        z = 1.0 + k * 0.42
        cv.stroke([fp.map([(0.6, z), (W - 0.6, z)])], 1.0, (14, 18, 44), 0.9)
        cv.stroke([fp.map([(0.6, z - 0.12), (W - 0.6, z - 0.12)])], 0.8, (90, 104, 156), 0.35)
    # Power lamp.
    px, py = fp(W - 0.7, 4.4)
    cv.fill([ellipse(px, py, 1.3, 1.1, 12)], (255, 200, 60))


def paint_cartridge(cv):
    """The data cartridge: aluminium base plate, smoked clear cover over the
    two tape packs, tape running past the head door along the front."""
    view = View(44.0, 200.0, 28.0, 14.0, 38.0)
    L, D = 6.0, 4.0
    zb, zt = 0.16, 0.72

    # Soft shadow on the "floor" first, so the cartridge sits on something.
    shadow = [view(x, y, 0) for x, y in [(-0.2, -0.25), (L + 0.5, -0.25), (L + 0.5, D + 0.3), (-0.2, D + 0.3)]]
    cv.draw(blur(fill_mask([shadow]), 3), (0, 0, 10), 0.55)

    # Base plate.
    plate_top = view.plane_z(zb)
    draw_box(cv, view, -0.12, L + 0.12, -0.12, D + 0.05, 0.0, zb,
             shaded(plate_top, stops_u=[(0, (210, 214, 224)), (L, (150, 156, 170))]),
             shaded(view.plane_front(-0.12), stops_u=[(0, (236, 238, 244)), (L, (150, 154, 168))]),
             (110, 114, 128))

    # Cover: its walls are dark smoked plastic, its top clear.
    top = view.plane_z(zt)
    front = view.plane_front(0.0)
    cv.fill([[view(0, 0, zb), view(L, 0, zb), view(L, 0, zt), view(0, 0, zt)]],
            shaded(front, stops_v=[(zb, (18, 20, 28)), (zt, (58, 62, 76))]))
    cv.fill([[view(L, 0, zb), view(L, D, zb), view(L, D, zt), view(L, 0, zt)]],
            shaded(view.plane_side(L), stops_v=[(zb, (12, 12, 20)), (zt, (36, 38, 50))]))

    # Under the cover: the plate seen through the plastic.
    inner = top.map(rounded_rect(0.0, 0.0, L, D, 0.12))
    cv.fill([inner], shaded(top, stops_u=[(0, (176, 182, 196)), (L, (120, 126, 144))]))

    # Tape packs: supply full, take-up half wound.
    hub_r = 0.42
    reels = [(1.55, 2.35, 1.22), (4.45, 2.35, 0.86)]
    for ux, uy, rr in reels:
        def pack(x, y, ux=ux, uy=uy, rr=rr):
            u, v = top.back(x, y)
            d = math.hypot(u - ux, v - uy)
            ring = 0.5 + 0.5 * math.sin(d * 70.0)
            shade = 0.82 + 0.18 * ring * (d / rr)
            light = 1.0 + 0.35 * max(0.0, -(u - ux) - (v - uy)) / rr
            return (92 * shade * light, 56 * shade * light, 32 * shade * light)
        cv.fill([top.map(ellipse(ux, uy, rr, rr, 96))], pack)
        cv.stroke([top.map(ellipse(ux, uy, rr, rr, 96) + [(ux + rr, uy)])], 0.8, (40, 22, 12), 0.8)
    # Tape path: from each pack down to the front corner guides and along
    # the front past the head opening.
    guides = [(0.42, 0.42), (L - 0.42, 0.42)]
    tape = [top.map([(reels[0][0] - reels[0][2], reels[0][1]), (0.3, 0.55), (0.55, 0.3),
                     (L - 0.55, 0.3), (L - 0.3, 0.55), (reels[1][0] + reels[1][2], reels[1][1])])]
    cv.stroke(tape, 1.6, (74, 44, 24))
    for gx, gy in guides + [(0.42, D - 0.42), (L - 0.42, D - 0.42)]:
        cv.fill([top.map(ellipse(gx, gy, 0.2, 0.2, 24))], (226, 228, 236))
        cv.fill([top.map(ellipse(gx, gy, 0.08, 0.08, 12))], (90, 94, 108))
    # Drive puck at the front centre, where the drive's capstan meets it.
    cv.fill([top.map(ellipse(3.0, 0.62, 0.36, 0.36, 40))], (22, 22, 26))
    cv.fill([top.map(ellipse(3.0, 0.62, 0.12, 0.12, 16))], (150, 154, 166))
    # Hubs with three windows each.
    for ux, uy, rr in reels:
        cv.fill([top.map(ellipse(ux, uy, hub_r, hub_r, 48))],
                shaded(top, stops_v=[(uy - hub_r, (250, 250, 255)), (uy + hub_r, (170, 176, 190))]))
        for k in range(3):
            a = math.radians(90 + 120 * k)
            hx, hy = ux + 0.24 * math.cos(a), uy + 0.24 * math.sin(a)
            cv.fill([top.map(ellipse(hx, hy, 0.1, 0.1, 16))], (60, 40, 28))
        cv.fill([top.map(ellipse(ux, uy, 0.07, 0.07, 12))], (40, 40, 48))

    # The clear top: a faint tint, a reflection band, and a bright rim.
    cover = fill_mask([inner])
    cv.draw(cover, (120, 140, 190), 0.14)
    streak = fill_mask([top.map([(0.6, D), (2.2, D), (4.6, 0), (3.0, 0)])]).times(cover)
    cv.draw(streak, (255, 255, 255), 0.16)
    streak2 = fill_mask([top.map([(2.6, D), (3.0, D), (5.4, 0), (5.0, 0)])]).times(cover)
    cv.draw(streak2, (255, 255, 255), 0.1)
    cv.stroke([top.map(rounded_rect(0.0, 0.0, L, D, 0.12)) + [top(L - 0.12, 0.0)]], 1.2,
              (30, 32, 44), 0.9)
    cv.stroke([top.map([(0.1, 0.0), (L - 0.1, 0.0)])], 1.0, (200, 210, 235), 0.7)
    cv.stroke([top.map([(L, 0.1), (L, D - 0.1)])], 0.8, (150, 160, 190), 0.5)

    # Head door on the front face, and the write-protect selector.
    door = front.map([(3.7, zb + 0.06), (5.5, zb + 0.06), (5.5, zt - 0.06), (3.7, zt - 0.06)])
    cv.fill([door], shaded(front, stops_u=[(3.7, (226, 230, 240)), (5.5, (130, 136, 152))]))
    cv.stroke([door + [door[0]]], 0.8, (40, 42, 54), 0.8)
    wx, wy = front(0.7, (zb + zt) / 2)
    cv.fill([ellipse(wx, wy, 4.0, 3.2, 24)], (200, 36, 36))
    cv.stroke([[(wx - 2.4, wy + 1.0), (wx + 1.6, wy - 1.0)]], 1.0, (255, 230, 230))

    # Label on the front edge: the maker's name.
    paths, tw = set_text("VELMAR", 6.0, 0.9, 0.0, 1.6)
    lx0 = 1.35
    lab = front.map([(lx0, zb + 0.1), (3.35, zb + 0.1), (3.35, zt - 0.1), (lx0, zt - 0.1)])
    cv.fill([lab], (234, 230, 214))
    ux_per_px = 1.0 / view.s
    u0 = lx0 + (2.0 - tw * ux_per_px) / 2
    zc = (zb + zt) / 2 - 3.0 * ux_per_px
    cv.stroke(place(paths, lambda x, y: front(u0 + x * ux_per_px, zc - y * ux_per_px)), 0.9,
              (30, 36, 70))


def draw_word(cv, text, x, baseline, size, pen, slant, tracking, fill, outline=None,
              outline_pen=0.0, shadow=None):
    """Sets a line of text with an optional drop shadow and outline; fill
    may be a colour or a paint."""
    paths, width = set_text(text, size, pen, slant, tracking)
    paths = place(paths, lambda px, py: (x + px, baseline + py))
    if shadow:
        dx, dy, rad, op = shadow
        sm = stroke_mask(paths, (pen + outline_pen) / 2.0).shifted(dx, dy)
        cv.draw(blur(sm, rad), (0, 0, 12), op)
    if outline:
        cv.draw(stroke_mask(paths, (pen + outline_pen) / 2.0), outline)
    cv.draw(stroke_mask(paths, pen / 2.0), fill)
    return width


def paint_titles(cv):
    # The wordmark: chrome-blue fill, dark rim, soft shadow.
    size, pen, slant = 33.0, 7.6, 0.2
    _, width = set_text("Tapewright", size, pen, slant, 0.6)
    x = (BILL_W - width) / 2.0 - 4.0
    base = 262.0
    top = base - size - pen / 2
    bottom = base + pen / 2
    chrome = linear((0, top), (0, bottom), [
        (0.0, (255, 255, 255)), (0.42, (196, 220, 255)), (0.5, (92, 140, 226)),
        (0.56, (128, 176, 246)), (0.82, (214, 232, 255)), (1.0, (255, 255, 255))])
    draw_word(cv, "Tapewright", x, base, size, pen, slant, 0.6, chrome,
              outline=(0, 6, 40), outline_pen=3.4, shadow=(3, 4, 2, 0.75))
    right = x + width

    # The platform line, gold, set flush right under the wordmark.
    psize, ppen = 13.0, 2.6
    _, pw = set_text("for Windows NT", psize, ppen, slant, 0.9)
    gold = linear((0, base + 22), (0, base + 22 + psize + ppen),
                  [(0.0, (255, 240, 150)), (0.55, (255, 204, 60)), (1.0, (214, 140, 20))])
    draw_word(cv, "for Windows NT", right - pw, base + 22 + psize + ppen / 2, psize, ppen, slant, 0.9,
              gold, outline=(0, 4, 30), outline_pen=2.0, shadow=(2, 2, 1, 0.6))

    # The maker, quietly, between two rules.
    msize, mpen = 9.0, 1.7
    _, mw = set_text("VELMAR", msize, mpen, 0.0, 5.0)
    mx = (BILL_W - mw) / 2.0
    mb = 352.0
    draw_word(cv, "VELMAR", mx, mb, msize, mpen, 0.0, 5.0, (190, 204, 236))
    ry = mb - msize / 2 - 0.5
    for x0, x1, fade_left in ((mx - 86, mx - 14, True), (mx + mw + 14, mx + mw + 86, False)):
        rule = linear((x0, 0), (x1, 0), [(0.0, (190, 204, 236, 0.0 if fade_left else 1.0)),
                                         (1.0, (190, 204, 236, 1.0 if fade_left else 0.0))])
        cv.fill([[(x0, ry - 0.6), (x1, ry - 0.6), (x1, ry + 0.6), (x0, ry + 0.6)]], rule, 0.9)


def paint_billboard():
    cv = Canvas(BILL_W, BILL_H, BG)
    paint_backdrop(cv)
    paint_server(cv)
    paint_cartridge(cv)
    paint_titles(cv)
    # The shapes keep clear of the edges; this only catches soft shadows.
    fade_edges(cv, 8.0)
    return cv


def billboard_palette(rows):
    """Static display colours at both ends, the picture's own 236 between,
    one of which is the window colour exactly."""
    hist = {}
    for row in rows:
        for c in row:
            if c != BG:
                hist[c] = hist.get(c, 0) + 1
    own = median_cut(hist, 235)
    own = [c for c in own if c != BG]
    own = sorted(set(own), key=lambda c: (c[0] * 30 + c[1] * 59 + c[2] * 11, c))
    own = [BG] + own
    while len(own) < 236:
        own.append(own[-1])   # unused slots repeat a real entry
    return STATIC_LOW + own[:236] + STATIC_HIGH


def make_billboard_256(cv, out_dir):
    rows = cv.rgb_rows()
    palette = billboard_palette(rows)
    idx = map_nearest(rows, palette)
    write(out_dir, "billboard_256.bmp", bmp_file(idx, 8, palette, rle=True))
    return palette


def make_background_256(palette, out_dir):
    write(out_dir, "background_256.bmp", bmp_file([[palette.index(BG)]], 8, palette))


# Sixteen colours for the picture at other depths: the window colour and the
# blues of the glow, greys for the cartridge, slate for the server, tape
# brown, gold for the platform line and the lamps' green and red.
BILL16 = [(0, 0, 0), BG, (0, 20, 110), (24, 64, 168), (70, 126, 230), (160, 196, 250),
          (255, 255, 255), (44, 46, 60), (104, 110, 132), (184, 188, 202), (94, 56, 30),
          (250, 206, 70), (58, 68, 116), (40, 220, 100), (200, 36, 36), (22, 24, 60)]


def make_billboard_16(cv, out_dir):
    idx = error_diffuse(cv, BILL16, 0.85)
    write(out_dir, "billboard_16.bmp", bmp_file(idx, 4, BILL16))


# ---------------------------------------------------------------------------
# The background tile
# ---------------------------------------------------------------------------

# A short ramp either side of the window colour: the tile's relief is only a
# few steps deep.
PATTERN_TABLE = [tuple(int(round(v)) for v in lerp_stops(
    [(0, (0, 0, 40)), (4, BG), (15, (22, 34, 120))], k)) for k in range(16)]
PATTERN_BG_LEVEL = 4


def make_pattern_16(out_dir):
    n = 48
    height = Canvas(n, n, (0, 0, 0))
    # Two small tape reels on a diagonal lattice; drawn once per neighbouring
    # tile too so the edges meet.
    for cx, cy in ((12.0, 12.0), (36.0, 36.0)):
        for ox in (-n, 0, n):
            for oy in (-n, 0, n):
                x, y = cx + ox, cy + oy
                if x < -12 or x > n + 12 or y < -12 or y > n + 12:
                    continue
                height.stroke([ellipse(x, y, 7.5, 7.5, 48) + [(x + 7.5, y)]], 1.4, (1.0, 0, 0))
                height.fill([ellipse(x, y, 3.0, 3.0, 32)], (1.0, 0, 0))
                for k in range(3):
                    a = math.radians(90 + 120 * k)
                    height.stroke([[(x + 3.0 * math.cos(a), y + 3.0 * math.sin(a)),
                                    (x + 6.8 * math.cos(a), y + 6.8 * math.sin(a))]], 1.2, (0.6, 0, 0))
    h = height.r
    rows = []
    for y in range(n):
        row = []
        for x in range(n):
            # Lit from the top left: rising edges lighter, falling darker.
            slope = h[((y - 1) % n) * n + (x - 1) % n] - h[((y + 1) % n) * n + (x + 1) % n]
            lv = PATTERN_BG_LEVEL + 1.6 * slope + 0.7 * h[y * n + x]
            lo = math.floor(lv)
            lv_i = lo + (1 if lv - lo > bayer(x, y) else 0)
            row.append(min(max(lv_i, 0), 15))
        rows.append(row)
    write(out_dir, "pattern_16.bmp", bmp_file(rows, 4, PATTERN_TABLE))


# ---------------------------------------------------------------------------
# The program's icon
# ---------------------------------------------------------------------------

def paint_icon():
    """A cartridge seen from above with a green arrow going into it."""
    size = 32
    s = 1.0
    cv = Canvas(size, size, (0, 0, 0), track_alpha=True)

    def R(x0, y0, x1, y1, r=0.0):
        return rounded_rect(x0 * s, y0 * s, x1 * s, y1 * s, r * s)

    # Body: base plate peeking out below, dark cover, clear window.
    cv.fill([R(1, 9, 31, 29, 1.5)], (150, 154, 168))
    cv.fill([R(1, 8, 31, 27, 1.5)], linear((0, 8 * s), (0, 27 * s),
                                           [(0, (64, 66, 78)), (1, (26, 27, 34))]))
    cv.fill([R(3.5, 10, 28.5, 21, 1.5)], (196, 200, 212))
    for cx, r in ((10.0, 5.2), (22.0, 3.6)):
        cv.fill([ellipse(cx * s, 15.5 * s, r * s, r * s, 48)], (120, 70, 34))
        cv.fill([ellipse(cx * s, 15.5 * s, 1.9 * s, 1.9 * s, 24)], (240, 240, 248))
        cv.fill([ellipse(cx * s, 15.5 * s, 0.7 * s, 0.7 * s, 12)], (60, 60, 70))
    cv.fill([R(3.5, 22.5, 28.5, 25.5)], (234, 230, 214))
    for k in range(3):
        cv.stroke([[((6 + k * 6) * s, 24 * s), ((9.5 + k * 6) * s, 24 * s)]], 1.0, (90, 90, 110))
    # Arrow down into the cartridge.
    arrow = [(x * s, y * s) for x, y in [(21, 0.5), (29, 0.5), (29, 8), (32, 8), (25, 16), (18, 8), (21, 8)]]
    cv.fill([arrow], (0, 60, 0))
    inner = [(x * s, y * s) for x, y in [(22.2, 1.7), (27.8, 1.7), (27.8, 9.2), (29.4, 9.2), (25, 14.2),
                                         (20.6, 9.2), (22.2, 9.2)]]
    cv.fill([inner], linear((20 * s, 0), (30 * s, 0), [(0, (90, 255, 90)), (1, (0, 170, 0))]))
    return cv


ICON_VGA_ENTRIES = [0, 1, 2, 7, 8, 10, 15]

# At 16 pixels the same picture drawn smoothly turns to mush, so it is set
# pixel by pixel. Each letter names a colour for the 8- and 32-bit images and
# an entry of the 16-colour table for the 4-bit one.
ICON16 = [
    "..........kkkk..",
    "..........kgGk..",
    "..........kgGk..",
    "..........kgGk..",
    "........kkkgGkkk",
    "........kggggGGk",
    ".KKKKKKKKkggGGkK",
    "KLLLLLLLLLkgGkLK",
    "KLLRRLLLRRLkkLLK",
    "KLRWWRLRWWRLLLLK",
    "KLRWWRLRWWRLLLLK",
    "KLLRRLLLRRLLLLLK",
    "KKKKKKKKKKKKKKKK",
    "KKWWWWWWWWWWWWKK",
    "KKKKKKKKKKKKKKKK",
    ".DDDDDDDDDDDDDD.",
]
ICON16_COLOURS = {
    "K": ((28, 29, 36), 0), "L": ((198, 202, 214), 7), "R": ((130, 76, 36), 1),
    "W": ((246, 246, 250), 15), "D": ((150, 154, 168), 8), "g": ((70, 232, 70), 10),
    "G": ((0, 150, 0), 2), "k": ((0, 64, 0), 0),
}


def icon16_pixels():
    """(colour rows, alpha rows, 4-bit index rows) of the 16-pixel icon."""
    rows, alphas, idx = [], [], []
    for line in ICON16:
        rows.append([ICON16_COLOURS[c][0] if c != "." else (0, 0, 0) for c in line])
        alphas.append([255 if c != "." else 0 for c in line])
        idx.append([ICON16_COLOURS[c][1] if c != "." else 0 for c in line])
    return rows, alphas, idx


def icon_rows(cv):
    """Colour rows with the coverage removed from them, and alpha rows."""
    rows, alphas = [], []
    for y in range(cv.h):
        row, arow = [], []
        for x in range(cv.w):
            k = y * cv.w + x
            a = cv.alpha[k]
            if a <= 0.0:
                row.append((0, 0, 0))
                arow.append(0)
                continue
            row.append(tuple(min(255, max(0, int(v / a + 0.5))) for v in (cv.r[k], cv.g[k], cv.b[k])))
            arow.append(min(255, int(a * 255 + 0.5)))
        rows.append(row)
        alphas.append(arow)
    return rows, alphas


def make_icon(out_dir):
    images = []
    for size in (32, 16):
        if size == 32:
            rows, alphas = icon_rows(paint_icon())
            # Transparent pixels must be black so the screen shows through
            # the colour bits unchanged.
            rows = [[c if a >= 128 else (0, 0, 0) for c, a in zip(r, ar)]
                    for r, ar in zip(rows, alphas)]
            # Nearest among the neutral, brown and green entries only: the
            # dark plastic would otherwise turn navy and the tape olive.
            allowed = [VGA16[i] for i in ICON_VGA_ENTRIES]
            idx4 = [[ICON_VGA_ENTRIES[i] for i in r] for r in map_nearest(rows, allowed)]
        else:
            rows, alphas, idx4 = icon16_pixels()
        images.append((size, size, 4, 16, icon_image(idx4, alphas, 4, VGA16)))
        hist = {}
        for r in rows:
            for c in r:
                hist[c] = hist.get(c, 0) + 1
        own = median_cut(hist, 256)
        pal = own + [(0, 0, 0)] * (256 - len(own))
        idx8 = map_nearest(rows, pal)
        images.append((size, size, 8, 0, icon_image(idx8, alphas, 8, pal)))
        images.append((size, size, 32, 0, icon_image(rows, alphas, 32)))
    write(out_dir, "install.ico", ico_file(images))


# ---------------------------------------------------------------------------

def write(out_dir, name, data):
    with open(os.path.join(out_dir, name), "wb") as f:
        f.write(data)


def main(argv):
    out_dir = argv[1] if len(argv) > 1 else DEFAULT_OUT
    os.makedirs(out_dir, exist_ok=True)
    make_gauge(out_dir)
    make_pattern_16(out_dir)
    make_icon(out_dir)
    cv = paint_billboard()
    palette = make_billboard_256(cv, out_dir)
    make_background_256(palette, out_dir)
    make_billboard_16(cv, out_dir)


if __name__ == "__main__":
    main(sys.argv)
