#!/usr/bin/env bash
# Regenerates the class reference at the end of docs/FORMATS.md from the field tables.
# usage: scripts/update-formats-doc.sh [BUILD_DIR]   (the build must have kfx)
set -euo pipefail
cd "$(dirname "$0")/.."
kfx="${1:-build}/tools/kfx/kfx"
python3 - "$kfx" <<'PY'
import subprocess, sys
doc = open("docs/FORMATS.md", encoding="utf-8").read()
begin, end = "<!-- generated: kfx formats -->\n", "<!-- end of generated part -->"
a, b = doc.index(begin) + len(begin), doc.index(end)
generated = subprocess.run([sys.argv[1], "formats"], check=True, capture_output=True, text=True).stdout
open("docs/FORMATS.md", "w", encoding="utf-8").write(doc[:a] + generated + doc[b:])
PY
