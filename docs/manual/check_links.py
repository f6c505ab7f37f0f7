#!/usr/bin/env python3
"""Checks the manual folder: every page the program opens is there, every page
is UTF-8 and declares it, carries no script, and every internal link, anchor
and picture resolves. Usage: check_links.py TARVEL.CHM-folder"""

import os
import sys
from html.parser import HTMLParser
from urllib.parse import unquote, urlsplit

# The pages the help window and the home-page command open, and the rest of
# the table of contents.
REQUIRED = ["index.html", "datafile.html", "loads.html", "database.html", "run.html",
            "results.html", "cli.html", "steel.html", "drawings.html", "messages.html",
            "filemanager.html"]


class Page(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.refs = []      # (attribute, value, line)
        self.anchors = set()
        self.charset = False
        self.scripts = 0

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        for name in ("id", "name"):
            if tag != "meta" and a.get(name):
                self.anchors.add(a[name])
        if tag == "meta" and (a.get("charset", "").lower() == "utf-8" or
                              "charset=utf-8" in a.get("content", "").lower()):
            self.charset = True
        if tag == "script" or any(k.startswith("on") for k in a):
            self.scripts += 1
        for name in ("href", "src"):
            if a.get(name) is not None:
                self.refs.append((name, a[name], self.getpos()[0]))


def main(folder):
    faults = []
    pages = {}
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".html"):
            continue
        raw = open(os.path.join(folder, name), "rb").read()
        try:
            text = raw.decode("utf-8")
        except UnicodeDecodeError as e:
            faults.append(f"{name}: not UTF-8 ({e})")
            continue
        page = Page()
        page.feed(text)
        pages[name] = page
        if not page.charset:
            faults.append(f"{name}: no UTF-8 charset declaration")
        if page.scripts:
            faults.append(f"{name}: scripts are not allowed")
    for name in REQUIRED:
        if name not in pages:
            faults.append(f"missing page {name}")

    linked = set()
    for name, page in pages.items():
        for attr, value, line in page.refs:
            parts = urlsplit(value)
            if parts.scheme or value.startswith("//"):
                continue  # outside the manual
            target = name if not parts.path else os.path.normpath(
                os.path.join(os.path.dirname(name), unquote(parts.path)))
            if target.startswith(".."):
                faults.append(f"{name}:{line}: {value} leaves the manual folder")
                continue
            if not os.path.isfile(os.path.join(folder, target)):
                faults.append(f"{name}:{line}: {attr}={value} does not exist")
                continue
            linked.add(target)
            if parts.fragment:
                anchors = pages[target].anchors if target in pages else set()
                if parts.fragment not in anchors:
                    faults.append(f"{name}:{line}: {value}: no anchor '{parts.fragment}'")
    for name in pages:
        if name != "index.html" and name not in linked:
            faults.append(f"{name}: no page links to it")

    for f in faults:
        print(f)
    print(f"{len(pages)} pages checked, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        print(__doc__)
        sys.exit(2)
    sys.exit(main(sys.argv[1]))
