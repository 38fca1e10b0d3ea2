#!/usr/bin/env python3
"""Writes data/simplex.fnt, Korvel's single-stroke engraving font.

Source: the Hershey fonts as packaged by Debian in `hershey-fonts-data`
(apt-get install hershey-fonts-data), files in /usr/share/hershey-fonts/:
  - rowmans.jhf, the simplex roman face (Hershey glyphs 501-526 capitals, 601-626 small
    letters, 700-734 figures and punctuation, 2219-2273 and 804, 999 signs): every
    printable ASCII character except the caret, and the degree sign (718), written as
    Latin-1 0xB0 and also the ring accent;
  - futural.jhf, the same simplex design with modern ASCII signs: the caret (rowmans has
    an up arrow in that place);
  - symbolic.jhf, Hershey's stroke fragments: the short diagonals (acute and grave accents),
    the wedge (circumflex) and the half circle used in the cedilla.
The Latin-1 letters with accents are the simplex letter (i without its dot) and an accent
over the centre of the letter: the diaeresis two dots of the simplex i, the tilde the lower
stroke of the simplex tilde, the ring the degree sign, the others the symbolic fragments,
each scaled to accent size. Two marks have no Hershey source and are drawn here: the cedilla
(a short stem, the symbolic half circle and a short tail) and the stroke of O and o (a
straight line across the letter). Ð, Þ, ß, Æ and their small letters are other letters, not
accented ones, and are not in the font.

Licence of the source data (Debian's copyright file for hershey-fonts-data): the Hershey
fonts may be used by anyone for any purpose, commercial or otherwise, provided that the
acknowledgements below are distributed with the font data (they are written into the font
file) and that the data is not converted into the format distributed by the U.S. NTIS:
  - The Hershey Fonts were originally created by Dr. A. V. Hershey while working at the
    U. S. National Bureau of Standards.
  - The format of the Font data in this distribution was originally created by James Hurt,
    Cognition, Inc., 900 Technology Park Drive, Billerica, MA 01821.

Conversion. Hershey coordinates run downwards with the base line at y = 9 and capitals
21 units high; Korvel's font units run upwards from the base line with capitals 12 high, so
x' = (x - left) * 12/21 and y' = (9 - y) * 12/21, the character cell is the Hershey
left-to-right width and descenders reach exactly -4. Each glyph holds at most 16 points
(jumps, line ends and arc ends), so the Hershey polylines are refitted: strokes that meet
end to end are joined, and each joined stroke is cut at Hershey vertices into the fewest
lines and arcs (of at most 180 degrees, written with a positive radius) that stay within
0.3 font units of the Hershey strokes in both directions, also when engraving cuts the
arcs into 6 degree chords. Hershey edges 7 units or longer are straight strokes and stay
lines of their own; the dots (diamonds two units across) become circles; arcs keep inside
the character cell. The largest deviation is measured and printed per glyph; a glyph that
could not meet the limits would come from the HAND_DRAWN table below (none needs it).
tools/check_font.py verifies the written file independently and draws a sheet of it.

The file is a Korvel script in Latin-1 (one byte per character, as texts are read):
CHARACTER <char> <advance>, then JUMPTO x y, LINETO x y, CWTO/CCWTO x y r, then END. The
space cannot be named in a CHARACTER line and keeps the program's built-in glyph.

Usage: make_font.py [--hershey DIR] [--output FILE]
"""
import argparse
import math
import pathlib
import sys

HERSHEY_DIR = "/usr/share/hershey-fonts"
SCALE = 12.0 / 21.0  # Hershey capital height (21) to Korvel's font height (12)
BASELINE = 9  # Hershey y of the base line
TOLERANCE = 0.3  # largest allowed deviation from the Hershey strokes, font units
FIT_TOLERANCE = 0.29  # what the fitter allows, leaving room for rounding in the file
LONG_EDGE = 7 * SCALE  # Hershey edges this long are straight strokes, never parts of curves
MAX_POINTS = 16
CELL_BOTTOM, CELL_TOP = -4.0, 16.0
ARC_MARGIN = 0.001  # arcs keep this far inside the cell so that their polygons do too
DECIMALS = 4

