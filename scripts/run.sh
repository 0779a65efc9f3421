#!/usr/bin/env bash
# Sets up, builds and starts Lumivane under Wine in a virtual desktop window.
#
#   scripts/run.sh                    a demo: a folder of numbered pictures, changed every few seconds
#   scripts/run.sh --folder DIR       your own picture folder instead
#   scripts/run.sh --interval SECONDS the time between two pictures (demo 3, own folder 15)
#
# The demo keeps everything in a Wine prefix of its own, with its pictures and
# settings made anew each run. Your own folder runs in a second prefix
# (LUMI_WINEPREFIX names another) that keeps the program's settings: a run
# adds the folder when they lack it and sets a given interval, nothing more.
# Neither touches ~/.wine. Ctrl-C ends the program as its Exit command does.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

folder=""
interval=""
while [ $# -gt 0 ]; do
  case "$1" in
    --folder) folder="${2:?--folder needs a folder}"; shift 2 ;;
    --interval) interval="${2:?--interval needs seconds}"; shift 2 ;;
    -h|--help) sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "run: unknown option $1 (see --help)" >&2; exit 2 ;;
  esac
done

scripts/setup.sh
build="$(scripts/wine-build.sh lumivane lumidesk lumidriver)"

home="${XDG_DATA_HOME:-$HOME/.local/share}/lumivane"
if [ -n "$folder" ]; then
  [ -d "$folder" ] || { echo "run: no folder $folder" >&2; exit 2; }
  folder="$(cd "$folder" && pwd)"
  export LUMI_WINEPREFIX="${LUMI_WINEPREFIX:-$home/wineprefix}"
else
  export LUMI_WINEPREFIX="${LUMI_WINEPREFIX:-$home/demo-prefix}"
