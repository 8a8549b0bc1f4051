#!/usr/bin/env python3
"""An independent anchor reader for the tests, on Python's html.parser.

  anchor_reference.py generate ROOT OUTSIDE   writes a project of a few hundred files
  anchor_reference.py read ROOT               prints {relative path: [entries]} as JSON

An anchor is an <a> with a name attribute, or any element with an id attribute (an id equal
to the element's name adds nothing). Its entry is "|name| (line): link text", with ", id"
after the line for ids; the line is that of the value's first character, lines ending at
LF, CR LF or CR. The link text is the element's text up to its first end tag, without
tags and comments, entities as written, line breaks and NBSP as blanks, trimmed, at most 200
characters.
"""
import fnmatch
import html.parser
import json
import os
import random
import re
import sys

MAX_TEXT = 200


def line_starts_lf(text):
    starts = [0]
    for i, c in enumerate(text):
        if c == "\n":
            starts.append(i + 1)
    return starts


def line_of(text, offset):
    # Lines as an editor counts them: LF, CR LF or CR.
    return len(re.findall(r"\r\n|\r|\n", text[:offset])) + 1


class Reader(html.parser.HTMLParser):
    def __init__(self, text):
        super().__init__(convert_charrefs=False)
        self.text = text
        self.lf_starts = line_starts_lf(text)
        self.anchors = []  # [name, line, is_id, text]
        self.open = []  # [tag, pieces, anchors]

    def value_offsets(self, tag_text):
        """Where each attribute's value starts in the tag's text, as html.parser reads it."""
        m = html.parser.tagfind_tolerant.match(tag_text, 1)
        k = m.end()
        out = []
        while k < len(tag_text):
            a = html.parser.attrfind_tolerant.match(tag_text, k)
            if not a:
                break
            name, rest, value = a.group(1, 2, 3)
            if not rest:
                out.append((name.lower(), None, None))
            else:
                start = a.start(3)
                if value[:1] in ("'", '"') and value[-1:] == value[:1]:
                    start += 1
                out.append((name.lower(), value, start))
            k = a.end()
        return out

    def handle_starttag(self, tag, attrs):
        line, col = self.getpos()
        tag_start = self.lf_starts[line - 1] + col
        tag_text = self.get_starttag_text()
        found = []
        seen_name = seen_id = False
        name_value = None
        for attr, value, start in self.value_offsets(tag_text):
            if attr == "name" and tag == "a" and not seen_name:
                seen_name = True
                if value is not None and value.strip(" \t\r\n\f'\""):
                    raw = value[1:-1] if value[:1] in "'\"" and value[-1:] == value[:1] else value
                    name_value = raw.strip()
                    lead = len(raw) - len(raw.lstrip())
                    found.append([name_value, tag_start + start + lead, False])
            elif attr == "id" and not seen_id:
                seen_id = True
                if value is not None:
                    raw = value[1:-1] if value[:1] in "'\"" and value[-1:] == value[:1] else value
                    if raw.strip():
                        lead = len(raw) - len(raw.lstrip())
                        found.append([raw.strip(), tag_start + start + lead, True])
        if name_value is not None:
            found = [f for f in found if not (f[2] and f[0] == name_value)]
        if not found:
            return
        entries = []
        for name, offset, is_id in found:
            entry = [name, line_of(self.text, offset), is_id, ""]
            self.anchors.append(entry)
            entries.append(entry)
        self.open.append([tag, [], entries])

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        self.handle_endtag(tag)

    def handle_endtag(self, tag):
        still = []
        for t, pieces, entries in self.open:
            if t == tag:
                text = "".join(pieces)
                text = re.sub(r"\r\n|\r|\n", " ", text).replace("\u00a0", " ").strip()
                text = text[:MAX_TEXT].rstrip()
                for e in entries:
                    e[3] = text
            else:
                still.append([t, pieces, entries])
        self.open = still

    def add(self, s):
        for _, pieces, _ in self.open:
            pieces.append(s)

    def handle_data(self, data):
        self.add(data)

    def handle_entityref(self, name):
        self.add("&" + name + ";")

    def handle_charref(self, name):
        self.add("&#" + name + ";")


def decode(data):
    if data[:2] == b"\xff\xfe" and len(data) % 2 == 0:
        return data[2:].decode("utf-16-le")
    if data[:2] == b"\xfe\xff" and len(data) % 2 == 0:
        return data[2:].decode("utf-16-be")
    if b"\0" in data[:8192]:
        return None
    try:
        return data.decode("utf-8-sig")
    except UnicodeDecodeError:
        return data.decode("cp1252")


