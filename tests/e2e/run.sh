#!/usr/bin/env bash
# End-to-end checks of the application shell: lumivane.exe in a throw-away
# Wine prefix, first without a notification area, then in a virtual desktop
# under Xvfb, driven with xdotool on its tray icon and with lumidriver.exe,
# which also hooks the program to log what its frame receives.
#
#   tests/e2e/run.sh BUILD_DIR      (BUILD_DIR: the Windows build, build/win)
#
# Screenshots land in BUILD_DIR/artifacts.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "${1:-$(dirname "${BASH_SOURCE[0]}")/../../build/win}"

PROGRAM="$E2E_BUILD/lumivane.exe"
WM_CLOSE=0x0010
WM_COMMAND=0x0111
WM_EXITMENULOOP=0x0212
ID_NEXT_PICTURE=32777
ID_APP_ABOUT=57664
ID_APP_EXIT=57665
START_SECONDS=30
EXIT_SECONDS=15
EVENT_SECONDS=10
HOOK_LOG="$E2E_SCRATCH/lumihook.log"

# The log the hook writes inside the program: one line per message the frame got.
log_lines() { [ -f "$HOOK_LOG" ] && wc -l <"$HOOK_LOG" || echo 0; }
log_has() { [ -f "$HOOK_LOG" ] && grep -qxF -- "$1" "$HOOK_LOG"; }
log_count() { cat "$HOOK_LOG" 2>/dev/null | grep -cxF -- "$1"; }
log_count_is() { [ "$(log_count "$1")" -eq "$2" ]; }
log_since_has() { tail -n "+$(($1 + 1))" "$HOOK_LOG" 2>/dev/null | grep -q -- "$2"; }
is_equal() { [ "$1" = "$2" ]; }
# Wine finishes a menu's end (capture, focus) a moment after the frame hears of it.
settle() { sleep 1; }

# Starts the program and waits until its frame exists and its loop is idle.
start_program() {
  e2e_start PROGRAM_PID "$PROGRAM"
  FRAME="$(e2e_driver wait-window $((START_SECONDS * 1000)))" || FRAME=""
  [ -n "$FRAME" ]
}

# Hooks the running program; the watcher ends by itself when the frame goes.
watch_program() {
  cp "$E2E_BUILD/tests/e2e/lumihook.dll" "$E2E_SCRATCH/"
  e2e_start WATCH_PID "$E2E_BUILD/tests/e2e/lumidriver.exe" watch \
    "$(e2e_winpath "$E2E_SCRATCH/lumihook.dll")" $((300 * 1000))
  e2e_wait_until "$EVENT_SECONDS" grep -qs watching "$E2E_LAST_OUTPUT"
}

# A click on the empty desktop, and the wait for the menu to be gone.
close_menu_elsewhere() {
  local mark
  mark="$(log_lines)"
  xdotool mousemove 300 300 click 1
  e2e_wait_until "$EVENT_SECONDS" log_since_has "$mark" "^sent $WM_EXITMENULOOP " || return 1
  settle
}

# Exit is the menu's last item, at its bottom edge.
click_last_menu_item() {
  local left top right bottom
  read -r left top right bottom < <(e2e_driver menu-rect) || return 1
  xdotool mousemove $(((left + right) / 2)) $((bottom - 10)) click 1
}

frame_exists() { e2e_driver wait-window 1000 >/dev/null; }

tray_click() {
  local point
  point="$(e2e_driver tray-point)" || return 1
  # shellcheck disable=SC2086
  xdotool mousemove $point click "$1"
}

# ---- Without a notification area: NIM_ADD fails, the program goes on.
e2e_log "making a prefix"
e2e_make_prefix

e2e_check "starts without a notification area" start_program
sleep 1
e2e_check "keeps running when the icon cannot be added" frame_exists
e2e_driver post $WM_CLOSE
e2e_wait_exit "$PROGRAM_PID" "$EXIT_SECONDS"
e2e_check "WM_CLOSE without a notification area ends with exit code 1" is_equal 1 "$E2E_EXIT"

# ---- In a virtual desktop with a notification area.
e2e_use_virtual_desktop
e2e_start_xvfb || exit 1
e2e_start_services

e2e_check "starts in the virtual desktop" start_program
FIRST_PID="$PROGRAM_PID"
FIRST_FRAME="$FRAME"
e2e_check "hook is in place" watch_program
# Wine's taskbar lays out its icons right to left along the bottom edge.
e2e_check "screenshot of the tray icon" e2e_screenshot tray-icon "96x24+928+744" 400%

# The mouse only: Wine stops passing keys to a menu once another program has started.
before="$(log_lines)"
tray_click 3
e2e_check "a right click opens the tray menu" e2e_wait_until "$EVENT_SECONDS" log_since_has "$before" '^menu '
settle
e2e_check "screenshot of the open menu" e2e_screenshot tray-menu "400x300+624+468"
e2e_check "the menu is menu 201 with next picture first and default" \
  log_has "menu items=13 default=0 first=$ID_NEXT_PICTURE text=下一张(&N)"
