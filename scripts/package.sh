#!/usr/bin/env bash
# Sets up, builds and packs what a Windows user downloads, into build/dist/:
#   lumivane-VERSION-setup.exe     per-user installer (NSIS)
#   lumivane-VERSION-portable.zip  lumivane.exe and ReadMe.txt
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/setup.sh
cmake --preset win >/dev/null
cmake --build build/win --target dist
ls -l build/dist
