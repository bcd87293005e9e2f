"""Parses a CSS file with a real CSS parser (tinycss2) and prints, as JSON, what a browser
would see: {"classes": [[name, color, background-color], ...], "properties": [[name, value],
...]}, the names unescaped, in the file's order. Exits 1 with a message on anything that is not
a valid rule of the expected shape."""
import json
import sys

import tinycss2


def fail(message):
    print(message, file=sys.stderr)
    sys.exit(1)


def declarations(block):
    result = []
    for d in tinycss2.parse_declaration_list(block.content):
        if d.type in ("whitespace", "comment"):
            continue
        if d.type != "declaration":
            fail("not a declaration: %r" % d)
        value = [t for t in d.value if t.type not in ("whitespace", "comment")]
        if len(value) != 1 or value[0].type != "hash":
            fail("not one hash colour: %s" % tinycss2.serialize(d.value))
        name = d.name if d.name.startswith("--") else d.lower_name
        result.append((name, "#" + value[0].value))
    return result


with open(sys.argv[1], "rb") as f:
    rules, encoding = tinycss2.parse_stylesheet_bytes(f.read())
classes, properties = [], []
if encoding.name != "utf-8":
    fail("encoding is %s" % encoding.name)
for rule in rules:
    if rule.type in ("whitespace", "comment"):
        continue
    if rule.type == "error":
        fail("parse error: %s" % rule.message)
    if rule.type == "at-rule":
        if rule.lower_at_keyword != "charset":
            fail("unexpected at-rule @%s" % rule.at_keyword)
        continue
    prelude = [t for t in rule.prelude if t.type not in ("whitespace", "comment")]
    if len(prelude) == 2 and prelude[0] == ":" and prelude[1].type == "ident" and prelude[1].value == "root":
        for name, value in declarations(rule):
            if not name.startswith("--"):
                fail("not a custom property: %s" % name)
            properties.append([name, value])
        continue
    if len(prelude) != 2 or prelude[0] != "." or prelude[1].type != "ident":
        fail("not a class selector: %s" % tinycss2.serialize(rule.prelude))
    values = dict(declarations(rule))
    if sorted(values) != ["background-color", "color"]:
        fail("unexpected declarations: %s" % sorted(values))
    classes.append([prelude[1].value, values["color"], values["background-color"]])
print(json.dumps({"classes": classes, "properties": properties}))
