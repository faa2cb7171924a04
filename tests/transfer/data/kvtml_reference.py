#!/usr/bin/env python3
"""An independent reading of KVTML files, for the tests to compare with.

For each file named on the command line, prints (as one JSON object keyed by
path) its identifiers and the items it should give when identifier 0 is the
word/phrase and 1 the translation: texts trimmed of bytes up to 0x20, inner
control characters as spaces, notes from the translation's comment else the
word's, "#Value?#" for a missing translation. "pages" lists, for the words
and for the other fields, the Windows code pages that can hold every text.
"""
import json
import sys
import xml.etree.ElementTree as ET

BLANKS = ''.join(chr(c) for c in range(1, 33))
PAGES = ['cp1250', 'cp1251', 'cp1252', 'cp1253', 'cp1254', 'cp1257']


def clean(text):
    text = (text or '').strip(BLANKS)
    return ''.join(' ' if ord(c) < 33 else c for c in text)


def all_text(element):
    return '' if element is None else ''.join(element.itertext())


def read_v2(root):
    identifiers = []
    for ident in root.findall('./identifiers/identifier'):
        identifiers.append({'id': int(ident.get('id', len(identifiers))),
                            'name': all_text(ident.find('name')),
                            'locale': all_text(ident.find('locale'))})
    entries = []
    for entry in root.findall('./entries/entry'):
        sides = {}
        for tr in entry.findall('translation'):
            tid = int(tr.get('id', len(sides)))
            if tid not in sides:
                sides[tid] = {'text': all_text(tr.find('text')),
                              'comment': all_text(tr.find('comment'))}
        entries.append(sides)
    return identifiers, entries


def read_v1(root):
    identifiers, entries = {}, []
    for e in root.findall('e'):
        sides, column = {}, 0
        for child in e:
            if child.tag not in ('o', 't'):
                continue
            tid = 0 if child.tag == 'o' else max(column, 1)
            column = tid + 1
            if child.get('l') and tid not in identifiers:
                identifiers[tid] = child.get('l')
            sides.setdefault(tid, {'text': all_text(child), 'comment': child.get('r', '')})
        entries.append(sides)
    return [{'id': k, 'name': '', 'locale': v} for k, v in identifiers.items()], entries


def holds(page, texts):
    try:
        for t in texts:
            t.encode(page)
        return True
    except UnicodeEncodeError:
        return False


def main():
    out = {}
    for path in sys.argv[1:]:
        try:
            root = ET.parse(path).getroot()
        except ET.ParseError as error:
            out[path] = {'error_line': error.position[0]}
            continue
        version = 2 if root.get('version', '').startswith('2') else 1
        identifiers, entries = (read_v2 if version == 2 else read_v1)(root)
        items = []
        for sides in entries:
            word = sides.get(0, {})
            translation = sides.get(1, {})
            w = clean(word.get('text'))
            if not w:
                continue
            t = clean(translation.get('text'))
            notes = clean(translation.get('comment')) or clean(word.get('comment'))
            items.append([w, notes, t or '#Value?#'])
        pages = {
            'word': [int(p[2:]) for p in PAGES if holds(p, [i[0] for i in items])],
            'other': [int(p[2:]) for p in PAGES if holds(p, [x for i in items for x in i[1:]])],
        }
        out[path] = {'version': version, 'identifiers': identifiers, 'items': items,
                     'pages': pages}
    json.dump(out, sys.stdout, ensure_ascii=True)


if __name__ == '__main__':
    main()
