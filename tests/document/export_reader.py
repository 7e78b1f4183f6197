#!/usr/bin/python3
"""Reads an exported page the way an outside program does and prints what it found, one
item a line in UTF-8: "C<TAB>charset", "P<TAB>paragraph text" for every div element (HTML)
or every paragraph and table cell (RTF, through pandoc's HTML), "T<TAB>cell text" for every
td element (HTML), "I<TAB>src<TAB>1|0" for every img element (1: the file exists beside the
page).

  export_reader.py html PAGE
  export_reader.py rtf PANDOC FILE
"""
import codecs
import html.parser
import os
import re
import subprocess
import sys


class PageParser(html.parser.HTMLParser):
    def __init__(self, folder):
        super().__init__(convert_charrefs=True)
        self.folder = folder
        self.depth = 0
        self.lines = []
        self.text = []
        self.cells = []  # the text of the td elements open, innermost last

    def handle_starttag(self, tag, attrs):
        if tag == "div":
            self.depth += 1
            self.text = []
        elif tag == "td":
            self.cells.append([])
        elif tag == "img":
            src = dict(attrs).get("src", "")
            exists = os.path.isfile(os.path.join(self.folder, src))
            self.lines.append("I\t%s\t%d" % (src, 1 if exists else 0))

    def handle_endtag(self, tag):
        if tag == "td" and self.cells:
            self.lines.append("T\t" + re.sub(r"[\r\n]", " ", "".join(self.cells.pop())))
        if tag == "div" and self.depth > 0:
            self.depth -= 1
            # Line ends inside the element are layout, like blanks.
            self.lines.append("P\t" + re.sub(r"[\r\n]", " ", "".join(self.text)))

    def handle_data(self, data):
        if self.depth > 0:
            self.text.append(data)
        for cell in self.cells:
            cell.append(data)


def read_html(path):
    raw = open(path, "rb").read()
    if raw.startswith(b"\xff\xfe"):
        text = raw.decode("utf-16")
        declared = re.search(r"charset=([\w-]+)", text).group(1)
        if declared != "unicode":
            raise SystemExit("UTF-16 page declares " + declared)
    else:
        declared = re.search(rb"charset=([\w-]+)", raw).group(1).decode("ascii")
        codec = {"gb2312": "cp936"}.get(declared, declared)
        text = raw.decode(codec)
    parser = PageParser(os.path.dirname(path))
    parser.feed(text)
    parser.close()
    return ["C\t" + declared] + parser.lines


def latin1_fallback(error):
    """A byte that is no code page 936 character on its own was a Latin-1 character."""
    return (error.object[error.start:error.start + 1].decode("latin-1"), error.start + 1)


codecs.register_error("latin1fallback", latin1_fallback)


def from_code_page(text):
    """pandoc reads the bytes of the code page as Latin-1 characters: turn them back into
    bytes and read those as code page 936."""
    out, pending = [], bytearray()
    for ch in text:
        if ord(ch) < 256:
            pending.append(ord(ch))
        else:
            out.append(pending.decode("cp936", errors="latin1fallback"))
            pending = bytearray()
            out.append(ch)
    out.append(pending.decode("cp936", errors="latin1fallback"))
    return "".join(out)


class BlockParser(html.parser.HTMLParser):
    """The text of every paragraph and table cell of pandoc's HTML, innermost first;
    raised and lowered text is text like any other."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.open = []
        self.blocks = []

    def handle_starttag(self, tag, attrs):
        if tag in ("p", "td", "th", "li"):
            self.open.append([])

    def handle_endtag(self, tag):
        if tag in ("p", "td", "th", "li") and self.open:
            self.blocks.append("".join(self.open.pop()))

    def handle_data(self, data):
        if self.open:
            self.open[-1].append(data)


def read_rtf(pandoc, path):
    out = subprocess.run([pandoc, "-f", "rtf", "-t", "html", path], check=True,
                         capture_output=True).stdout.decode("utf-8")
    parser = BlockParser()
    parser.feed(out)
    parser.close()
    return ["P\t" + re.sub(r"[\r\n]", " ", from_code_page(block)) for block in parser.blocks]


if __name__ == "__main__":
    lines = read_html(sys.argv[2]) if sys.argv[1] == "html" else read_rtf(sys.argv[2], sys.argv[3])
    sys.stdout.write("".join(line + "\n" for line in lines))
