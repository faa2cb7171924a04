#!/usr/bin/env python3
"""An independent reading of flashcard packages for the import test, with
Python's zipfile, sqlite3 and html.parser and the zstd tool.

    reference.py newlayout SRC.apkg DEST [--subdeck NAME --count N]
        the package in the layout current versions write: the newer schema
        (note types, fields and decks in tables of their own), compressed with
        zstd as collection.anki21b, beside a placeholder collection.anki2;
        with --subdeck the first N notes move to a deck below the package's
    reference.py check PKG DUMP.json [--deck NAME] [--skip N]
        compares the items of a document dump (after the first N) with what
        the package's notes should give; prints what differs
"""
import argparse
import json
import os
import re
import sqlite3
import subprocess
import sys
import tempfile
import zipfile
from html.parser import HTMLParser

BLOCKS = {"br", "div", "p", "li", "ul", "ol", "tr", "td", "th", "table", "h1", "h2", "h3",
          "h4", "h5", "h6", "hr", "dt", "dd", "blockquote"}


def unicase(a, b):
    a, b = a.lower(), b.lower()
    return (a > b) - (a < b)


def connect(path):
    con = sqlite3.connect(path)
    con.create_collation("unicase", unicase)
    return con


def collection(pkg, folder):
    """The path of the package's collection database, unpacked into folder."""
    with zipfile.ZipFile(pkg) as z:
        names = z.namelist()
        for name in ("collection.anki21b", "collection.anki21", "collection.anki2"):
            if name in names:
                data = z.read(name)
                break
        else:
            sys.exit(f"{pkg}: no collection")
    if name.endswith("b"):
        data = subprocess.run(["zstd", "-d", "-q", "-c"], input=data, check=True,
                              capture_output=True).stdout
    path = os.path.join(folder, "collection.db")
    with open(path, "wb") as f:
        f.write(data)
    return path