# Glyphs drawn by hand, used instead of a fitted Hershey glyph: code -> (advance, points),
# each point ("J"|"L", x, y) or ("CW"|"CCW", x, y, r), in font units. Empty while every
# glyph fits.
HAND_DRAWN = {}


# ---- Hershey data -------------------------------------------------------------------------

def read_jhf(path):
    """The glyphs of a .jhf file in file order: (number, left, right, strokes), strokes as
    lists of (x, y) in Hershey units (y downwards)."""
    glyphs = []
    for line in open(path, encoding="latin-1"):
        line = line.rstrip("\r\n")
        if not line.strip():
            continue
        number, body = int(line[0:5]), line[8:]
        left, right = ord(body[0]) - ord("R"), ord(body[1]) - ord("R")
        strokes, current = [], []
        pairs = body[2:]
        for i in range(0, len(pairs) - 1, 2):
            if pairs[i:i + 2] == " R":
                if current:
                    strokes.append(current)
                current = []
            else:
                current.append((ord(pairs[i]) - ord("R"), ord(pairs[i + 1]) - ord("R")))
        if current:
            strokes.append(current)
        glyphs.append((number, left, right, strokes))
    return glyphs


def ascii_table(path):
    """The 96 glyphs of an ASCII-ordered .jhf file by character code (32..127)."""
    return {32 + i: g for i, g in enumerate(read_jhf(path))}


def moved(strokes, dx=0.0, dy=0.0, k=1.0):
    return [[(x * k + dx, y * k + dy) for x, y in s] for s in strokes]


def bounds(strokes, below=None):
    pts = [p for s in strokes for p in s if below is None or p[1] <= below]
    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    return min(xs), min(ys), max(xs), max(ys)


class Source:
    """The Hershey strokes a glyph is made from: the reference its fit is measured against."""

    def __init__(self, name, left, right, strokes):
        self.name, self.left, self.right, self.strokes = name, left, right, strokes


def accent_marks(rowmans, symbolic):
    """Accent strokes in Hershey units, centred on x = 0 with their lowest point at y = 0."""
    def settle(strokes, k=1.0):
        strokes = moved(strokes, k=k)
        x0, y0, x1, y1 = bounds(strokes)
        return moved(strokes, -(x0 + x1) / 2, -y1)

    i_dot = [rowmans[ord("i")][3][0]]
    tilde = [rowmans[ord("~")][3][1][:-1]]
    marks = {
        "acute": settle(symbolic[ord(",")][3], 0.4),
        "grave": settle(symbolic[ord(".")][3], 0.4),
        "circumflex": settle(symbolic[ord("E")][3], 0.3),
        "tilde": settle(tilde, 0.4),
        "ring": settle([rowmans[127][3][0]], 0.6),
        "diaeresis": settle(moved(i_dot, -3.5) + moved(i_dot, 3.5)),
    }
    return marks


def cedilla(x, half_circle):
    """A short stem under the base line turning into a half circle that ends to the left:
    drawn here, the half circle from Hershey's symbolic set."""
    arc = moved(half_circle, k=0.35)  # (0,-5)..(5,0)..(0,5) becomes radius 1.75
    arc = moved(arc, x, BASELINE + 1.5 + 1.75)
    return [[(x, BASELINE), (x, BASELINE + 1.5)] + arc[0][1:] + [(x - 1.5, BASELINE + 4.75)]]


