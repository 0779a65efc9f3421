#!/usr/bin/env bash
# Configures and builds the Windows build that Wine can run on this machine,
# with the given targets (all without any), and prints its folder last:
#   build="$(scripts/wine-build.sh lumivane lumidesk)"
# That is build/win, the 32-bit program as it ships, or build/win64 where the
# kernel runs no 32-bit processes (see wine-run.sh). Build output goes to stderr.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

# Both are configured by their preset in CMakePresets.json, the one place
# that says how a Windows build is made; its folder is build/PRESET.
preset=win
[ "$(scripts/wine-run.sh --arch)" = win32 ] || preset=win64
cmake --preset "$preset" >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "build/$preset" "${targets[@]}" >&2
echo "$root/build/$preset"
