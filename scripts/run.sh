#!/usr/bin/env bash
# Sets up, builds and starts Lumivane under Wine in a virtual desktop window.
#
#   scripts/run.sh                    a demo: a folder of numbered pictures, changed every few seconds
#   scripts/run.sh --folder DIR       your own picture folder instead
#   scripts/run.sh --interval SECONDS the time between two pictures (demo 3, own folder 15)
#
# The demo keeps everything in a Wine prefix of its own, with its pictures and
# settings made anew each run; your own folder runs in a second prefix that keeps the program's settings
# and state from run to run. Neither touches ~/.wine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

folder=""
interval=""
interval_given=""
while [ $# -gt 0 ]; do
  case "$1" in
    --folder) folder="${2:?--folder needs a folder}"; shift 2 ;;
    --interval) interval="${2:?--interval needs seconds}"; interval_given=1; shift 2 ;;
    -h|--help) sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "run: unknown option $1 (see --help)" >&2; exit 2 ;;
  esac
done

scripts/setup.sh
build="$(scripts/wine-build.sh lumivane lumidesk)"

home="${XDG_DATA_HOME:-$HOME/.local/share}/lumivane"
if [ -n "$folder" ]; then
  [ -d "$folder" ] || { echo "run: no folder $folder" >&2; exit 2; }
  folder="$(cd "$folder" && pwd)"
  export LUMI_WINEPREFIX="${LUMI_WINEPREFIX:-$home/wineprefix}"
  interval="${interval:-15}"
  style=2 # stretched: a photo fills the screen
else
  export LUMI_WINEPREFIX="${LUMI_WINEPREFIX:-$home/demo-prefix}"
  interval="${interval:-3}"
  style=0 # centred: the demo's pictures are as large as the screen
fi
export WINEPREFIX="$LUMI_WINEPREFIX"
export LANG=zh_CN.UTF-8
wine_run() { scripts/wine-run.sh "$@"; }
winpath() { echo "Z:${1//\//\\}"; }

# Wine's own active-desktop service sets no wallpaper at all. A small
# stand-in, registered in this prefix only, passes each picture on to Wine's
# desktop (which paints BMP pictures only, so the stand-in turns JPEG, PNG and
# GIF pictures into a BMP first); it also logs each one (lumidesk.log).
# A new prefix also lacks the text-file association the help command uses.
# Wine's explorer cannot open a folder with a file selected ("/select,"), so
# the program is told to open the folder alone, as it does on a Windows whose
# Explorer runs folder windows in a separate process.
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
  '"SeparateProcess"=dword:00000001' '' >"$service/service.reg"
wine_run regedit /S "$(winpath "$service/service.reg")" >/dev/null 2>&1 </dev/null

# lumi.ini naming the folder, in UTF-16 so that any folder name survives.
# The demo starts from its first picture every time. For your own folder the
# file is written only when it does not name that folder yet, or for a new
# --interval; otherwise what you changed in the settings stays.
data="$LUMI_WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Lumivane"
mkdir -p "$data"
if [ -z "$folder" ]; then
  folder="$LUMI_WINEPREFIX/drive_c/Lumivane demo"
  rm -rf "$folder" "$data"/*
  scripts/demo-pictures.sh "$folder" 6
fi
ini_has() { iconv -f UTF-16 -t UTF-8 "$data/lumi.ini" 2>/dev/null | tr -d '\r' | grep -qxF "$1"; }
if ! ini_has "path=$(winpath "$folder")" || { [ -n "$interval_given" ] && ! ini_has "playinterval=$interval"; }; then
  { printf '\xff\xfe'
    printf '[GENERAL]\r\nplayinterval=%s\r\nlastpic=\r\nstyle=%s\r\nstate=0\r\npathcount=1\r\n[1]\r\npath=%s\r\ntime=\r\n' \
      "$interval" "$style" "$(winpath "$folder")" | iconv -f UTF-8 -t UTF-16LE
  } >"$data/lumi.ini"
fi
echo "run: pictures from $folder, a new one every $interval s"

xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null' EXIT

if [ -n "${DISPLAY:-}" ]; then
  # Wine closes the desktop window once the program has exited (Exit in its menu) and
  # any folder window it opened is closed; Ctrl-C ends the run at any time.
  wine_run explorer /desktop=Lumivane,1024x768 "$build/lumivane.exe"
  exit 0
fi

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
echo "run: no DISPLAY, drawing on Xvfb $DISPLAY"

log="$service/lumidesk.log"
changes_before="$(grep -c ' SetWallpaper ' "$log" 2>/dev/null || true)"
wine_run explorer /desktop=Lumivane,1024x768 "$build/lumivane.exe" &
desktop_pid=$!

# A photograph once the wallpaper has changed a few times (bounded wait).
wanted=$((${changes_before:-0} + 3))
for _ in $(seq $((interval * 4 + 30))); do
  [ "$(grep -c ' SetWallpaper ' "$log" 2>/dev/null || echo 0)" -ge "$wanted" ] && break
  sleep 1
done
sleep 1
mkdir -p "$build/artifacts"
shot="$build/artifacts/run.png"
import -display "$DISPLAY" -window root "$shot"
echo "run: $(grep -c ' SetWallpaper ' "$log" 2>/dev/null || echo 0) wallpaper changes so far; screenshot: $shot"
echo "run: more screenshots: DISPLAY=$DISPLAY import -window root shot.png; Ctrl-C or Exit in the menu ends the run"
wait "$desktop_pid"