fi
export WINEPREFIX="$LUMI_WINEPREFIX"
export LANG=zh_CN.UTF-8
wine_run() { scripts/wine-run.sh "$@"; }
# A Unix path as Windows names it in this prefix: its own drive C:, or Z:.
winpath() {
  local path="Z:$1"
  case "$1" in "$LUMI_WINEPREFIX"/drive_c/*) path="C:/${1#"$LUMI_WINEPREFIX"/drive_c/}" ;; esac
  echo "${path//\//\\}"
}

# Wine's own active-desktop service sets no wallpaper at all. A small
# stand-in, registered in this prefix only, passes each picture on to Wine's
# desktop (which paints BMP pictures only, so the stand-in hands it a BMP laid
# out as Windows would show the picture); it also logs each one (lumidesk.log).
# A new prefix also lacks the text-file association the help command uses.
# Open folder takes the program's own road, explorer.exe with "/select,":
# the value removed below, which earlier runs set, sent it to the folder alone.
service="$LUMI_WINEPREFIX/lumidesk"
mkdir -p "$service"
wine_run cmd /c exit >/dev/null 2>&1 </dev/null
cp "$build/tests/e2e/lumidesk.dll" "$service/"
dll="$(winpath "$service/lumidesk.dll")"
printf '%s\r\n' 'REGEDIT4' '' \
  '[HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{75048700-EF1F-11D0-9888-006097DEACF9}\InprocServer32]' \
  "@=\"${dll//\\/\\\\}\"" '"ThreadingModel"="Apartment"' '' \
  '[HKEY_CLASSES_ROOT\.txt]' '@="txtfile"' '' \
  '[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced]' \
  '"SeparateProcess"=-' '' \
  '[HKEY_CURRENT_USER\Software\Wine\AppDefaults\lumidriver.exe\Explorer]' '"Desktop"="Lumivane"' '' \
  >"$service/service.reg"
wine_run regedit /S "$(winpath "$service/service.reg")" >/dev/null 2>&1 </dev/null

# lumi.ini naming the folder. The demo starts from its first picture every
# time. Your own folder keeps what you changed in the settings: a run adds
# the folder when the list lacks it and sets the interval when it is given.
data="$LUMI_WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Lumivane"
mkdir -p "$data"
settings=()
if [ -z "$folder" ]; then
  folder="$LUMI_WINEPREFIX/drive_c/Lumivane demo"
  rm -rf "$folder" "$data"/*
  scripts/demo-pictures.sh "$folder" 6
  settings=(playinterval="${interval:-3}" style=0) # centred: the pictures are as large as the screen
elif [ ! -e "$data/lumi.ini" ]; then
  settings=(playinterval="${interval:-15}" style=2) # stretched: a photo fills the screen
elif [ -n "$interval" ]; then
  settings=(playinterval="$interval")
fi
interval="$(scripts/demo-config.sh "$data/lumi.ini" "$(winpath "$folder")" "${settings[@]}")" || interval=15
echo "run: pictures from $folder, a new one every $interval s"

xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null' EXIT
if [ -z "${DISPLAY:-}" ]; then
  # No desktop session: draw on a virtual screen that `import -window root`
  # can photograph, on a display number the test scripts never use.
  for n in 90 91 92 93 94 95 96 97 98 99; do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    # In a session of its own, as the desktop below: Ctrl-C would end it at once.
    setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do xdpyinfo -display ":$n" >/dev/null 2>&1 && break; sleep 0.2; done
    if xdpyinfo -display ":$n" >/dev/null 2>&1; then export DISPLAY=":$n"; break; fi
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  done
  [ -n "${DISPLAY:-}" ] || { echo "run: no free X display in :90-:99" >&2; exit 1; }
  echo "run: no DISPLAY, drawing on Xvfb $DISPLAY"
  screenshot=1
fi

# The desktop runs in a session of its own, out of reach of the terminal's
# Ctrl-C. That reaches this script alone, which ends the program as its Exit
# command does, so that it saves the picture it shows, and then the desktop
# with any folder window the program opened. After Exit from the menu Wine
# closes the desktop window by itself once such windows are closed too.
# (lumidriver, the end-to-end tests' tool, runs in the program's desktop.)
log="$service/lumidesk.log"
changes_before="$(grep -c ' SetWallpaper ' "$log" 2>/dev/null || true)"
setsid -w scripts/wine-run.sh explorer /desktop=Lumivane,1024x768 "$build/lumivane.exe" </dev/null &
desktop_pid=$!
driver() { wine_run "$build/tests/e2e/lumidriver.exe" "$@" >/dev/null 2>&1 </dev/null; }
end_program() {
  trap - INT TERM HUP
  echo "run: ending Lumivane as its Exit command does"
  # The menu's exit command is WM_COMMAND 57665; the program has 20 s to save and end.
  if kill -0 "$desktop_pid" 2>/dev/null && driver post 0x0111 57665; then driver wait-gone 20000 || true; fi
  wineserver -k >/dev/null 2>&1 || true
  exit 130
}
trap end_program INT TERM HUP

if [ -n "${screenshot:-}" ]; then
  # A photograph once the wallpaper has changed a few times (bounded wait).
  wanted=$((${changes_before:-0} + 3))
  for _ in $(seq $((interval < 30 ? interval * 4 + 30 : 150))); do
    [ "$(grep -c ' SetWallpaper ' "$log" 2>/dev/null || echo 0)" -ge "$wanted" ] && break
    sleep 1
  done
  sleep 1
  mkdir -p "$build/artifacts"
  shot="$build/artifacts/run.png"
  import -display "$DISPLAY" -window root "$shot"
  echo "run: $(grep -c ' SetWallpaper ' "$log" 2>/dev/null || echo 0) wallpaper changes so far; screenshot: $shot"
  echo "run: more screenshots: DISPLAY=$DISPLAY import -window root shot.png; Ctrl-C or Exit in the menu ends the run"
fi
wait "$desktop_pid" || true
