#!/usr/bin/env python3
"""The pages korvelc writes, end to end: `korvelc html` on each hand-written program of
tests/reports/programs/ and `korvelc report` on each example that this version can make and on
a project with a company block and texts full of markup characters. Every page must pass
html_check.py, and no text from a program or a project may come through as markup.

With --browser OUTDIR each page is also rendered by a headless Chromium into OUTDIR/NAME.png
(exit 77, a skip, when no Chromium is installed); a person compares them with the reviewed
pictures tests/reports/gcode-view.png and tests/reports/report.png.

Usage: check_pages.py KORVELC SOURCE_DIR [--browser OUTDIR]
"""
import glob
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import html_check  # noqa: E402

SKIP = 77

# A project that compiles, with every optional text of the report set, many of them hostile.
HOSTILE_PROJECT = """PROJECTUNIT MM
COMPANY Smith & Sons <Tools>
COMPANY_LOGO "Precision" <i>parts</i>
COMPANY_IMG logo.png
OPERATOR <script>alert(1)</script>
USER J. O'Brien
CLIENT A & B
PROJECT Plate <1>
PART P-1 "A"
DESCRIPTION 4 holes < 10 mm & 2 > 5 mm
NOOFPARTS 12
PROGRAM 42
GCFILE plate.cnc
COORDINATES G59.3 0 0 0
ATTTOOL 1 CENTER_DRILL_3.15 0 0 0
ATTTOOL 2 DRILL_6.8 0 0 0
BLOCK 1 100 80 15 -100 -80 -15 0 0 -1
MATERIAL ALMG3
TOPFACE 0 0
DRILL 2 1 6.8 10 20 20 0 0 0 1 -1
DRILL 3 1 6.8 10 80 60 0 0 0 1 -1
ENDOFFILE
"""

def logo_png(width=120, height=80):
    """A small PNG for the company image: a blue field with a lighter band."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff))
    rows = b""
    for y in range(height):
        colour = b"\x40\x80\xd0" if 30 <= y < 50 else b"\x10\x30\x80"
        rows += b"\x00" + colour * width
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def run(cmd, cwd):
    env = dict(os.environ, SOURCE_DATE_EPOCH="1767225600")
    return subprocess.run(cmd, cwd=cwd, capture_output=True, text=True, env=env)


def make_pages(korvelc, source, work):
    """Writes every page into work; returns (name, path) pairs and a list of problems."""
    pages, problems = [], []
    for program in sorted(glob.glob(os.path.join(source, "tests/reports/programs/*.cnc"))):
        name = os.path.splitext(os.path.basename(program))[0]
        out = os.path.join(work, name + ".html")
        p = run([korvelc, "html", program, "-o", out], work)
        if p.returncode != 0:
            problems.append(f"html {name}: exit {p.returncode}: {p.stderr}")
        else:
            pages.append((name, out))
    projects = sorted(glob.glob(os.path.join(source, "examples/*.kvp")))
    hostile = os.path.join(work, "hostile.kvp")
    with open(hostile, "w") as f:
        f.write(HOSTILE_PROJECT)
    with open(os.path.join(work, "logo.png"), "wb") as f:
        f.write(logo_png())
    for project in projects + [hostile]:
        name = "report-" + os.path.splitext(os.path.basename(project))[0]
        out = os.path.join(work, name + ".html")
        p = run([korvelc, "report", project, "-o", out], work)
        if p.returncode != 0:
            # An example with a kind of machining this version does not make has no program,
            # and so no report; it says so and writes nothing.
            if project != hostile and "is not machined by this version" in p.stderr \
                    and not os.path.exists(out):
                continue
            problems.append(f"report {name}: exit {p.returncode}: {p.stderr}")
        else:
            pages.append((name, out))
    return pages, problems


def check_escaping(name, path):
    """Every < of the page opens a tag and every & a character reference."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    problems = []
    for pattern, what in ((r"<(?![A-Za-z/!])", "a bare <"),
                          (r"&(?!(amp|lt|gt|quot|#39);)", "a bare &"),
                          (r"<script", "a script")):
        m = re.search(pattern, text, re.IGNORECASE)
        if m:
            problems.append(f"{name}: {what} at {text[max(0, m.start() - 30):m.end() + 30]!r}")
    return problems


def render(pages, outdir):
    browser = shutil.which("chromium") or shutil.which("chromium-browser")
    if not browser:
        print("no chromium: the pages are not rendered")
        return None
    os.makedirs(outdir, exist_ok=True)
    problems = []
    for name, path in pages:
        png = os.path.join(outdir, name + ".png")
        if os.path.exists(png):
            os.remove(png)
        with tempfile.TemporaryDirectory() as profile:
            p = subprocess.run(
                [browser, "--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                 "--user-data-dir=" + profile, "--window-size=800,1400",
                 "--screenshot=" + png, "file://" + path],
                capture_output=True, text=True, timeout=120)
        if p.returncode != 0 or not os.path.exists(png) or os.path.getsize(png) < 1000:
            problems.append(f"{name}: not rendered (exit {p.returncode}): {p.stderr[-500:]}")
        else:
            print(f"rendered {png}")
    return problems


def main(argv):
    if len(argv) not in (2, 4) or (len(argv) == 4 and argv[2] != "--browser"):
        print(__doc__.strip().splitlines()[-1])
        return 2
    korvelc, source = argv[0], argv[1]
    with tempfile.TemporaryDirectory() as work:
        pages, problems = make_pages(os.path.abspath(korvelc), os.path.abspath(source), work)
        names = [n for n, _ in pages]
        for must in ("word-kinds", "long-lines", "no-percent", "hostile", "report-hostile",
                     "report-drilled-plate"):
            if must not in names:
                problems.append(f"no page {must}")
        for name, path in pages:
            problems += html_check.check(path)
            problems += check_escaping(name, path)
        if len(argv) == 4:
            rendered = render(pages, argv[3])
            if rendered is None:
                for p in problems:
                    print(p)
                return 1 if problems else SKIP
            problems += rendered
    for p in problems:
        print(p)
    print(f"{len(pages)} pages checked, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
