#!/usr/bin/env python3
"""Tests of html_check.py on small planted pages: it must pass a sound page (with the end tags
HTML lets a page leave out) and fail, naming the problem, on each fault it is there to catch."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import html_check  # noqa: E402

HEAD = '<!DOCTYPE html>\n<HTML>\n<HEAD>\n<meta charset="utf-8">\n<TITLE>T</TITLE>\n</HEAD>\n'


def page(body, head=HEAD):
    return head + "<BODY>\n" + body + "\n</BODY>\n</HTML>\n"


CASES = [
    # name, page, a text every problem list must hold ("" for a sound page)
    ("sound", page('<p><span class="gcode">G01</span> <br>\n</p>'), ""),
    ("implied ends", page("<table>\n<tr>\n<td><p>x</td>\n<td><p>y</p></td>\n</table>\n<p>a<p>b"),
     ""),
    ("image", page('<img src="a%20b.png" alt="" height="80" class="logo">'), ""),
    ("misnested", page("<p><b><i>x</b></i></p>"), "</b> closes i"),
    ("left open", page("<div><span>x"), "left open"),
    ("unclosed bold run", page('<p><span class="rem"><b>(X <br>\n<span class="plain">Y</span>'),
     "left open"),
    ("script", page("<p><script>alert(1)</script></p>"), "active content <script>"),
    ("event handler", page('<p><img src="x" alt="" onerror="alert(1)"></p>'), "event handler"),
    ("unquoted", page("<p><img src=logo.png alt=\"\"></p>"), "unquoted"),
    ("obsolete", page('<table border="5" width="665"><tr><td>x</td></tr></table>'),
     "obsolete attribute border"),
    ("old doctype", page("<p>x</p>", HEAD.replace(
        "<!DOCTYPE html>",
        '<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.0 Transitional//EN">')), "document type"),
    ("no charset", page("<p>x</p>", HEAD.replace('<meta charset="utf-8">\n', "")), "no <meta"),
    ("self-closed i", page("<p><i/></p>"), "close itself"),
    ("unknown span", page('<p><span class="evil">x</span></p>'), "unknown classes"),
    ("control character", page("<p>a\x01b</p>"), "control character"),
]


def main():
    failures = []
    with tempfile.TemporaryDirectory() as d:
        for name, text, needle in CASES:
            path = os.path.join(d, name.replace(" ", "_") + ".html")
            with open(path, "w", encoding="utf-8") as f:
                f.write(text)
            problems = html_check.check(path)
            joined = "\n".join(problems)
            if needle == "" and problems:
                failures.append(f"{name}: a sound page was refused:\n{joined}")
            if needle and needle not in joined:
                failures.append(f"{name}: expected a problem with {needle!r}, got:\n{joined}")
        path = os.path.join(d, "latin1.html")
        with open(path, "wb") as f:
            f.write(page("<p>\xe4</p>").encode("latin-1"))
        if not any("UTF-8" in p for p in html_check.check(path)):
            failures.append("latin1: a page that is not UTF-8 passed")
    for f in failures:
        print(f)
    print(f"{len(CASES) + 1 - len(failures)} of {len(CASES) + 1} checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
