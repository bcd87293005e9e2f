#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz corpus (tests/fuzz/corpus/<target>/seed_*).

Run it again only to change the seeds; what the fuzzers found later sits beside them under
names libFuzzer chose. Scheme files use SQLite pages of 512 bytes to stay small.
"""
import os
import sqlite3
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# The table as the program creates it (src/schemes/scheme_file.cpp).
PROGRAM_TABLE = '''CREATE TABLE Farbtabelle (
    "Name"  TEXT    CHECK (typeof("Name")  IN ('text', 'null') AND length("Name") <= 30),
    "Rot"   INTEGER CHECK (typeof("Rot")   IN ('integer', 'null') AND "Rot"   BETWEEN 0 AND 255),
    "Grün"  INTEGER CHECK (typeof("Grün")  IN ('integer', 'null') AND "Grün"  BETWEEN 0 AND 255),
    "Blau"  INTEGER CHECK (typeof("Blau")  IN ('integer', 'null') AND "Blau"  BETWEEN 0 AND 255),
    "Roth"  INTEGER CHECK (typeof("Roth")  IN ('integer', 'null') AND "Roth"  BETWEEN 0 AND 255),
    "Grünh" INTEGER CHECK (typeof("Grünh") IN ('integer', 'null') AND "Grünh" BETWEEN 0 AND 255),
    "Blauh" INTEGER CHECK (typeof("Blauh") IN ('integer', 'null') AND "Blauh" BETWEEN 0 AND 255)
)'''
UNTYPED_TABLE = 'CREATE TABLE Farbtabelle (Name, Rot, "Grün", Blau, Roth, "Grünh", Blauh)'


def write(target, name, data):
    folder = os.path.join(HERE, 'corpus', target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, 'seed_' + name), 'wb') as f:
        f.write(data)


def database(name, statements, rows=(), pragmas=()):
    path = os.path.join(HERE, 'seed.tmp')
    if os.path.exists(path):
        os.remove(path)
    db = sqlite3.connect(path)
    db.execute('PRAGMA page_size = 512')
    for pragma in pragmas:
        db.execute(pragma)
    for statement in statements:
        db.execute(statement)
    if rows:
        db.executemany('INSERT INTO Farbtabelle VALUES (?,?,?,?,?,?,?)', rows)
    db.commit()
    db.close()
    with open(path, 'rb') as f:
        write('scheme_file', name, f.read())
    os.remove(path)


def scheme_files():
    database('program_empty', [PROGRAM_TABLE])
    database('program_schemes', [PROGRAM_TABLE],
             [('Meer', 0, 0, 128, 200, 220, 255), (None, 1, 2, 3, 4, 5, 6),
              ('Grün über Weiß', 0, 128, 0, 255, 255, 255), ('Meer', 1, 1, 1, None, 2, 2)])
    database('across_batches', [PROGRAM_TABLE],
             [('S%d' % i, i % 256, 0, 0, 0, 0, 0) for i in range(1100)])
    database('foreign_values', [UNTYPED_TABLE],
             [('A', 256, -1, 2**63 - 1, 1.5, 'rot', b'\x0c'), (42, 1, 2, 3, 4, 5, 6),
              (b'\xff\xfe', None, None, None, None, None, None), ('x' * 300, 1, 2, 3, 4, 5, 6)])
    database('utf16', [UNTYPED_TABLE], [('Grün', 1, 2, 3, 4, 5, 6)],
             pragmas=["PRAGMA encoding = 'UTF-16le'"])
    database('wal', [UNTYPED_TABLE], [('Nacht', 1, 2, 3, 4, 5, 6)],
             pragmas=['PRAGMA journal_mode = WAL'])
    database('no_table', ['CREATE TABLE Andere (x)'])
    database('missing_column', ['CREATE TABLE Farbtabelle (Name, Rot, "Grün", Blau, Roth, "Grünh")'])
    database('without_rowid', ['CREATE TABLE Farbtabelle (Name PRIMARY KEY, Rot, "Grün", Blau, '
                               'Roth, "Grünh", Blauh) WITHOUT ROWID'])
    write('scheme_file', 'old_format', b'\x00\x01\x00\x00Standard Jet DB\x00' + bytes(492))
    write('scheme_file', 'empty', b'')


def numbers():
    texts = ['255', '12abc', '1.5', '1,5', '2 5 5', '\t1\n2', '007', '-5', '+7', '.5', '1E2',
             '2.5e1', '5E-1', '3E', '3E+x', '&HFF', '&h0a', '&H1G', '&H', '--5', '1E999',
             '-1E999', '1E-999', '0.000001', '1.e5', '254.5', '255.5', '-0.5',
             '123456789012345678901234567890', '0.' + '0' * 400 + '1', '9' * 400 + 'E-5']
    for i, text in enumerate(texts):
        write('numeric_reading', 'text_%02d' % i, text.encode())
    for i, x in enumerate([0.5, 2.5, 255.4999999, 1e15, 4.9e-324, float('nan'), float('inf')]):
        write('numeric_reading', 'double_%02d' % i, struct.pack('<d', x))


def text_forms():
    seeds = [(b'\xff\x80\x00\x06', '80FF'), (b'\x05\x80\xff\x03', '1234567'),
             (b'\x00\x00\x00\x02', 'ZZ'), (b'\x01\x02\x03\x10', 'ABCDEF12'),
             (b'\x10\x20\x30\x06', ' F F'), (b'\xff\xff\xff\x00', '')]
    for i, (colour, text) in enumerate(seeds):
        write('text_forms', '%02d' % i, colour + text.encode())


def css_colours():
    texts = ['#fff', '#FFAA00', ' #0a0b0c\n', '#12', '#1234', '#ff00ff80', 'rgb(1, 2, 3)',
             'RGB(255,0,128)', 'rgb(1 2 3)', 'rgb( 10 , 20 , 30 )', 'rgb(256, 0, 0)',
             'rgb(1.5, 2, 3)', 'rgb(1, 2 3)', 'rgba(1, 2, 3, 0.5)', 'rebeccapurple',
             'DarkSlateGrey', 'transparent', 'hsl(0, 100%, 50%)', 'color: red;', '',
             # CSS Color 4: alpha, the space syntax, every function, units, none, comments
             '#f0a8', '#ff00aa80', 'rgb(0 0 0 / 87%)', 'rgba(100% 50 0 / .5)',
             'rgb(+1e2 .5E+2 2.55e2)', 'rgb(none 100%none)', 'hsl(120 50 50)',
             'hsla(0.5turn 100% 50% / 0.5)', 'hsl(200grad 50% 50%)', 'hsl(3.14rad 5% 5%)',
             'hwb(150 20% 10%)', 'hwb(45 40% 80%)', 'lab(29.2345% 39.3825 20.0664)',
             'lch(85.9017% 166.116 138.207)', 'oklab(59.686% 0.1009 0.1192)',
             'oklch(62.3% 0.214 259.815)', 'oklch(70% 0.4 30 / 0.5)', 'oklch(100% 0.2 30)',
             'color(display-p3 1 1 0)', 'color(srgb-linear 0.435 0.017 0.055)',
             'color(a98-rgb 1 0 0)', 'color(prophoto-rgb 0.2 1.0 0.1)', 'color(rec2020 0 1 0)',
             'color(xyz-d50 0.2005 0.14089 0.4472)', 'color(xyz 2 -1 1e9)',
             'color(display-p3-linear 0.3 0.01 0.05 / none)', '/*a*/rgb(/* r */1 2 3)/**/',
             'lab(50 1e300 1e300)', 'hsl(1e999 1e999 0)', 'rgb(calc(1) 2 3)', 'rgb(var(--x))',
             'color-mix(in srgb, red, blue)', 'oklch(from red l c h)', 'color(--meins 1 0 0)',
             'color(profoto-rgb 0 0 0)', 'currentColor', 'Canvas', 'rgb (1 2 3)',
             'rgb(1\u00a02 3)', 'blac\u212a', 'r\\65 d', 'rgb(1, 2, 3 / 1)',
             'hsl(10px 50% 50%)']
    for i, text in enumerate(texts):
        write('css_colour', '%02d' % i, text.encode())


def imports():
    scheme = '{"name": "%s", "text": %s, "background": %s}'
    document = '{"format": "pigmora-schemes", "version": 1, "schemes": [%s]}'
    jsons = [document % (scheme % ('Meer', '"#0000ff"', '"#ffffe0"')),
             document % ', '.join([scheme % ('Grün', '"#0F0"', '[255, 255, 255]'),
                                   scheme % ('x' * 31, '"#000"', '"#fff"'), '42',
                                   scheme % ('a\\nb', '[256, 0, 0]', '"red"')]),
             '[' + scheme % ('Nacht 😀', '[0, 0, 0]', '"#123456"') + ']',
             '\ufeff' + document % '', '{"format": "pigmora-schemes", "version": 2}', '[[[[',
             '{"version": 1, "schemes": []}']
    for i, text in enumerate(jsons):
        write('json_import', '%02d' % i, text.encode())
    palettes = ['GIMP Palette\nName: Pigmora-Farbschemata\nColumns: 2\n# x\n'
                '  0   0 255\tMeer (Text)\n255 255 224\tMeer (Hintergrund)\n',
                'GIMP Palette\r\n1 1 1 B (Hintergrund)\r\n2 2 2 B (Text)\r\n3 3\tC (Text)\r\n',
                '\ufeffGIMP Palette\n256 0 0\tA (Text)\n0 0 0\tA (Hintergrund)\n0 0 0 Untitled\n',
                '1 2 3\tohne Kopf (Text)\n']
    for i, text in enumerate(palettes):
        write('gpl_import', '%02d' % i, text.encode())
    colour = '{"$value": {"colorSpace": "srgb", "components": [1, 0.502, 0], "hex": "#ff8000"}}'
    tokens = ['{"farbschema": {"$type": "color",\n  "Abend": {"$extensions": {"org.pigmora": '
              '{"name": "Abend"}}, "text": %s, "background": %s}\n}}' % (colour, colour),
              '{"$type": "color", "a": {"$value": "{b}"}, "b": {"$value": "{a}"}, '
              '"s": {"text": {"$value": "{a}"}, "background": {"$value": "#fff"}}}',
              '{"p": {"$type": "color", "x": {"$value": "hsl(0 100 50)"}}, "s": {"text": '
              '{"$value": {"$ref": "#/p/x/$value"}}, "background": {"$type": "color", '
              '"$value": {"colorSpace": "oklch", "components": [0.5, "none", 20], "alpha": 1}}}, '
              '"k": {"text": {"$type": "dimension", "$value": "4px"}}}',
              '{"$root": {"$value": "#000"}, "g\\u00e4": {"$type": "color", "text": {"$value": '
              '"{nirgends}"}, "background": {"$value": {"colorSpace": "srgb", "components": '
              '[1, 0], "alpha": 0.5}}}}']
    for i, text in enumerate(tokens):
        write('token_import', '%02d' % i, text.encode())


if __name__ == '__main__':
    scheme_files()
    numbers()
    text_forms()
    css_colours()
    imports()
