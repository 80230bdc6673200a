"""Checks every line brevix-dump --json writes for FILEs against the schema.

Usage: python3 check_json_schema.py BREVIX_DUMP SCHEMA FILE...
       python3 check_json_schema.py BREVIX_DUMP SCHEMA --list SOURCE...
(the second checks every record of --list --json, one a message; so does any
first argument that is an option, such as --dict for a session's messages). Needs the jsonschema module (Debian python3-jsonschema).
"""
import json
import subprocess
import sys

import jsonschema

dump, schema_path, files = sys.argv[1], sys.argv[2], sys.argv[3:]
with open(schema_path, encoding="utf-8") as f:
    schema = json.load(f)
jsonschema.Draft202012Validator.check_schema(schema)
validator = jsonschema.Draft202012Validator(schema)
listing = bool(files) and files[0].startswith("--")
run = subprocess.run([dump, "--json", *files], capture_output=True, check=False)
lines = run.stdout.decode("utf-8").splitlines()
if listing:
    if not lines:
        sys.exit("no records")
    files = [f"record {n}" for n in range(1, len(lines) + 1)]
if len(lines) != len(files):
    sys.exit(f"{len(lines)} lines for {len(files)} files")
failures = 0
for path, line in zip(files, lines):
    for error in validator.iter_errors(json.loads(line)):
        print(f"{path}: {error.json_path}: {error.message}")
        failures += 1
sys.exit(1 if failures else 0)
