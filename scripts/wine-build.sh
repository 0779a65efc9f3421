#!/usr/bin/env bash
# Configures and builds the Windows build that Wine can run on this machine,
# with the given targets (all without any), and prints its folder last:
#   build="$(scripts/wine-build.sh lumivane lumidesk)"
# That is build/win, the 32-bit program as it ships, or build/win64 where the
# kernel runs no 32-bit processes (see wine-run.sh). Build output goes to stderr.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

if [ "$(scripts/wine-run.sh --arch)" = win32 ]; then
  build=build/win toolchain=mingw-i686 dist="$root/build/dist"
else
  build=build/win64 toolchain=mingw-x86_64 dist="$root/build/win64/dist"
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" -DLUMI_DIST_DIR="$dist" >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" "${targets[@]}" >&2
echo "$root/$build"