class Text(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.segments, self.hidden = [[]], 0

    def handle_starttag(self, tag, attrs):
        if tag in BLOCKS:
            self.segments.append([])
        if tag in ("script", "style"):
            self.hidden += 1

    def handle_startendtag(self, tag, attrs):
        if tag in BLOCKS:
            self.segments.append([])

    def handle_endtag(self, tag):
        if tag in BLOCKS:
            self.segments.append([])
        if tag in ("script", "style"):
            self.hidden -= 1

    def handle_data(self, data):
        if not self.hidden:
            self.segments[-1].append(data)


def plain(html, translation):
    while True:
        reduced = re.sub(r"\{\{c\d+::([^{}]*?)(?:::[^{}]*)?\}\}", r"\1", html)
        if reduced == html:
            break
        html = reduced
    html = re.sub(r"\[sound:[^\]]*\]", "", html)
    parser = Text()
    parser.feed(html)
    parser.close()
    parts = [" ".join("".join(s).replace("\xa0", " ").split()) for s in parser.segments]
    parts = [p for p in parts if p]
    if not translation:
        return " ".join(parts)
    text = ""
    for p in parts:
        text += ("" if not text else " " if text.endswith(";") else "; ") + p
    return text


def newlayout(args):
    with tempfile.TemporaryDirectory() as folder:
        db = collection(args.src, folder)
        with zipfile.ZipFile(args.src) as z:
            placeholder = os.path.join(folder, "placeholder.db")
            with open(placeholder, "wb") as f:
                f.write(z.read("collection.anki2"))
        con = connect(db)
        models = json.loads(con.execute("SELECT models FROM col").fetchone()[0])
        decks = json.loads(con.execute("SELECT decks FROM col").fetchone()[0])
        con.executescript("""
            CREATE TABLE notetypes (id integer NOT NULL PRIMARY KEY, name text NOT NULL COLLATE
              unicase, mtime_secs integer NOT NULL, usn integer NOT NULL, config blob NOT NULL);
            CREATE TABLE fields (ntid integer NOT NULL, ord integer NOT NULL, name text NOT NULL
              COLLATE unicase, config blob NOT NULL, PRIMARY KEY (ntid, ord)) without rowid;
            CREATE UNIQUE INDEX idx_fields_name_ntid ON fields (name, ntid);
            CREATE TABLE decks (id integer PRIMARY KEY NOT NULL, name text NOT NULL COLLATE
              unicase, mtime_secs integer NOT NULL, usn integer NOT NULL, common blob NOT NULL,
              kind blob NOT NULL);
            CREATE UNIQUE INDEX idx_decks_name ON decks (name);""")
        for key, m in models.items():
            con.execute("INSERT INTO notetypes VALUES (?, ?, 0, 0, x'')", (int(key), m["name"]))
            for f in m["flds"]:
                con.execute("INSERT INTO fields VALUES (?, ?, ?, x'')",
                            (int(key), f["ord"], f["name"]))
        top = None
        for key, d in decks.items():
            con.execute("INSERT INTO decks VALUES (?, ?, 0, 0, x'', x'')",
                        (int(key), d["name"].replace("::", "\x1f")))
            if int(key) != 1:
                top = (int(key), d["name"])
        if args.subdeck:
            sub = top[0] + 1
            con.execute("INSERT INTO decks VALUES (?, ?, 0, 0, x'', x'')",
                        (sub, (top[1] + "::" + args.subdeck).replace("::", "\x1f")))
            con.execute("UPDATE cards SET did = ? WHERE nid IN "
                        "(SELECT id FROM notes ORDER BY id LIMIT ?)", (sub, args.count))
        con.execute("UPDATE col SET ver = 18, models = '', decks = ''")
        con.commit()
        con.close()
        con = connect(placeholder)
        con.execute("DELETE FROM cards")
        con.execute("DELETE FROM notes")
        mid = int(next(iter(json.loads(con.execute("SELECT models FROM col").fetchone()[0]))))
        con.execute("INSERT INTO notes VALUES (1, 'x', ?, 0, 0, '', ?, '', 0, 0, '')",
                    (mid, "Please update to the latest version, then import the file again."
                     "\x1f"))
        con.commit()
        con.close()
        # Streamed through a pipe, as the program writes it: no size in the frame header.
        with open(db, "rb") as f:
            compressed = subprocess.run(["zstd", "-q", "-c"], stdin=f, check=True,
                                        capture_output=True).stdout
        empty = subprocess.run(["zstd", "-q", "-c"], input=b"", check=True,
                               capture_output=True).stdout
        with zipfile.ZipFile(args.dest, "w", zipfile.ZIP_DEFLATED) as z:
            z.write(placeholder, "collection.anki2")
            z.writestr(zipfile.ZipInfo("collection.anki21b"), compressed)  # stored
            z.writestr("media", empty)
            z.writestr("meta", b"\x08\x03")


def expected(pkg, deck):
    with tempfile.TemporaryDirectory() as folder:
        con = connect(collection(pkg, folder))
        tables = {r[0] for r in con.execute("SELECT name FROM sqlite_master WHERE type='table'")}
        if "decks" in tables:
            names = {i: n.replace("\x1f", "::") for i, n in con.execute("SELECT id, name FROM decks")}
        else:
            decks = json.loads(con.execute("SELECT decks FROM col").fetchone()[0])
            names = {int(k): d["name"] for k, d in decks.items()}
        homes = {}
        for nid, did, odid in con.execute("SELECT nid, did, odid FROM cards"):
            homes.setdefault(nid, set()).add(names.get(odid or did, ""))
        items, left = [], 0
        for nid, flds in con.execute("SELECT id, flds FROM notes ORDER BY id"):
            if deck and not any(n == deck or n.startswith(deck + "::") for n in homes.get(nid, ())):
                continue
            fields = flds.split("\x1f") + ["", ""]
            word, translation = plain(fields[0], False), plain(fields[1], True)
            if not word or not translation:
                left += 1
                continue
            items.append({"word": word, "translation": translation})
        return items, left


def check(args):
    items, left = expected(args.pkg, args.deck)
    with open(args.dump, encoding="utf-8") as f:
        got = [{"word": i["word"], "translation": i["translation"]}
               for i in json.load(f)["items"]][args.skip:]
    failures = []
    if len(got) != len(items):
        failures.append(f"{len(got)} items imported, {len(items)} expected")
    for n, (g, e) in enumerate(zip(got, items)):
        if g != e:
            failures.append(f"item {n + 1}: {g} instead of {e}")
    for f in failures[:10]:
        print(f)
    print(f"expected {len(items)} left out {left}")
    sys.exit(1 if failures else 0)


def main():
    parser = argparse.ArgumentParser()
    sub = parser.add_subparsers(dest="command", required=True)
    p = sub.add_parser("newlayout")
    p.add_argument("src")
    p.add_argument("dest")
    p.add_argument("--subdeck")
    p.add_argument("--count", type=int, default=0)
    p.set_defaults(run=newlayout)
    p = sub.add_parser("check")
    p.add_argument("pkg")
    p.add_argument("dump")
    p.add_argument("--deck")
    p.add_argument("--skip", type=int, default=0)
    p.set_defaults(run=check)
    args = parser.parse_args()
    args.run(args)


if __name__ == "__main__":
    main()
