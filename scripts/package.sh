#!/usr/bin/env bash
# Sets up, builds and packs what a Windows user downloads, into build/dist/:
#   lumivane-VERSION-setup.exe     per-user installer (NSIS)
#   lumivane-VERSION-portable.zip  lumivane.exe and ReadMe.txt
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/setup.sh
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DLUMI_DIST_DIR="$root/build/dist" >/dev/null
cmake --build build/win --target dist
ls -l build/dist
