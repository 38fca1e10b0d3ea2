#!/usr/bin/env python3
"""Checks the HTML pages Korvel writes (the G-code view and the project report) with Python's
html.parser: an HTML5 document type and a UTF-8 charset declaration in the head, every element
closed in the order it was opened (the end tags HTML lets a page leave out, of p, td and tr,
are implied as a browser implies them), quoted attribute values, no presentational attributes
that HTML5 dropped, no script, event handler or other active content, the G-code view's spans
only of its five word classes, and text that is valid UTF-8 without control characters.

Usage: html_check.py FILE...   exit 0 when every file passes, else 1 with one line a problem.
"""
import re
import sys
from html.parser import HTMLParser

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source",
        "track", "wbr"}
# Elements whose end tag may be left out, and the start tags that close them when open.
CLOSED_BY = {
    "p": {"address", "article", "aside", "blockquote", "div", "dl", "fieldset", "footer",
          "form", "h1", "h2", "h3", "h4", "h5", "h6", "header", "hr", "menu", "nav", "ol",
          "p", "pre", "section", "table", "ul"},
    "td": {"td", "th", "tr"},
    "th": {"td", "th", "tr"},
    "tr": {"tr"},
}
# Parents whose end closes an open child of the kinds above.
OPTIONAL_END = {"p", "td", "th", "tr", "li"}
OBSOLETE = {"align", "vspace", "hspace", "clear", "border", "bgcolor", "width", "valign",
            "cellpadding", "cellspacing"}
# width and height stay allowed on img (they are HTML5 attributes there).
IMG_SIZE = {"width", "height"}
ACTIVE = {"script", "iframe", "object", "embed", "applet", "form", "base", "link"}
GCODE_CLASSES = {"plain", "gcode", "mcode", "lab", "rem"}
CONTROL = re.compile("[\x00-\x08\x0b\x0c\x0e-\x1f\x7f-\x9f]")


class Checker(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.problems = []
        self.stack = []
        self.doctype = None
        self.charset = False
        self.seen_head = False
        self.span_classes = set()
        self.text = []

    def problem(self, what):
        line, col = self.getpos()
        self.problems.append(f"line {line}: {what}")

    def handle_decl(self, decl):
        self.doctype = decl

    def handle_starttag(self, tag, attrs):
        raw = self.get_starttag_text() or ""
        self.check_attributes(tag, attrs, raw)
        if tag in ACTIVE:
            self.problem(f"active content <{tag}>")
        if tag == "meta" and ("charset", "utf-8") in [(k, (v or "").lower()) for k, v in attrs]:
            if self.stack[-1:] != ["head"]:
                self.problem("the charset declaration is not in the head")
            self.charset = True
        if tag == "head":
            self.seen_head = True
        if tag == "span":
            self.span_classes.add(dict(attrs).get("class"))
        # Implied end tags: a start tag closes the open elements it may not stand in.
        while self.stack and tag in CLOSED_BY.get(self.stack[-1], ()):
            self.stack.pop()
        if tag not in VOID:
            self.stack.append(tag)

    def handle_startendtag(self, tag, attrs):
        if tag not in VOID:
            self.problem(f"<{tag}/> is not an element HTML lets close itself")
        self.handle_starttag(tag, attrs)
        if tag not in VOID and self.stack and self.stack[-1] == tag:
            self.stack.pop()

    def handle_endtag(self, tag):
        if tag in VOID:
            self.problem(f"end tag </{tag}> of a void element")
            return
        while self.stack and self.stack[-1] != tag and self.stack[-1] in OPTIONAL_END:
            self.stack.pop()
        if not self.stack or self.stack[-1] != tag:
            self.problem(f"</{tag}> closes {self.stack[-1] if self.stack else 'nothing'}"
                         f" (open: {' > '.join(self.stack)})")
            return
        self.stack.pop()

    def handle_data(self, data):
        self.text.append(data)
        if CONTROL.search(data):
            self.problem("a control character in the text")

    def check_attributes(self, tag, attrs, raw):
        for name, value in attrs:
            if name.startswith("on"):
                self.problem(f"event handler {name} on <{tag}>")
            if name in OBSOLETE and not (tag == "img" and name in IMG_SIZE):
                self.problem(f"obsolete attribute {name} on <{tag}>")
            if name in ("src", "href") and value and value.strip().lower().startswith(
                    ("javascript:", "data:")):
                self.problem(f"active URL in {name} on <{tag}>")
        # Every value quoted: after the tag name, the raw tag is name="..." pairs only.
        body = re.sub(r'^<\s*[\w-]+', "", raw).rstrip("/> \t\n")
        rest = re.sub(r'\s*[\w-]+\s*=\s*("[^"]*"|\'[^\']*\')', "", body).strip()
        if rest:
            self.problem(f"unquoted or bare attribute in {raw!r}")


def check(path):
    problems = []
    with open(path, "rb") as f:
        data = f.read()
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as e:
        return [f"{path}: not valid UTF-8 ({e})"]
    c = Checker()
    c.feed(text)
    c.close()
    problems += c.problems
    if (c.doctype or "").strip().lower() != "doctype html":
        problems.append(f"document type {c.doctype!r} is not HTML5's")
    if not c.charset:
        problems.append("no <meta charset=\"utf-8\"> in the head")
    if c.stack:
        problems.append(f"elements left open at the end: {' > '.join(c.stack)}")
    if c.span_classes - GCODE_CLASSES:
        problems.append(f"spans of unknown classes {sorted(c.span_classes - GCODE_CLASSES)}")
    return [f"{path}: {p}" for p in problems]


def main(paths):
    if not paths:
        print(__doc__.strip().splitlines()[-1])
        return 2
    problems = []
    for path in paths:
        problems += check(path)
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
