#!/usr/bin/env bash
# Sets up, builds and starts Lumivane under Wine in a virtual desktop window.
# The program keeps its settings in its own Wine prefix, not in ~/.wine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/setup.sh
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build build/win --target lumivane

export LUMI_WINEPREFIX="${LUMI_WINEPREFIX:-${XDG_DATA_HOME:-$HOME/.local/share}/lumivane/wineprefix}"
export LANG=zh_CN.UTF-8

xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null' EXIT

if [ -z "${DISPLAY:-}" ]; then
  # No desktop session: draw on a virtual screen that `import -window root`
  # can photograph, on a display number the test scripts never use.
  for n in 90 91 92 93 94 95 96 97 98 99; do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do xdpyinfo -display ":$n" >/dev/null 2>&1 && break; sleep 0.2; done
    if xdpyinfo -display ":$n" >/dev/null 2>&1; then export DISPLAY=":$n"; break; fi
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  done
  [ -n "${DISPLAY:-}" ] || { echo "run: no free X display in :90-:99" >&2; exit 1; }
  echo "run: no DISPLAY, drawing on Xvfb $DISPLAY (screenshot: DISPLAY=$DISPLAY import -window root shot.png)"
fi

# The desktop window stays until it is closed (or Ctrl-C), even after the program exits.
scripts/wine-run.sh explorer /desktop=Lumivane,1024x768 "$root/build/win/lumivane.exe"
