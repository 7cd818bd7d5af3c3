#!/usr/bin/env python3
"""Checks every link of every HTML file under a folder, as a browser opening
the files from disk resolves them. Prints one line:
FILES LINKS RESOLVING BROKEN ROOT_RELATIVE SITE_ABSOLUTE
where a relative link resolves when the file it names (without query and
fragment, percent-decoded) exists, a root-relative link ("/a.html") is broken
from disk, and SITE_ABSOLUTE counts absolute addresses still leading to the
site's host (given as the second argument) instead of a file. Fragments,
mailto:, javascript: and data: links are not counted."""
import os
import re
import sys
import urllib.parse

root, host = sys.argv[1], sys.argv[2]
attribute = re.compile(r'''\b(?:href|src)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>]+))''', re.I)
files = links = resolving = broken = root_relative = site_absolute = 0
for folder, _, names in os.walk(root):
    for name in names:
        if not name.lower().endswith((".html", ".htm")):
            continue
        files += 1
        with open(os.path.join(folder, name), encoding="utf-8", errors="replace") as page:
            text = page.read()
        for match in attribute.finditer(text):
            link = next(group for group in match.groups() if group is not None).strip()
            if not link or link.startswith(("#", "mailto:", "javascript:", "data:")):
                continue
            links += 1
            if re.match(r"[a-zA-Z][a-zA-Z0-9+.-]*:", link):
                site_absolute += host in link
                continue
            if link.startswith("/"):
                root_relative += 1
                continue
            path = urllib.parse.unquote(link.split("#")[0].split("?")[0])
            if os.path.exists(os.path.normpath(os.path.join(folder, path))):
                resolving += 1
            else:
                broken += 1
print(files, links, resolving, broken, root_relative, site_absolute)