close_menu_elsewhere
e2e_check "a click elsewhere closes the menu" is_equal 0 "$?"
e2e_check "closing the menu sends no command" log_count_is "posted $WM_COMMAND $ID_NEXT_PICTURE 0" 0

before="$(log_lines)"
tray_click 3
e2e_check "the next right click opens the menu again" \
  e2e_wait_until "$EVENT_SECONDS" log_since_has "$before" '^menu '
settle
close_menu_elsewhere

tray_click 1
e2e_check "a left click sends the default command" \
  e2e_wait_until "$EVENT_SECONDS" log_has "sent $WM_COMMAND $ID_NEXT_PICTURE 0"
settle
e2e_check "a left click sends it once" log_count_is "sent $WM_COMMAND $ID_NEXT_PICTURE 0" 1

# While the about box is open the menu is blocked: a click brings the box forward.
about_is_open() { xdotool search --name '^关于$' >/dev/null 2>&1; }
about_is_closed() { ! about_is_open; }
about_is_foreground() { e2e_driver foreground | grep -q '#32770'; }
no_menu_since() { ! log_since_has "$1" '^menu '; }
e2e_driver post $WM_COMMAND $ID_APP_ABOUT
e2e_check "the about command opens the about box" e2e_wait_until "$EVENT_SECONDS" about_is_open
settle
before="$(log_lines)"
xdotool mousemove 300 300 click 1   # something else gets the focus first
tray_click 3
settle
e2e_check "a right click while the box is open shows no menu" no_menu_since "$before"
e2e_check "the right click brings the about box forward" e2e_wait_until "$EVENT_SECONDS" about_is_foreground
e2e_check "screenshot of the about box over the desktop" e2e_screenshot about-blocked-menu
e2e_driver end-dialog
e2e_check "the about box closes" e2e_wait_until "$EVENT_SECONDS" about_is_closed
settle
before="$(log_lines)"
tray_click 3
e2e_check "once it is closed the menu opens again" e2e_wait_until "$EVENT_SECONDS" log_since_has "$before" '^menu '
settle
close_menu_elsewhere

TASKBAR_CREATED="$(e2e_driver broadcast TaskbarCreated)"
e2e_check "the frame receives TaskbarCreated" \
  e2e_wait_until "$EVENT_SECONDS" log_has "sent $TASKBAR_CREATED 0 0"
e2e_check "the program runs on after TaskbarCreated" is_equal "$FIRST_FRAME" "$(e2e_driver wait-window 1000)"

before="$(log_lines)"
e2e_start SECOND_PID "$PROGRAM"
e2e_wait_exit "$SECOND_PID" "$EXIT_SECONDS"
e2e_check "a second copy ends with exit code 1" is_equal 1 "$E2E_EXIT"
settle
e2e_check "the first copy notices nothing of the second" is_equal "$before" "$(log_lines)"
e2e_check "the first copy still runs its frame" is_equal "$FIRST_FRAME" "$(e2e_driver wait-window 1000)"

before="$(log_lines)"
tray_click 3
e2e_wait_until "$EVENT_SECONDS" log_since_has "$before" '^menu '
settle
click_last_menu_item
e2e_wait_exit "$FIRST_PID" "$EXIT_SECONDS"
e2e_check "Exit from the menu ends with exit code 1" is_equal 1 "$E2E_EXIT"
e2e_check "the menu's Exit item reached the frame" log_has "posted $WM_COMMAND $ID_APP_EXIT 0"
e2e_check "Exit posted WM_CLOSE to the frame" log_has "posted $WM_CLOSE 0 0"
e2e_check "the frame is gone" e2e_driver wait-gone 1000

# The show command and the command line change nothing: the frame stays hidden.
for show in /min /max; do
  e2e_start PROGRAM_PID start /wait "$show" "$(e2e_winpath "$PROGRAM")" /some "argu ments"
  FRAME="$(e2e_driver wait-window $((START_SECONDS * 1000)))"
  e2e_check "started with start $show and arguments, the frame is hidden" \
    is_equal hidden "$(e2e_driver visibility)"
  e2e_driver post $WM_CLOSE
  e2e_wait_exit "$PROGRAM_PID" "$EXIT_SECONDS"
  e2e_check "started with start $show, WM_CLOSE ends with exit code 1" is_equal 1 "$E2E_EXIT"
done

e2e_check "starts again" start_program
e2e_driver post $WM_CLOSE
e2e_wait_exit "$PROGRAM_PID" "$EXIT_SECONDS"
e2e_check "WM_CLOSE from outside ends with exit code 1" is_equal 1 "$E2E_EXIT"

e2e_finish
