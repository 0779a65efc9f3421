#!/usr/bin/env bash
# Sets up, builds and runs every test tier: native (sanitizers), Wine, end to end.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/setup.sh

echo "== native tier (AddressSanitizer, UBSan)"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native
# Every entry has its own time limit; this one catches any that lacks it.
ctest --test-dir build/native --output-on-failure --timeout 600

echo "== Windows build"
# The build also packs the installer and the portable zip into build/dist/.
cmake --preset win >/dev/null
cmake --build build/win
# The shipped program's own checks need no Wine, so they run whichever build Wine runs.
ctest --test-dir build/win --output-on-failure --timeout 600 -L no-wine
# The build Wine runs here: the one above, or its 64-bit twin where the kernel
# runs no 32-bit processes.
tested="$(scripts/wine-build.sh)"

# A disposable prefix for this run; its AppData is the program's data folder during tests.
scratch="$(mktemp -d /tmp/lumivane-test.XXXXXX)"
export LUMI_WINEPREFIX="$scratch/prefix"
cleanup() {
  WINEPREFIX="$LUMI_WINEPREFIX" wineserver -k >/dev/null 2>&1 || true
  rm -rf "$scratch"
}
trap cleanup EXIT
scripts/wine-run.sh --init
# One server for the whole run: programs start fast and nothing lingers on ctest's pipes.
WINEPREFIX="$LUMI_WINEPREFIX" wineserver -p >/dev/null 2>&1 </dev/null
# Start the prefix's background services now, so they never hold a test's output pipe.
scripts/wine-run.sh cmd /c exit >/dev/null 2>&1 </dev/null

echo "== Wine tier and end-to-end tests"
ctest --test-dir "$tested" --output-on-failure --timeout 600 -LE no-wine
