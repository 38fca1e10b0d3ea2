#!/usr/bin/env python3
"""Checks a Korvel font file (by default data/simplex.fnt) independently of the tool that
wrote it: it reads the file back as the program does (words split as script lines are,
character bytes mapped to glyph codes as text bytes are), turns every glyph into the
polyline that engraving makes of it, and checks:
  - each glyph has at most 16 points, starts with a jump and has a positive advance;
  - every arc has a centre and is at most a half circle;
  - the polyline (6 degree arc segments) has at most 1024 points and lies inside the
    character cell, x from 0 to the advance and y from -4 to 16 font units;
  - the glyph stays within 0.3 font units of its Hershey strokes, both ways: every point of
    the drawn glyph near a Hershey stroke and every point of the Hershey strokes near the
    drawn glyph (arcs measured as true arcs, and again as the 6 degree polyline);
  - every printable ASCII character but the space is defined.
The Hershey strokes come from make_font.py's glyph sources (that is what "the glyph"
means); the file reading, the arc geometry and the measuring are this script's own.

Usage: check_font.py [FONT] [--hershey DIR] [--sheet FILE.svg]
"""
import argparse
import math
import pathlib
import sys

sys.dont_write_bytecode = True  # no __pycache__ beside the tools
import make_font  # noqa: E402

DELIMITERS = b"()[]=,<>\xb3|&#^%;"
SEGMENT_ANGLE = 6.0  # the default arc segment angle of engraving, degrees
MAX_POLYLINE = 1024
MAX_POINTS = 16
TOLERANCE = 0.3
EQUAL = 0.001
R_EQUAL = 0.025
KINDS = {b"JUMPTO": 0, b"LINETO": 1, b"CCWTO": 2, b"CWTO": 4}


def split_words(line):
    """A script line split into words: blanks and tabs separate, each delimiter character
    is a word of its own, a word opening with a double quote runs to the next one."""
    words, i = [], 0
    while i < len(line):
        c = line[i:i + 1]
        if c in (b" ", b"\t"):
            i += 1
        elif c in [bytes([d]) for d in DELIMITERS]:
            words.append(c)
            i += 1
        elif c == b'"':
            j = line.find(b'"', i + 1)
            j = len(line) if j < 0 else j + 1
            words.append(line[i:j])
            i = j
        else:
            j = i
            while j < len(line) and line[j:j + 1] not in (b" ", b"\t") and \
                    line[j] not in DELIMITERS:
                j += 1
            words.append(line[i:j])
            i = j
    return words


def glyph_code(byte):
    """A character byte read as a signed value; a negative value c stands for 128 - c."""
    signed = byte - 256 if byte >= 128 else byte
    return 128 - signed if signed < 0 else signed


def read_font(path):
    """{code: (byte, advance, [(kind, x, y, r)])}; raises ValueError on a malformed line."""
    glyphs, current = {}, None
    for number, raw in enumerate(pathlib.Path(path).read_bytes().split(b"\n"), 1):
        raw = raw.rstrip(b"\r")
        if len(raw) > 254:
            raise ValueError("line %d is longer than 254 characters" % number)
        words = split_words(raw)
        if not words or words[0][:1] in (b"#", b";"):
            continue
        key = words[0].upper()
        if key == b"CHARACTER":
            if current is not None or len(words) != 3:
                raise ValueError("line %d: misplaced or malformed CHARACTER" % number)
            code = glyph_code(words[1][0])
            if code in glyphs:
                raise ValueError("line %d: code %d defined twice" % (number, code))
            current = (code, words[1][0], float(words[2]), [])
        elif key in KINDS:
            if current is None:
                raise ValueError("line %d: point outside a character" % number)
            want = 3 if KINDS[key] < 2 else 4
            if len(words) != want:
                raise ValueError("line %d: %d words, expected %d" % (number, len(words), want))
            r = float(words[3]) if want == 4 else 0.0
            current[3].append((KINDS[key], float(words[1]), float(words[2]), r))
        elif key == b"END":
            if current is None:
                raise ValueError("line %d: END outside a character" % number)
            glyphs[current[0]] = current[1:]
            current = None
        else:
            raise ValueError("line %d: unexpected %r" % (number, words[0]))
    if current is not None:
        raise ValueError("the last character is not closed")
    return glyphs


