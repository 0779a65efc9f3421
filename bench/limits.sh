#!/usr/bin/env bash
# Runs the limit benchmark of a Windows build under Wine, in the end-to-end
# tests' throw-away set-up: a prefix of its own (the start-ups write its data
# folder), a virtual desktop on Xvfb with a notification area, and the
# stand-in desktop service, whose log tells when a wallpaper was asked for.
# On folders of 10,000, 30,000 and 100,000 files that make_folders.py makes.
#   bench/limits.sh [BUILD_DIR [LUMIVANE_EXE]]
# Without BUILD_DIR it is the build Wine runs here, brought up to date by
# scripts/wine-build.sh.
# A second argument starts another build's program in the start-up rows.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ -n "${1:-}" ]; then
  build="$(cd "$1" && pwd)"
else
  build="$("$root/scripts/wine-build.sh" lumivane limit_bench bare_tray lumidesk)" || exit 1
fi
program="$(realpath "${2:-$build/lumivane.exe}")"

source "$root/tests/e2e/lib.sh"
e2e_init "$build"
export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8

pictures="$E2E_SCRATCH/pictures"
mkdir "$pictures"
"$root/bench/make_folders.py" "$pictures" 10000 30000 100000

e2e_make_prefix
e2e_register_desktop_service
e2e_use_virtual_desktop
e2e_start_xvfb || exit 1
e2e_start_services

echo "load: $(uptime)"
e2e_wine "$build/bench/limit_bench.exe" "$(e2e_winpath "$program")" "$(e2e_winpath "$build/bench/bare_tray.exe")" \
  "$(e2e_winpath "$pictures")" "$(e2e_winpath "$E2E_SCRATCH/lumidesk.log")" </dev/null
echo "load: $(uptime)"
