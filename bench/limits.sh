#!/usr/bin/env bash
# Runs the limit benchmark of a Windows build under Wine, in a disposable
# prefix (the start-up runs write its data folder), on folders of 10,000,
# 30,000 and 100,000 files (90% pictures, mixed extensions) made from the
# host side, where creating them takes seconds, not an hour.
#   bench/limits.sh [BUILD_DIR [LUMIVANE_EXE]]
# Without BUILD_DIR it is the build Wine runs here, brought up to date by
# scripts/wine-build.sh.
# A second argument starts another build's program in the start-up rows.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ -n "${1:-}" ]; then
  build="$(cd "$1" && pwd)"
else
  build="$("$root/scripts/wine-build.sh" lumivane limit_bench bare_tray)"
fi
program="$(realpath "${2:-$build/lumivane.exe}")"

scratch="$(mktemp -d /tmp/lumivane-limits.XXXXXX)"
export LUMI_WINEPREFIX="$scratch/prefix"
cleanup() {
  WINEPREFIX="$LUMI_WINEPREFIX" wineserver -k >/dev/null 2>&1 || true
  rm -rf "$scratch"
}
trap cleanup EXIT

mkdir "$scratch/pictures"
python3 - "$scratch/pictures" <<'PY'
import os, sys
extensions = [".jpg", ".JPEG", ".png", ".Bmp", ".gif", ".JPG", ".jpeg", ".PNG", ".bmp"]
for count in (10000, 30000, 100000):
    folder = os.path.join(sys.argv[1], str(count))
    os.mkdir(folder)
    for i in range(count):
        extension = ".txt" if i % 10 == 0 else extensions[i % len(extensions)]
        open(os.path.join(folder, "picture %d%s" % (i, extension)), "w").close()
PY

"$root/scripts/wine-run.sh" --init
# One server for the whole run, so every start-up pays the same price.
WINEPREFIX="$LUMI_WINEPREFIX" wineserver -p >/dev/null 2>&1 </dev/null
"$root/scripts/wine-run.sh" cmd /c exit >/dev/null 2>&1 </dev/null

# Wine's drive Z: is the host's root folder.
winpath() { echo "Z:${1//\//\\}"; }
echo "load: $(uptime)"
LC_ALL=en_US.UTF-8 "$root/scripts/wine-run.sh" "$build/bench/limit_bench.exe" \
  "$(winpath "$program")" "$(winpath "$build/bench/bare_tray.exe")" "$(winpath "$scratch/pictures")"
echo "load: $(uptime)"