LATIN1 = {
    0xC0: ("A", "grave"), 0xC1: ("A", "acute"), 0xC2: ("A", "circumflex"),
    0xC3: ("A", "tilde"), 0xC4: ("A", "diaeresis"), 0xC5: ("A", "ring"),
    0xC7: ("C", "cedilla"),
    0xC8: ("E", "grave"), 0xC9: ("E", "acute"), 0xCA: ("E", "circumflex"),
    0xCB: ("E", "diaeresis"),
    0xCC: ("I", "grave"), 0xCD: ("I", "acute"), 0xCE: ("I", "circumflex"),
    0xCF: ("I", "diaeresis"),
    0xD1: ("N", "tilde"),
    0xD2: ("O", "grave"), 0xD3: ("O", "acute"), 0xD4: ("O", "circumflex"),
    0xD5: ("O", "tilde"), 0xD6: ("O", "diaeresis"), 0xD8: ("O", "stroke"),
    0xD9: ("U", "grave"), 0xDA: ("U", "acute"), 0xDB: ("U", "circumflex"),
    0xDC: ("U", "diaeresis"),
    0xDD: ("Y", "acute"),
    0xE0: ("a", "grave"), 0xE1: ("a", "acute"), 0xE2: ("a", "circumflex"),
    0xE3: ("a", "tilde"), 0xE4: ("a", "diaeresis"), 0xE5: ("a", "ring"),
    0xE7: ("c", "cedilla"),
    0xE8: ("e", "grave"), 0xE9: ("e", "acute"), 0xEA: ("e", "circumflex"),
    0xEB: ("e", "diaeresis"),
    0xEC: ("i", "grave"), 0xED: ("i", "acute"), 0xEE: ("i", "circumflex"),
    0xEF: ("i", "diaeresis"),
    0xF1: ("n", "tilde"),
    0xF2: ("o", "grave"), 0xF3: ("o", "acute"), 0xF4: ("o", "circumflex"),
    0xF5: ("o", "tilde"), 0xF6: ("o", "diaeresis"), 0xF8: ("o", "stroke"),
    0xF9: ("u", "grave"), 0xFA: ("u", "acute"), 0xFB: ("u", "circumflex"),
    0xFC: ("u", "diaeresis"),
    0xFD: ("y", "acute"), 0xFF: ("y", "diaeresis"),
}
CAPITAL_ACCENT_Y = -13.5  # Hershey y of an accent's foot over a capital (cap top is -12)
SMALL_ACCENT_Y = -7.0  # and over a small letter (x-height is -5)
DEGREE_SIGN = 0xB0


def sources(hershey_dir):
    """Every glyph to be written: code -> Source."""
    d = pathlib.Path(hershey_dir)
    rowmans = ascii_table(d / "rowmans.jhf")
    futural = ascii_table(d / "futural.jhf")
    symbolic = ascii_table(d / "symbolic.jhf")
    out = {}
    for code in range(33, 127):
        if code == ord("^"):
            _, left, right, strokes = futural[code]  # futural.jhf carries no glyph numbers
            out[code] = Source("^ (futural)", left, right, strokes)
        else:
            number, left, right, strokes = rowmans[code]
            out[code] = Source("%s (rowmans %d)" % (chr(code), number), left, right, strokes)
    number, left, right, strokes = rowmans[127]
    out[DEGREE_SIGN] = Source("degree (rowmans %d)" % number, left, right, strokes)

    marks = accent_marks(rowmans, symbolic)
    for code, (base, accent) in LATIN1.items():
        number, left, right, strokes = rowmans[ord(base)]
        if base == "i":
            strokes = [s for s in strokes if s[0][1] > -8]  # the dotless stem
        x0, y0, x1, y1 = bounds(strokes, below=BASELINE)
        centre = (x0 + x1) / 2
        if accent == "cedilla":
            extra = cedilla(centre, symbolic[ord("B")][3])
        elif accent == "stroke":
            extra = [[(x0 - 1, y1 + 1), (x1 + 1, y0 - 1)]]
        else:
            foot = CAPITAL_ACCENT_Y if base.isupper() else SMALL_ACCENT_Y
            extra = moved(marks[accent], centre, foot)
        # an accent wider than its letter (the diaeresis over i) widens the cell to hold it
        ax0, _, ax1, _ = bounds(extra)
        widen = max(0.0, left + 0.5 - ax0, ax1 - (right - 0.5))
        out[code] = Source("%s (%s + %s)" % (bytes([code]).decode("latin-1"), base, accent),
                           left - widen, right + widen, strokes + extra)
    return out


