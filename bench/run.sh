#!/usr/bin/env bash
# Builds nothing: runs the engine benchmark of an existing Windows build under
# Wine, on a folder of 100,000 files (90% pictures, mixed extensions) made
# from the host side, where creating them takes seconds instead of most of an hour.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bench="${1:-$root/build/win/bench/engine_bench.exe}"

scratch="$(mktemp -d /tmp/lumivane-bench.XXXXXX)"
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/pictures"
python3 - "$scratch/pictures" <<'PY'
import os, sys
folder = sys.argv[1]
extensions = [".jpg", ".JPEG", ".png", ".Bmp", ".gif", ".JPG", ".jpeg", ".PNG", ".bmp"]
for i in range(100000):
    extension = ".txt" if i % 10 == 0 else extensions[i % len(extensions)]
    open(os.path.join(folder, "picture %d%s" % (i, extension)), "w").close()
PY

# Wine's drive Z: is the host's root folder.
LC_ALL=en_US.UTF-8 "$root/scripts/wine-run.sh" "$bench" "Z:${scratch//\//\\}\\pictures"
