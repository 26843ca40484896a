#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Turns the user guide's Markdown into one HTML page: python3-markdown with tables and a table
of contents, in a page of its own style.

  make_guide.py guide.md guide.html
"""
import sys

try:
    import markdown
except ImportError:
    sys.exit("make_guide.py: the Python module 'markdown' is missing (Debian: python3-markdown)")

STYLE = """
body { font-family: sans-serif; max-width: 60em; margin: 2em auto; padding: 0 1em;
       line-height: 1.45; color: #1d1d1d; }
h1, h2, h3 { color: #1b3f73; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #c8c8c8; padding: 0.25em 0.6em; vertical-align: top; }
th { background: #eef3fa; text-align: left; }
pre { background: #f4f4f4; padding: 0.6em 1em; overflow-x: auto; }
code { font-family: monospace; }
img { max-width: 100%; border: 1px solid #d0d0d0; margin: 0.5em 0; }
.toc { background: #f7f9fc; border: 1px solid #dde4ef; padding: 0.4em 1.2em; }
"""


def main(source, target):
    text = open(source, encoding="utf-8").read()
    converter = markdown.Markdown(extensions=["tables", "toc", "fenced_code"],
                                  extension_configs={"toc": {"toc_depth": "2-3"}})
    body = converter.convert(text)
    page = (
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>Vornik user guide</title>\n<style>" + STYLE + "</style>\n</head>\n<body>\n"
        + body.replace("<h2", "<div class=\"toc\">" + converter.toc + "</div>\n<h2", 1)
        + "\n</body>\n</html>\n"
    )
    open(target, "w", encoding="utf-8").write(page)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