def arc_center(x1, y1, x2, y2, r, kind):
    """Centre of the arc from (x1, y1) to (x2, y2), or None: a clockwise arc with a positive
    radius has its centre to the right of the chord; a half chord up to 0.025 longer than
    the radius makes a half circle."""
    h = math.hypot(x2 - x1, y2 - y1) / 2
    if abs(r) <= EQUAL or kind not in (2, 4) or h == 0:
        return None
    big = abs(r)
    if h > big and h - big <= R_EQUAL:
        big = h
    if h > big:
        return None
    alpha = math.acos(min(1.0, h / big))
    phi = math.atan2(y2 - y1, x2 - x1)
    d = phi - alpha if (kind == 4) == (r > 0) else phi + alpha
    return x1 + big * math.cos(d), y1 + big * math.sin(d)


def turn(cx, cy, degrees, x, y):
    a = math.radians(degrees)
    dx, dy = x - cx, y - cy
    return cx + dx * math.cos(a) - dy * math.sin(a), cy + dx * math.sin(a) + dy * math.cos(a)


def polyline(points, segment_angle, cap=MAX_POLYLINE):
    """The glyph as engraving draws it: [(x, y, pen)], at most `cap` points, or None when an
    arc has no centre."""
    out = []
    for k, (kind, x, y, r) in enumerate(points):
        if len(out) >= cap:
            break
        if kind in (0, 1):
            out.append((x, y, kind))
        elif kind in (2, 4) and k >= 1:
            x0, y0 = points[k - 1][1], points[k - 1][2]
            centre = arc_center(x0, y0, x, y, r, kind)
            if centre is None:
                return None
            h = math.hypot(x - x0, y - y0) / 2
            swept = 2 * math.degrees(math.asin(h / r)) if h < r else 180.0
            n = int(swept / segment_angle) + 1
            step = swept / n * (1 if kind == 2 else -1)
            px, py = x0, y0
            for _ in range(n):
                px, py = turn(centre[0], centre[1], step, px, py)
                out.append((px, py, 1))
    return out[:cap]


def ink_segments(line):
    return [(line[k - 1][:2], line[k][:2]) for k in range(1, len(line)) if line[k][2] == 1]


