#!/usr/bin/env bash
# Fails, naming file and line, when a file of src/ or tools/ includes a header
# of a folder its layer may not use: a layer above its own, or one beside it.
# The table is the one of README.md's Layout and of the CMake libraries
# (CMakeLists.txt, quorvel_layer); change the three together.
set -euo pipefail
cd "$(dirname "$0")/.."
exec python3 - <<'PY'
import pathlib, re, sys

# folder -> the folders its files may include (its own first).
MAY_USE = {
    "src/base":       ["base"],
    "src/platform":   ["platform", "base"],
    "src/data":       ["data", "base"],
    "src/engine":     ["engine", "base"],
    "src/map":        ["map", "engine", "data", "base"],
    "src/routing":    ["routing", "data", "base"],
    "src/search":     ["search", "base"],
    "src/directory":  ["directory", "map", "routing", "search", "engine", "data", "platform", "base"],
    "src/navigation": ["navigation", "map", "routing", "engine", "data", "platform", "base"],
    "src/app":        ["app", "directory", "navigation", "map", "routing", "search", "engine", "data", "platform", "base"],
    "tools/towngen":  ["data", "base"],
    "tools/osm2town": ["data", "base"],
    "tools/townroute": ["routing", "search", "data", "base"],
}
LAYERS = {p.name for p in pathlib.Path("src").iterdir() if p.is_dir()}
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([A-Za-z0-9_]+)/')

faults = 0
for top in ("src", "tools"):
    for path in sorted(pathlib.Path(top).rglob("*")):
        if path.suffix not in (".h", ".hpp", ".cpp", ".cc") or not path.is_file():
            continue
        folder = next((f for f in MAY_USE if path.as_posix().startswith(f + "/")), None)
        if folder is None:
            print(f"{path}: folder not in the layer table of scripts/check-layers.sh")
            faults += 1
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            m = INCLUDE.match(line)
            if m and m.group(1) in LAYERS and m.group(1) not in MAY_USE[folder]:
                print(f"{path}:{number}: {folder} may not include {m.group(1)}/: {line.strip()}")
                faults += 1
if faults:
    print(f"{faults} include(s) across layers; the table is in scripts/check-layers.sh and README.md")
    sys.exit(1)
print("layers: every include points down")
PY
