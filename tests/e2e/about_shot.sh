#!/usr/bin/env bash
# Shows the about box in a Wine virtual desktop under Xvfb with the Chinese
# locale, checks that it appears centred on the desktop's work area, saves a
# screenshot as about.png, hovers the web link (about-hover.png, which must
# show the underline) and closes the box with Enter.
# Usage: about_shot.sh path/to/about_preview.exe [artifact folder]
# Needs its own display in :61-:69; runs in a throw-away copy of the test
# prefix (LUMI_WINEPREFIX) or in a fresh one.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
exe="$(realpath "$1")"
artifacts="${2:-$(dirname "$exe")/artifacts}"

desktop_width=1024
desktop_height=768
tolerance=2          # pixels; a box the system placed itself lands far away
wait_seconds=60
title="关于"

fail() { echo "about_shot: FAIL: $*" >&2; exit 1; }

display=""
for n in 61 62 63 64 65 66 67 68 69; do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || fail "no free display in :61-:69"

scratch="$(mktemp -d /tmp/lumi-about-shot.XXXXXX)"
prefix="$scratch/prefix"
xvfb_pid=""
cleanup() {
  WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 "${desktop_width}x${desktop_height}x24" -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
[ -e "/tmp/.X11-unix/X${display#:}" ] || fail "Xvfb $display did not start"

if [ -n "${LUMI_WINEPREFIX:-}" ] && [ -f "$LUMI_WINEPREFIX/system.reg" ]; then
  cp -a "$LUMI_WINEPREFIX" "$prefix"
fi
export LUMI_WINEPREFIX="$prefix"
"$root/scripts/wine-run.sh" --init

export DISPLAY="$display" LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
cp "$exe" "$prefix/drive_c/about_preview.exe"
report="$prefix/drive_c/about_preview.txt"
rm -f "$report"
"$root/scripts/wine-run.sh" explorer "/desktop=LumiAbout,${desktop_width}x${desktop_height}" \
  'C:\about_preview.exe' 'C:\about_preview.txt' >"$scratch/wine.log" 2>&1 &

box=""
for _ in $(seq $((wait_seconds * 5))); do
  box="$(xdotool search --name "^${title}\$" 2>/dev/null | head -n 1 || true)"
  if [ -n "$box" ] && grep -q '^window ' "$report" 2>/dev/null; then break; fi
  sleep 0.2
done
[ -n "$box" ] || fail "no window titled $title within ${wait_seconds}s"
sleep 1 # let it finish painting

# xdotool's position of a window inside Wine's desktop window counts the
# desktop's offset twice; xwininfo gives the absolute position.
geometry="$(xwininfo -id "$box")"
x="$(awk -F: '/Absolute upper-left X/ {gsub(/ /, "", $2); print $2}' <<<"$geometry")"
y="$(awk -F: '/Absolute upper-left Y/ {gsub(/ /, "", $2); print $2}' <<<"$geometry")"
w="$(awk -F: '/^ *Width/ {gsub(/ /, "", $2); print $2}' <<<"$geometry")"
h="$(awk -F: '/^ *Height/ {gsub(/ /, "", $2); print $2}' <<<"$geometry")"
read -r _ left top right bottom < <(grep "^workarea " "$report" | tr -d "\r")
echo "about_shot: box ${w}x${h} at $x,$y; work area $left,$top-$right,$bottom; $(grep '^window ' "$report")"

mkdir -p "$artifacts"
import -display "$display" -window root "$artifacts/about.png"
echo "about_shot: screenshot $artifacts/about.png"

want_x=$(( (left + right) / 2 - w / 2 ))
want_y=$(( (top + bottom) / 2 - h / 2 ))
status=0
if [ $(( x > want_x ? x - want_x : want_x - x )) -gt "$tolerance" ] ||
   [ $(( y > want_y ? y - want_y : want_y - y )) -gt "$tolerance" ]; then
  echo "about_shot: FAIL: box at $x,$y, centred would be $want_x,$want_y" >&2
  status=1
fi
if [ "$x" -lt "$left" ] || [ "$y" -lt "$top" ] || [ $((x + w)) -gt "$right" ] || [ $((y + h)) -gt "$bottom" ]; then
  echo "about_shot: FAIL: box leaves the work area" >&2
  status=1
fi

# Pure link-blue pixels inside the web link control, in a screenshot.
read -r _ link_left link_top link_right link_bottom < <(grep "^weblink " "$report" | tr -d "\r")
link_crop="$((link_right - link_left))x$((link_bottom - link_top))+${link_left}+${link_top}"
blue_pixels() {
  convert "$1" -crop "$link_crop" +repage -fill black +opaque "rgb(0,0,255)" -fill white -opaque "rgb(0,0,255)" \
    -format "%[fx:round(mean*w*h)]" info:
}
xdotool mousemove $((link_left + 10)) $(((link_top + link_bottom) / 2))
sleep 1
import -display "$display" -window root "$artifacts/about-hover.png"
plain="$(blue_pixels "$artifacts/about.png")"
hovered="$(blue_pixels "$artifacts/about-hover.png")"
echo "about_shot: link-blue pixels $plain, hovered $hovered"
# The underline adds a row about as long as the text, which is over 100 pixels.
if [ "$plain" -eq 0 ] || [ "$hovered" -lt $((plain + 50)) ]; then
  echo "about_shot: FAIL: hovering the web link drew no underline" >&2
  status=1
fi

# Enter presses the default button; the pointer goes to the caption, away from the links.
xdotool mousemove $((x + w / 2)) $((y + 8)) key Return
for _ in $(seq 50); do grep -q '^result ' "$report" 2>/dev/null && break; sleep 0.2; done
result="$(tr -d "\r" <"$report" 2>/dev/null | awk "/^result / {print \$2}" || true)"
if [ "$result" != "1" ]; then
  echo "about_shot: FAIL: the box did not close with OK (result '${result}')" >&2
  status=1
fi
[ "$status" -eq 0 ] && echo "about_shot: PASS"
exit "$status"
