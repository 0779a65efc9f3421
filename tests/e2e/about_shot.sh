#!/usr/bin/env bash
# Shows the about box in a Wine virtual desktop under Xvfb with the Chinese
# locale at 150 % scaling, checks what the manifest told the system and that
# the box appears centred on the desktop's work area, saves a screenshot as
# about.png, hovers the web link (about-hover.png, which must show the
# underline) and closes the box with Enter.
#
#   tests/e2e/about_shot.sh BUILD_DIR      (BUILD_DIR: the Windows build, build/win)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "${1:-$(dirname "${BASH_SOURCE[0]}")/../../build/win}"

TITLE="关于"
TOLERANCE=2        # pixels; a box the system placed itself lands far away
UNDERLINE_PIXELS=50  # the underline adds a row about as long as the text, over 100 pixels

e2e_make_prefix
# At 150 % scaling, on the newest Windows the manifest names.
e2e_wine winecfg -v win10 >/dev/null 2>&1 </dev/null
e2e_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1 </dev/null
e2e_use_virtual_desktop
e2e_start_xvfb || exit 1
e2e_start_services

e2e_preview about "$TITLE" "the about box opens" || { e2e_finish; exit 1; }
e2e_check "the manifest names Windows 10 and declares DPI awareness" \
  grep -qx 'manifest windows 10.0 dpiaware 1' <(tr -d '\r' <"$REPORT")
sleep 1 # let it finish painting

# xdotool's position of a window inside Wine's desktop window counts the
# desktop's offset twice; xwininfo gives the absolute position.
geometry="$(xwininfo -id "$DIALOG")"
field() { awk -F: "/$1/ {gsub(/ /, \"\", \$2); print \$2}" <<<"$geometry"; }
x="$(field 'Absolute upper-left X')"
y="$(field 'Absolute upper-left Y')"
w="$(field '^ *Width')"
h="$(field '^ *Height')"
read -r _ left top right bottom < <(grep "^workarea " "$REPORT" | tr -d "\r")
e2e_log "box ${w}x${h} at $x,$y; work area $left,$top-$right,$bottom"
e2e_screenshot about

want_x=$(( (left + right) / 2 - w / 2 ))
want_y=$(( (top + bottom) / 2 - h / 2 ))
near() { [ $(( $1 > $2 ? $1 - $2 : $2 - $1 )) -le "$TOLERANCE" ]; }
inside() { [ "$x" -ge "$left" ] && [ "$y" -ge "$top" ] && [ $((x + w)) -le "$right" ] && [ $((y + h)) -le "$bottom" ]; }
e2e_check "the box is centred on the work area (at $x,$y, centred $want_x,$want_y)" near "$x" "$want_x"
e2e_check "the box is centred vertically" near "$y" "$want_y"
e2e_check "the box stays inside the work area" inside

# Pure link-blue pixels inside the web link control, in a screenshot.
read -r _ link_left link_top link_right link_bottom < <(grep "^weblink " "$REPORT" | tr -d "\r")
link_crop="$((link_right - link_left))x$((link_bottom - link_top))+${link_left}+${link_top}"
blue_pixels() {
  convert "$1" -crop "$link_crop" +repage -fill black +opaque "rgb(0,0,255)" -fill white -opaque "rgb(0,0,255)" \
    -format "%[fx:round(mean*w*h)]" info:
}
xdotool mousemove $((link_left + 10)) $(((link_top + link_bottom) / 2))
sleep 1
e2e_screenshot about-hover
plain="$(blue_pixels "$E2E_ARTIFACTS/about.png")"
hovered="$(blue_pixels "$E2E_ARTIFACTS/about-hover.png")"
e2e_log "link-blue pixels $plain, hovered $hovered"
underlined() { [ "$plain" -gt 0 ] && [ "$hovered" -ge $((plain + UNDERLINE_PIXELS)) ]; }
e2e_check "hovering the web link underlines it" underlined

# Enter presses the default button; the pointer goes to the caption, away from the links.
xdotool mousemove $((x + w / 2)) $((y + 8)) key Return
closed_with_ok() { tr -d "\r" <"$REPORT" 2>/dev/null | grep -qx 'result 1'; }
e2e_check "Enter closes the box with OK" e2e_wait_until 10 closed_with_ok

e2e_finish