def seg_dist(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    ll = dx * dx + dy * dy
    t = 0.0 if ll == 0 else max(0.0, min(1.0, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / ll))
    return math.hypot(p[0] - a[0] - t * dx, p[1] - a[1] - t * dy)


class Near:
    """Distance from a point to a set of segments, exact up to REACH and REACH beyond it:
    the segments are filed in a grid so that only nearby ones are measured."""
    REACH, CELL = 1.0, 0.5

    def __init__(self, segments):
        self.grid = {}
        for a, b in segments:
            x0, x1 = sorted((a[0], b[0]))
            y0, y1 = sorted((a[1], b[1]))
            for i in range(self.cell(x0 - self.REACH), self.cell(x1 + self.REACH) + 1):
                for j in range(self.cell(y0 - self.REACH), self.cell(y1 + self.REACH) + 1):
                    self.grid.setdefault((i, j), []).append((a, b))

    def cell(self, v):
        return math.floor(v / self.CELL)

    def dist(self, p):
        segs = self.grid.get((self.cell(p[0]), self.cell(p[1])), [])
        return min([seg_dist(p, a, b) for a, b in segs] + [self.REACH])


def samples(segments, step=0.01):
    for a, b in segments:
        n = max(1, int(math.hypot(b[0] - a[0], b[1] - a[1]) / step) + 1)
        for k in range(n + 1):
            yield a[0] + (b[0] - a[0]) * k / n, a[1] + (b[1] - a[1]) * k / n


def deviation(drawn, reference):
    near_ref, near_drawn = Near(reference), Near(drawn)
    return max(max(near_ref.dist(p) for p in samples(drawn)),
               max(near_drawn.dist(p) for p in samples(reference)))


def check_glyph(code, advance, points, reference):
    """(problems, deviation of the true arcs, deviation of the 6 degree polyline, polyline
    point count)."""
    problems = []
    if advance <= 0:
        problems.append("advance %g" % advance)
    if not 1 <= len(points) <= MAX_POINTS:
        problems.append("%d points" % len(points))
    if points and points[0][0] != 0:
        problems.append("does not start with a jump")
    for k, (kind, x, y, r) in enumerate(points):
        if kind in (2, 4):
            x0, y0 = points[k - 1][1], points[k - 1][2]
            h = math.hypot(x - x0, y - y0) / 2
            if r <= 0 or h - r > R_EQUAL:
                problems.append("point %d: arc radius %g for half chord %g" % (k, r, h))
    engraved = polyline(points, SEGMENT_ANGLE)
    fine = polyline(points, 1.0, cap=10 ** 6)  # the true arcs, to 1e-4 of their radius
    if engraved is None or fine is None:
        return problems + ["an arc has no centre"], 9, 9, 0
    if len(engraved) > MAX_POLYLINE - 1:
        problems.append("polyline of %d points" % len(engraved))
    for x, y, _ in engraved + fine:
        if not (0 <= x <= advance and -4 <= y <= 16):
            problems.append("point (%.4f, %.4f) outside the cell" % (x, y))
            break
    dev = deviation(ink_segments(fine), reference)
    dev6 = deviation(ink_segments(engraved), reference)
    if dev > TOLERANCE:
        problems.append("deviation %.3f" % dev)
    return problems, dev, dev6, len(engraved)


def reference_segments(source):
    strokes, _ = make_font.to_font_units(source)
    return [(a, b) for s in strokes for a, b in zip(s, s[1:])]


def sheet(glyphs, path, columns=16, cell=40):
    """An SVG sheet of every glyph as engraved: cell outline grey, jumps dotted blue."""
    codes = sorted(glyphs, key=lambda c: glyphs[c][0])
    rows = (len(codes) + columns - 1) // columns
    scale, pitch = cell / 24.0, cell * 1.25
    out = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d">' % (
        columns * pitch + 10, rows * pitch * 1.1 + 10),
        '<rect width="100%" height="100%" fill="white"/>']
    for n, code in enumerate(codes):
        byte, advance, points = glyphs[code]
        ox = 10 + (n % columns) * pitch
        oy = 10 + (n // columns) * pitch * 1.1 + 17 * scale

        def xy(x, y):
            return "%.2f,%.2f" % (ox + x * scale, oy - y * scale)
        out.append('<polygon points="%s %s %s %s" fill="none" stroke="#ddd"/>' % (
            xy(0, -4), xy(advance, -4), xy(advance, 16), xy(0, 16)))
        out.append('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke="#ddd"/>' % (
            tuple(xy(0, 0).split(",")) + tuple(xy(advance, 0).split(","))))
        out.append('<text x="%.1f" y="%.1f" font-size="8" fill="#888">%d</text>' % (
            ox, oy - 17 * scale + 7, byte))
        line = polyline(points, SEGMENT_ANGLE) or []
        for k in range(1, len(line)):
            a, b = line[k - 1], line[k]
            style = 'stroke="black" stroke-width="1.2"' if b[2] else \
                'stroke="#9bf" stroke-width="0.5" stroke-dasharray="1,1"'
            out.append('<line x1="%s" y1="%s" x2="%s" y2="%s" %s/>' % (
                tuple(xy(*a[:2]).split(",")) + tuple(xy(*b[:2]).split(",")) + (style,)))
    out.append("</svg>")
    pathlib.Path(path).write_text("\n".join(out) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("font", nargs="?", default=str(
        pathlib.Path(__file__).resolve().parent.parent / "data" / "simplex.fnt"))
    parser.add_argument("--hershey", default=make_font.HERSHEY_DIR)
    parser.add_argument("--sheet", help="also draw every glyph into this SVG file")
    args = parser.parse_args()

    try:
        glyphs = read_font(args.font)
    except (OSError, ValueError) as e:
        sys.exit("check_font: %s: %s" % (args.font, e))
    sources = make_font.sources(args.hershey)
    bad, worst, worst6, longest = 0, 0.0, 0.0, 0
    for code, (byte, advance, points) in sorted(glyphs.items(), key=lambda g: g[1][0]):
        if byte not in sources:
            print("%3d: no Hershey source to compare with" % byte)
            bad += 1
            continue
        problems, dev, dev6, count = check_glyph(code, advance, points,
                                                 reference_segments(sources[byte]))
        worst, worst6, longest = max(worst, dev), max(worst6, dev6), max(longest, count)
        print("%-36s %2d points %4d polyline points  deviation %.3f (%.3f as engraved)%s" % (
            sources[byte].name, len(points), count, dev, dev6,
            "  " + "; ".join(problems) if problems else ""))
        bad += bool(problems)
    missing = [chr(c) for c in range(33, 127) if c not in glyphs]
    if missing:
        print("missing: %s" % " ".join(missing))
        bad += 1
    print("%s: %d glyphs, largest deviation %.3f (%.3f as engraved), longest polyline %d "
          "points, %d problems" % (args.font, len(glyphs), worst, worst6, longest, bad))
    if args.sheet:
        sheet(glyphs, args.sheet)
    sys.exit(1 if bad else 0)


if __name__ == "__main__":
    main()
