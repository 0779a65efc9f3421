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

if [ -z "${DISPLAY:-}" ]; then
  # No desktop session: draw on a virtual screen that `import -window root` can photograph.
  export DISPLAY=:77
  Xvfb "$DISPLAY" -screen 0 1024x768x24 >/dev/null 2>&1 &
  echo "run: no DISPLAY, started Xvfb on $DISPLAY (screenshot: DISPLAY=$DISPLAY import -window root shot.png)"
  sleep 1
fi

exec scripts/wine-run.sh explorer /desktop=Lumivane,1024x768 "$root/build/win/lumivane.exe"
