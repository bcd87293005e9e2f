"""Validates a SARIF log (standard input) against the SARIF 2.1.0 JSON Schema (the OASIS
schema, errata 01, committed beside this script) and prints how many results it holds, by level.

    python3 check_sarif.py sarif-schema-2.1.0.json < log.sarif
"""
import json
import sys

import jsonschema

with open(sys.argv[1], encoding="utf-8") as f:
    schema = json.load(f)
log = json.load(sys.stdin)
validator = jsonschema.Draft4Validator(schema, format_checker=jsonschema.FormatChecker())
errors = sorted(validator.iter_errors(log), key=lambda e: list(e.path))
for error in errors:
    print("invalid at /%s: %s" % ("/".join(map(str, error.path)), error.message))
if errors:
    sys.exit(1)
levels = {}
for result in log["runs"][0]["results"]:
    levels[result["level"]] = levels.get(result["level"], 0) + 1
    if "region" not in result["locations"][0]["physicalLocation"]:
        print("no region: " + result["message"]["text"])
print(" ".join("%s=%d" % item for item in sorted(levels.items())))
