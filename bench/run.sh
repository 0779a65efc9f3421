#!/usr/bin/env bash
# Builds nothing: runs the engine benchmark of an existing Windows build under
# Wine, on a folder of 100,000 files that make_folders.py makes.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bench="${1:-$root/build/win/bench/engine_bench.exe}"

scratch="$(mktemp -d /tmp/lumivane-bench.XXXXXX)"
trap 'rm -rf "$scratch"' EXIT
"$root/bench/make_folders.py" "$scratch" 100000

# Wine's drive Z: is the host's root folder.
LC_ALL=en_US.UTF-8 "$root/scripts/wine-run.sh" "$bench" "Z:${scratch//\//\\}\\100000"