def to_font_units(source):
    """The source's strokes in font units (origin at the cell's lower left) and its advance."""
    def f(p):
        return ((p[0] - source.left) * SCALE, (BASELINE - p[1]) * SCALE)
    return [[f(p) for p in s] for s in source.strokes], (source.right - source.left) * SCALE


# ---- Geometry -------------------------------------------------------------------------------

def seg_dist(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    ll = dx * dx + dy * dy
    t = 0.0 if ll == 0 else max(0.0, min(1.0, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / ll))
    return math.hypot(p[0] - a[0] - t * dx, p[1] - a[1] - t * dy)


def polyline_dist(p, pts):
    return min(seg_dist(p, pts[i], pts[i + 1]) for i in range(len(pts) - 1))


class Arc:
    """The arc from a to b that bulges by the signed sagitta s: s > 0 bulges to the right of
    a->b, which is a counter-clockwise arc (centre on the left); |s| = half chord is a half
    circle."""

    def __init__(self, a, b, s):
        self.a, self.b, self.s = a, b, s
        dx, dy = b[0] - a[0], b[1] - a[1]
        chord = math.hypot(dx, dy)
        h = chord / 2
        self.ccw = s > 0
        s = abs(s)
        self.r = (h * h + s * s) / (2 * s)
        nx, ny = -dy / chord, dx / chord  # left normal
        side = 1 if self.ccw else -1
        off = (self.r - s) * side
        self.c = ((a[0] + b[0]) / 2 + nx * off, (a[1] + b[1]) / 2 + ny * off)
        self.t0 = math.atan2(a[1] - self.c[1], a[0] - self.c[0])
        t1 = math.atan2(b[1] - self.c[1], b[0] - self.c[0])
        sweep = (t1 - self.t0) % (2 * math.pi) if self.ccw else (self.t0 - t1) % (2 * math.pi)
        self.sweep = sweep  # positive, at most pi (up to rounding)

    def reversed(self):
        return Arc(self.b, self.a, -self.s)

    def point(self, u):
        t = self.t0 + (u * self.sweep if self.ccw else -u * self.sweep)
        return (self.c[0] + self.r * math.cos(t), self.c[1] + self.r * math.sin(t))

    def dist(self, p):
        t = math.atan2(p[1] - self.c[1], p[0] - self.c[0])
        rel = (t - self.t0) % (2 * math.pi) if self.ccw else (self.t0 - t) % (2 * math.pi)
        if rel <= self.sweep:
            return abs(math.hypot(p[0] - self.c[0], p[1] - self.c[1]) - self.r)
        return min(math.hypot(p[0] - self.a[0], p[1] - self.a[1]),
                   math.hypot(p[0] - self.b[0], p[1] - self.b[1]))

    def extremes(self):
        """The arc's end points and the points where it is furthest left, right, down, up."""
        pts = [self.a, self.b]
        for k in range(4):
            t = k * math.pi / 2
            rel = (t - self.t0) % (2 * math.pi) if self.ccw else (self.t0 - t) % (2 * math.pi)
            if rel <= self.sweep:
                pts.append((self.c[0] + self.r * math.cos(t), self.c[1] + self.r * math.sin(t)))
        return pts

    def samples(self, step):
        n = max(2, int(self.r * self.sweep / step) + 1)
        return [self.point(k / n) for k in range(n + 1)]


def densify(pts, step):
    out = [pts[0]]
    for a, b in zip(pts, pts[1:]):
        n = max(1, int(math.hypot(b[0] - a[0], b[1] - a[1]) / step) + 1)
        out.extend((a[0] + (b[0] - a[0]) * k / n, a[1] + (b[1] - a[1]) * k / n)
                   for k in range(1, n + 1))
    return out


# ---- Fitting ----------------------------------------------------------------------------

def line_dev(sub):
    a, b = sub[0], sub[-1]
    return max(seg_dist(p, a, b) for p in sub)


def best_arc(sub, advance):
    """The arc from sub[0] to sub[-1] closest to the sub-polyline: (deviation, Arc) or None.
    Only arcs inside the cell count. The search measures only the radial distance of the
    vertices and of points inside each edge (an edge that is a chord strays furthest in its
    middle); the caller measures the chosen arc properly."""
    a, b = sub[0], sub[-1]
    dx, dy = b[0] - a[0], b[1] - a[1]
    chord = math.hypot(dx, dy)
    h = chord / 2
    if h < 1e-9:
        return None
    probe = list(sub)
    for p, q in zip(sub, sub[1:]):
        probe.extend((p[0] + (q[0] - p[0]) * k / 4, p[1] + (q[1] - p[1]) * k / 4)
                     for k in (1, 2, 3))
    mx, my, nx, ny = (a[0] + b[0]) / 2, (a[1] + b[1]) / 2, -dy / chord, dx / chord

    def cost(s):
        r = (h * h + s * s) / (2 * abs(s))
        off = r - abs(s) if s > 0 else abs(s) - r
        cx, cy = mx + nx * off, my + ny * off
        if cx - r < ARC_MARGIN or cx + r > advance - ARC_MARGIN or \
                cy - r < CELL_BOTTOM + ARC_MARGIN or cy + r > CELL_TOP - ARC_MARGIN:
            if not in_cell(Arc(a, b, s), advance):
                return math.inf  # only arcs that keep inside the cell are wanted
        return max(abs(math.hypot(x - cx, y - cy) - r) for x, y in probe)

    best = None
    for sign in (1, -1):
        # a coarse scan of the sagitta, then golden-section refinement around its best
        values = [(cost(sign * h * k / 16), sign * h * k / 16) for k in range(1, 17)]
        _, s0 = min(values)
        lo, hi = max(h / 64, abs(s0) - h / 16), min(h, abs(s0) + h / 16)
        g = (math.sqrt(5) - 1) / 2
        x1, x2 = hi - g * (hi - lo), lo + g * (hi - lo)
        f1, f2 = cost(sign * x1), cost(sign * x2)
        for _ in range(20):
            if f1 < f2:
                hi, x2, f2 = x2, x1, f1
                x1 = hi - g * (hi - lo)
                f1 = cost(sign * x1)
            else:
                lo, x1, f1 = x1, x2, f2
                x2 = lo + g * (hi - lo)
                f2 = cost(sign * x2)
        for value, s in values + [(f1, sign * x1), (f2, sign * x2)]:
            if best is None or value < best[0]:
                best = (value, s)
    dev, s = best
    return None if dev == math.inf else (dev, Arc(a, b, s))


def in_cell(arc, advance):
    """True when the arc, its ends included, keeps ARC_MARGIN inside the cell: its polygon is
    made by turning the start point step by step, so a point on the border could come out
    a rounding error beyond it."""
    return all(ARC_MARGIN <= x <= advance - ARC_MARGIN and
               CELL_BOTTOM + ARC_MARGIN <= y <= CELL_TOP - ARC_MARGIN
               for x, y in arc.extremes())


def two_way_dev(piece, sub, step=0.02):
    """Largest distance between a fitted piece (an Arc, or None for the chord) and the
    sub-polyline it stands for, measured both ways on points `step` apart."""
    if piece is None:
        d1 = max(seg_dist(p, sub[0], sub[-1]) for p in densify(sub, step))
        d2 = max(polyline_dist(p, sub) for p in densify([sub[0], sub[-1]], step))
    else:
        d1 = max(piece.dist(p) for p in densify(sub, step))
        d2 = max(polyline_dist(p, sub) for p in piece.samples(step))
    return max(d1, d2)


def piece_fit(sub, advance):
    """The single line, else the single arc, that stands for the sub-polyline within
    FIT_TOLERANCE: (deviation, Arc or None for a line), or None."""
    if line_dev(sub) <= FIT_TOLERANCE:
        dev = two_way_dev(None, sub, 0.05)
        if dev <= FIT_TOLERANCE:
            return dev, None
    if len(sub) < 3:
        return None
    fitted = best_arc(sub, advance)
    if fitted is None or fitted[0] > FIT_TOLERANCE:
        return None
    # engraving cuts an arc in 6 degree chords, which fall short of it by up to the sagitta
    # r (1 - cos 3 degrees): the chords must keep within the tolerance as well
    dev = two_way_dev(fitted[1], sub, 0.05) + fitted[1].r * (1 - math.cos(math.radians(3)))
    return (dev, fitted[1]) if dev <= FIT_TOLERANCE else None


def has_long_edge(sub):
    return any(math.dist(p, q) >= LONG_EDGE for p, q in zip(sub, sub[1:]))


def piece_table(pts, closed, advance):
    """Every piece that fits: {(i, length): (deviation, Arc or None)}, the piece running
    from vertex i over `length` edges (round the ring when closed). A piece is extended
    until it has failed three times in a row: a longer one would not fit either."""
    n = len(pts) - 1 if closed else len(pts)
    table = {}
    for i in range(n if closed else n - 1):
        misses, length = 0, 1
        while misses < 3 and length <= (n - 1 if closed else n - 1 - i):
            sub = [pts[(i + k) % n] for k in range(length + 1)] if closed else \
                pts[i:i + length + 1]
            if length > 1 and has_long_edge(sub):
                break  # a long straight stroke is a line of its own, never part of a curve
            fit = piece_fit(sub, advance)
            if fit is None:
                misses += 1
            else:
                misses = 0
                table[(i, length)] = fit
            length += 1
    return table


def fit_run(n, table, start=0, ring=0):
    """Fewest pieces over n edges from vertex `start` (indices modulo `ring` when > 0):
    (piece count, deviation, [(end position, Arc or None)]) or None. Among equally short
    fits the one with the smaller deviation wins."""
    best = [None] * (n + 1)
    best[0] = (0, 0.0, -1, None)
    for j in range(1, n + 1):
        for i in range(j):
            key = ((start + i) % ring if ring else i, j - i)
            if best[i] is None or key not in table:
                continue
            dev, piece = table[key]
            cand = (best[i][0] + 1, max(best[i][1], dev), i, piece)
            if best[j] is None or cand[:2] < best[j][:2]:
                best[j] = cand
    if best[n] is None:
        return None
    pieces, j = [], n
    while j > 0:
        _, _, i, piece = best[j]
        pieces.append((j, piece))
        j = i
    pieces.reverse()
    return len(pieces), best[n][1], pieces


def fit_open(pts, advance):
    """An open polyline as (pts, pieces), pieces [(end index, Arc or None)], or None."""
    fit = fit_run(len(pts) - 1, piece_table(pts, False, advance))
    return None if fit is None else (pts, fit[2])


def fit_closed(pts, advance):
    """A closed polyline (first point = last), fitted from its best starting vertex and
    returned as fit_open does, starting there."""
    table, n, best = piece_table(pts, True, advance), len(pts) - 1, None
    for k in range(n):
        fit = fit_run(n, table, k, n)
        if fit and (best is None or fit[:2] < best[0][:2]):
            best = (fit, k)
    if best is None:
        return None
    (_, _, pieces), k = best
    ring = pts[:-1]
    return ring[k:] + ring[:k] + [ring[k]], pieces


DOT_SIZE = 2.0 * SCALE  # Hershey draws its dots as diamonds two units across


def is_dot(pts):
    x0, y0, x1, y1 = bounds([pts])
    return same(pts[0], pts[-1]) and max(x1 - x0, y1 - y0) <= DOT_SIZE + 1e-9


def fit_dot(pts, advance):
    """A dot drawn as a circle: two half circles between its two points furthest apart,
    returned as fit_open does."""
    ring = pts[:-1]
    n = len(ring)
    _, i, j = max((math.dist(ring[i], ring[j]), i, j) for i in range(n) for j in range(i + 1, n))
    pts = ring[i:] + ring[:i] + [ring[i]]
    half = j - i
    h = math.dist(pts[0], pts[half]) / 2
    return pts, [(half, Arc(pts[0], pts[half], h)), (n, Arc(pts[half], pts[0], h))]


def same(p, q):
    return abs(p[0] - q[0]) < 1e-9 and abs(p[1] - q[1]) < 1e-9


def join_strokes(strokes):
    """Joins strokes that meet end to end (reversing where needed) so that fewer jumps are
    needed; a closed stroke is never joined."""
    chains = [list(s) for s in strokes if len(s) >= 2]
    changed = True
    while changed:
        changed = False
        for i in range(len(chains)):
            for j in range(len(chains)):
                if i == j or same(chains[i][0], chains[i][-1]) or \
                        same(chains[j][0], chains[j][-1]):
                    continue
                a, b = chains[i], chains[j]
                if same(a[-1], b[0]):
                    joined = a + b[1:]
                elif same(a[-1], b[-1]):
                    joined = a + b[::-1][1:]
                elif same(a[0], b[0]):
                    joined = a[::-1] + b[1:]
                else:
                    continue
                chains = [c for k, c in enumerate(chains) if k not in (i, j)] + [joined]
                changed = True
                break
            if changed:
                break
    return chains


def order_chains(fitted):
    """Orders the fitted chains for short pen-up moves, starting nearest the origin, each
    open chain drawn from its nearer end."""
    left, out, at = list(fitted), [], (0.0, 0.0)
    while left:
        best = None
        for k, (pts, pieces) in enumerate(left):
            for rev in (False, True):
                if rev and same(pts[0], pts[-1]):
                    continue
                start = pts[-1] if rev else pts[0]
                d = math.hypot(start[0] - at[0], start[1] - at[1])
                if best is None or d < best[0]:
                    best = (d, k, rev)
        _, k, rev = best
        pts, pieces = left.pop(k)
        if rev:
            pts, pieces = reverse_chain(pts, pieces)
        out.append((pts, pieces))
        at = pts[-1]
    return out


def reverse_chain(pts, pieces):
    n = len(pts) - 1
    ends = [0] + [j for j, _ in pieces]
    rev = []
    for k in range(len(pieces) - 1, -1, -1):
        piece = pieces[k][1]
        if piece is not None:
            piece = piece.reversed()
        rev.append((n - ends[k], piece))
    return pts[::-1], rev


def fit_glyph(source):
    """(advance, points, deviation) of one glyph, points as in HAND_DRAWN, or None when it
    cannot be drawn in MAX_POINTS points."""
    strokes, advance = to_font_units(source)
    # Hershey points on the border of the cell move in by a hair, so that an arc may end
    # there and still keep ARC_MARGIN inside; the deviation is measured from where they were
    inset, hershey = 2 * ARC_MARGIN, {}

    def inside(p):
        q = (min(max(p[0], inset), advance - inset),
             min(max(p[1], CELL_BOTTOM + inset), CELL_TOP - inset))
        hershey[q] = p
        return q
    strokes = [[inside(p) for p in s] for s in strokes]
    fitted = []
    for pts in join_strokes(strokes):
        fit = fit_dot if is_dot(pts) else fit_closed if same(pts[0], pts[-1]) else fit_open
        fitted.append(fit(pts, advance))
    if None in fitted or len(fitted) + sum(len(p) for _, p in fitted) > MAX_POINTS:
        return None
    points, deviation = [], 0.0
    for pts, pieces in order_chains(fitted):
        points.append(("J",) + pts[0])
        start = 0
        for end, piece in pieces:
            deviation = max(deviation, two_way_dev(piece, [hershey[p] for p in
                                                           pts[start:end + 1]]))
            if piece is None:
                points.append(("L",) + pts[end])
            else:
                points.append(("CCW" if piece.ccw else "CW",) + pts[end] + (piece.r,))
            start = end
    return advance, points, deviation


# ---- Writing ---------------------------------------------------------------------------

def number(v):
    text = "%.*f" % (DECIMALS, v)
    text = text.rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def round_up(v):
    q = 10 ** DECIMALS
    return math.ceil(v * q - 1e-9) / q


def arc_radius(x0, y0, x1, y1, r):
    """The radius written for an arc whose end points are rounded: never below the rounded
    half chord, so that the arc stays at most a half circle and its centre is found."""
    h = math.hypot(x1 - x0, y1 - y0) / 2
    return round_up(max(r, h))


def glyph_lines(code, advance, points):
    char = bytes([code]).decode("latin-1")
    if char == '"':
        char = '""'  # a lone quote would open a quoted word running to the line's end
    lines = ["CHARACTER %s %s" % (char, number(round_up(advance)))]
    prev = None
    for p in points:
        x, y = round(p[1], DECIMALS), round(p[2], DECIMALS)
        if p[0] == "J":
            lines.append("JUMPTO %s %s" % (number(x), number(y)))
        elif p[0] == "L":
            lines.append("LINETO %s %s" % (number(x), number(y)))
        else:
            r = arc_radius(prev[0], prev[1], x, y, p[3])
            lines.append("%s %s %s %s" % ("CCWTO" if p[0] == "CCW" else "CWTO", number(x),
                                          number(y), number(r)))
        prev = (x, y)
    lines.append("END")
    return lines


HEADER = """\
# Korvel engraving font: the Hershey simplex roman face in single strokes.
# Font units: capitals 12 high on the base line y = 0, descenders to -4; x from the left of
# the character cell. CHARACTER <char> <advance>, then JUMPTO x y, LINETO x y,
# CWTO/CCWTO x y radius (arcs of at most a half circle), END. Characters are Latin-1 bytes.
# Made by tools/make_font.py from Debian's hershey-fonts-data; do not edit by hand.
#
# The Hershey Fonts were originally created by Dr. A. V. Hershey while working at the
# U. S. National Bureau of Standards.
# The format of the Font data in this distribution was originally created by
#   James Hurt
#   Cognition, Inc.
#   900 Technology Park Drive
#   Billerica, MA 01821
#   (mit-eddie!ci-dandelion!hurt)
"""


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--hershey", default=HERSHEY_DIR, help="folder of the .jhf files")
    parser.add_argument("--output", default=str(pathlib.Path(__file__).resolve().parent.parent
                                                / "data" / "simplex.fnt"))
    args = parser.parse_args()
    if not (pathlib.Path(args.hershey) / "rowmans.jhf").exists():
        sys.exit("make_font: %s/rowmans.jhf not found; apt-get install hershey-fonts-data"
                 % args.hershey)

    lines, worst, failed = [HEADER.rstrip("\n")], 0.0, []
    for code, source in sorted(sources(args.hershey).items()):
        if code in HAND_DRAWN:
            advance, points = HAND_DRAWN[code]
            print("%-36s %2d points  drawn by hand" % (source.name, len(points)))
        else:
            fit = fit_glyph(source)
            if fit is None:
                failed.append(source.name)
                print("%-36s does not fit in %d points" % (source.name, MAX_POINTS))
                continue
            advance, points, dev = fit
            worst = max(worst, dev)
            print("%-36s %2d points  deviation %.3f" % (source.name, len(points), dev))
        lines.append("#")
        lines.extend(glyph_lines(code, advance, points))
    lines.append("# End of font.")
    if failed:
        sys.exit("make_font: no fit for %s; add them to HAND_DRAWN" % ", ".join(failed))
    pathlib.Path(args.output).write_bytes(("\n".join(lines) + "\n").encode("latin-1"))
    count = sum(line.startswith("CHARACTER ") for line in lines)
    print("%s: %d glyphs, largest deviation %.3f font units (limit %.1f)" % (
        args.output, count, worst, TOLERANCE))


if __name__ == "__main__":
    main()