def entries_of(text):
    r = Reader(text)
    r.feed(text)
    r.close()
    return ["|%s| (%d%s): %s" % (n, l, ", id" if i else "", t) for n, l, i, t in r.anchors]


def read(root):
    out = {}
    real_root = os.path.realpath(root)
    for folder, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs if d not in (".git", ".hg", ".svn", ".bzr")]
        for f in files:
            full = os.path.join(folder, f)
            ext = f[1:].rpartition(".")[2] if "." in f[1:] else ""
            if f.startswith("~") or not fnmatch.fnmatch(ext.lower(), "htm*"):
                continue
            if not os.path.realpath(full).startswith(real_root + os.sep):
                continue
            with open(full, "rb") as fh:
                text = decode(fh.read())
            if text is None:
                continue
            entries = entries_of(text)
            if entries:
                out[os.path.relpath(full, root).replace(os.sep, "/")] = entries
    return out


WORDS = ["Top of page", "Intro", "more", "A &amp; B", "non\u00a0breaking", "caf\u00e9",
         "<b>bold</b> text", "na\u00efve", "1 < 2", "x", "Links", "<img src=\"p.png\"> pic"]


def piece(rng, nl, i):
    name = rng.choice(["top", "sec-%d" % i, "a.b%d" % i, "caf\u00e9%d" % i, "x_%d" % i, "top"])
    text = rng.choice(WORDS) + rng.choice(["", nl + rng.choice(WORDS), " " + rng.choice(WORDS)])
    forms = [
        '<a name="{n}">{t}</a>',
        "<A NAME='{n}'>{t}</A>",
        '<a href="#{n}" name={n}>{t}</a>',
        '<a' + nl + '   class="c" name="{n}"' + nl + '>{t}</a>',
        '<h2 id="{n}">{t}</h2>',
        "<div class=\"box\" id='{n}'>{t}</div>",
        '<img id="{n}" src="p.png" alt="x">',
        '<a name="{n}" id="{n}">{t}</a>',
        '<a id="{n}" name="o{n}">{t}</a>',
        '<a name = " {n} " title="a>b">{t}</a>',
        '<!-- <a name="{n}">hidden</a> -->',
        "<script>var s = '<a name=\"{n}\">';</script>",
        "<p>plain {t} &amp; more</p>",
        '<a href="x.html">{t}</a>',
        '<p data-name="{n}" aria-id="{n}">{t}</p>',
    ]
    return rng.choice(forms).format(n=name, t=text)


def generate(root, outside):
    rng = random.Random(2026)
    folders = ["", "sub", "sub/deep", "b dir", "\u00fcn\u00ef", ".git"]
    exts = ["html"] * 6 + ["htm", "HTML", "php", "htt", "shtml", "css"]
    for i in range(320):
        folder = rng.choice(folders)
        ext = rng.choice(exts)
        prefix = "~" if i % 37 == 0 else ""
        name = os.path.join(root, folder, "%spage%03d.%s" % (prefix, i, ext))
        os.makedirs(os.path.dirname(name), exist_ok=True)
        nl = rng.choice(["\n", "\r\n", "\r"])
        parts = ["<html><body>"] + [piece(rng, nl, j) for j in range(rng.randint(0, 8))]
        parts.append("</body></html>")
        text = nl.join(parts) + nl
        enc = rng.choice(["utf-8"] * 5 + ["utf-8-sig", "cp1252", "utf-16"])
        data = text.encode("utf-16-le") if enc == "utf-16" else text.encode(enc)
        if enc == "utf-16":
            data = b"\xff\xfe" + data
        with open(name, "wb") as fh:
            fh.write(data)
    with open(os.path.join(root, "binary.html"), "wb") as fh:
        fh.write(b"GIF89a\0\0<a name=\"bin\">x</a>")
    os.makedirs(outside, exist_ok=True)
    with open(os.path.join(outside, "out.html"), "w") as fh:
        fh.write('<a name="outside">x</a>')
    os.symlink(outside, os.path.join(root, "linked"))


if __name__ == "__main__":
    if sys.argv[1] == "generate":
        generate(sys.argv[2], sys.argv[3])
    else:
        json.dump(read(sys.argv[2]), sys.stdout, ensure_ascii=False, indent=0)
