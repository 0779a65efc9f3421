#!/usr/bin/env bash
# End-to-end checks of the whole program: lumivane.exe in a throw-away Wine
# prefix, first without a notification area, then in a virtual desktop under
# Xvfb, driven with xdotool on its tray icon and its menu, and with
# lumidriver.exe, which also hooks the program to log what its frame receives.
# A stand-in desktop service (lumidesk.dll, registered for CLSID_ActiveDesktop
# in the prefix) logs every wallpaper the program sets, so the unchanged
# program is judged from outside.
#
#   tests/e2e/run.sh BUILD_DIR      (BUILD_DIR: the Windows build, build/win)
#
# Screenshots land in BUILD_DIR/artifacts.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "${1:-$(dirname "${BASH_SOURCE[0]}")/../../build/win}"

PROGRAM="$E2E_BUILD/lumivane.exe"
WM_CLOSE=0x0010
WM_ENDSESSION=0x0016
WM_COMMAND=0x0111
WM_EXITMENULOOP=0x0212
ID_NEXT_PICTURE=32777
ID_DELETE_PICTURE=32779
ID_SETTINGS=32783
ID_PAUSE_START=32788
ID_CLEAR_DESKTOP=32791
ID_OPEN_FOLDER=32794
ID_APP_ABOUT=57664
ID_APP_EXIT=57665
ID_HELP=57670
IDOK=1
IDCANCEL=2
INTERVAL=2
START_SECONDS=30
EXIT_SECONDS=15
EVENT_SECONDS=10
HOOK_LOG="$E2E_SCRATCH/lumihook.log"
DESK_LOG="$E2E_SCRATCH/lumidesk.log"
PICTURES="$E2E_SCRATCH/Картинки 图片"
PICTURE_COUNT=5 # four BMP pictures and a PNG one
PNG_COLOUR='srgb(192,255,238)'

# The log the hook writes inside the program: one line per message the frame got.
log_lines() { [ -f "$HOOK_LOG" ] && wc -l <"$HOOK_LOG" || echo 0; }
log_has() { [ -f "$HOOK_LOG" ] && grep -qxF -- "$1" "$HOOK_LOG"; }
log_count() { cat "$HOOK_LOG" 2>/dev/null | grep -cxF -- "$1"; }
log_count_is() { [ "$(log_count "$1")" -eq "$2" ]; }
log_since_has() { tail -n "+$(($1 + 1))" "$HOOK_LOG" 2>/dev/null | grep -q -- "$2"; }
no_menu_since() { ! log_since_has "$1" '^menu '; }
is_equal() { [ "$1" = "$2" ]; }
contains() { [[ "$1" == *"$2"* ]]; }
# Wine finishes a menu's end (capture, focus) a moment after the frame hears of it.
settle() { sleep 1; }

# What the stand-in desktop service was asked, one wallpaper per SetWallpaper.
shown_count() { grep -c ' SetWallpaper ' "$DESK_LOG" 2>/dev/null || echo 0; }
shown() { grep ' SetWallpaper ' "$DESK_LOG" 2>/dev/null | sed -n "$1p" | cut -d' ' -f3-; }
shown_last() { shown "$(shown_count)"; }
shown_count_is() { [ "$(shown_count)" -eq "$1" ]; }
shown_more_than() { [ "$(shown_count)" -gt "$1" ]; }
shown_tick() { grep ' SetWallpaper ' "$DESK_LOG" | sed -n "$1p" | cut -d' ' -f1; }
# Every picture was set as path, then options (record size 8, the style), then applied with AD_APPLY_ALL.
calls_in_order_with_style() {
  cut -d' ' -f2 "$DESK_LOG" | paste -sd' ' | sed 's/SetWallpaper SetWallpaperOptions ApplyChanges *//g' |
    grep -qx '' &&
    ! grep ' SetWallpaperOptions ' "$DESK_LOG" | grep -vq " SetWallpaperOptions 8 $1\$" &&
    ! grep ' ApplyChanges ' "$DESK_LOG" | grep -vq ' ApplyChanges 7$'
}
no_change_for() { local n; n="$(shown_count)"; sleep "$1"; shown_count_is "$n"; }

# The program's data folder in the prefix, and its files as UTF-8 text.
DATA="$LUMI_WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Lumivane"
ini_value() { iconv -f UTF-16 -t UTF-8 "$DATA/lumi.ini" | tr -d '\r' | grep -m1 "^$1=" | cut -d= -f2-; }
# The list is in the ANSI code page, which the Chinese locale makes GBK.
listed() { iconv -f GBK -t UTF-8 "$DATA/wallpaper.txt" | tr -d '\r' | sed -n "$1p"; }
listed_count() { iconv -f GBK -t UTF-8 "$DATA/wallpaper.txt" | grep -c .; }
# The position of a picture in the list, counted from 0 as the tooltip does.
place_of() {
  local line
  line="$(iconv -f GBK -t UTF-8 "$DATA/wallpaper.txt" | tr -d '\r' | grep -m1 -nxF -- "$1" | cut -d: -f1)"
  [ -n "$line" ] && echo $((line - 1))
}
listed_after() { listed $(( ($(place_of "$1") + 1) % $(listed_count) + 1 )); }

# lumi.ini as the settings dialog would leave it: one folder, never scanned.
# UTF-16 with a BOM, so the Cyrillic and Chinese folder name survives.
write_config() {
  local interval="$1" state="$2"
  mkdir -p "$DATA"
  rm -f "$DATA/wallpaper.txt"
  { printf '\xff\xfe'
    printf '[GENERAL]\r\nplayinterval=%s\r\nlastpic=\r\nstyle=2\r\nstate=%s\r\npathcount=1\r\n[1]\r\npath=%s\r\ntime=\r\n' \
      "$interval" "$state" "$(e2e_winpath "$PICTURES")" | iconv -f UTF-8 -t UTF-16LE
  } >"$DATA/lumi.ini"
}

# Starts the program and waits until its frame exists and its loop is idle.
start_program() {
  e2e_start PROGRAM_PID "$PROGRAM"
  FRAME="$(e2e_driver wait-window $((START_SECONDS * 1000)))" || FRAME=""
  [ -n "$FRAME" ]
}

stop_program() {
  e2e_driver post $WM_CLOSE
  e2e_wait_exit "$PROGRAM_PID" "$EXIT_SECONDS"
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

frame_exists() { e2e_driver wait-window 1000 >/dev/null; }

tray_click() {
  local point
  point="$(e2e_driver tray-point)" || return 1
  # shellcheck disable=SC2086
  xdotool mousemove $point click "$1"
}

# Opens the tray menu and waits until the hook has logged where its items are.
MENU_MARK=0
open_menu() {
  MENU_MARK="$(log_lines)"
  tray_click 3
  e2e_wait_until "$EVENT_SECONDS" log_since_has "$MENU_MARK" '^item 12 ' || return 1
  settle
}
# The label the open menu shows at position 2: pause or start.
menu_label() { tail -n "+$((MENU_MARK + 1))" "$HOOK_LOG" | grep -m1 '^item 2 ' | cut -d' ' -f8-; }

# Opens the menu and clicks the item with command ID in its middle.
choose() {
  local id="$1" left top right bottom
  open_menu || return 1
  read -r left top right bottom < <(tail -n "+$((MENU_MARK + 1))" "$HOOK_LOG" | grep -m1 "^item [0-9]* $id " |
    cut -d' ' -f4-7) || return 1
  xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) click 1
  e2e_wait_until "$EVENT_SECONDS" log_since_has "$MENU_MARK" "^posted $WM_COMMAND $id 0" || return 1
  settle
}

# The tooltip of the tray icon, read while the mouse rests on it.
tooltip() {
  local point
  xdotool mousemove 300 300
  sleep 0.5
  point="$(e2e_driver tray-point)" || return 1
  # shellcheck disable=SC2086
  xdotool mousemove $point
  e2e_wait_until 5 e2e_driver tooltip >/dev/null 2>&1
  e2e_driver tooltip
}
tip_is() { local tip; tip="$(tooltip)"; e2e_log "tooltip: $tip"; [ "$tip" = "$1" ]; }
tip_for() { echo "Lumivane - [$(place_of "$1")/$(listed_count)] - [$(basename "${1//\\//}")]"; }

# The tray icon's cell as the screen shows it: a photograph to compare, and
# its number of colours (an empty cell is plain taskbar).
tray_cell() {
  local x y
  # Away from the icon, so no tooltip lies over the cell.
  xdotool mousemove 300 300
  sleep 0.3
  read -r x y < <(e2e_driver tray-point) || return 1
  import -display "$DISPLAY" -window root -crop "16x16+$((x - 8))+$((y - 8))" +repage "$E2E_SCRATCH/$1.png"
}
cell_colours() { identify -format %k "$E2E_SCRATCH/$1.png"; }
cell_is_empty() { tray_cell cell-now && [ "$(cell_colours cell-now)" -le 2 ]; }
cell_has_icon() { tray_cell cell-now && [ "$(cell_colours cell-now)" -gt 4 ]; }
cell_shows() { tray_cell cell-now && [ "$(compare -metric AE "$E2E_SCRATCH/$1.png" "$E2E_SCRATCH/cell-now.png" null: 2>&1)" = 0 ]; }
cell_differs() { ! cell_shows "$1"; }

window_named() { xdotool search --name "$1" >/dev/null 2>&1; }
no_window_named() { ! window_named "$1"; }
settings_open() { window_named '^Lumivane设置$'; }
desktop_wallpaper() { e2e_wine reg query 'HKCU\Control Panel\Desktop' /v Wallpaper 2>/dev/null | tr -d '\r' | grep Wallpaper | sed 's/.*REG_SZ *//'; }

e2e_log "making a prefix with the stand-in desktop service"
e2e_make_prefix
e2e_register_desktop_service
"$E2E_ROOT/scripts/demo-pictures.sh" "$PICTURES" $((PICTURE_COUNT - 1)) 320x240
convert -size 320x240 "xc:$PNG_COLOUR" "$PICTURES/$PICTURE_COUNT.png"

# ---- Without a notification area: NIM_ADD fails, the program goes on.
write_config "$INTERVAL" 0
e2e_check "starts without a notification area" start_program
e2e_check "plays a configured folder without a notification area" e2e_wait_until "$EVENT_SECONDS" shown_more_than 0
e2e_check "keeps running when the icon cannot be added" frame_exists
stop_program
e2e_check "WM_CLOSE without a notification area ends with exit code 1" is_equal 1 "$E2E_EXIT"

# Copies started in the same moment (a start-up shortcut and a double click):
# one runs, every other ends with exit code 1, round after round.
COPIES=6
RACE_ROUNDS="${LUMI_RACE_ROUNDS:-5}"
# Started directly, a few milliseconds apart, so that each PID is the copy itself.
start_copies_at_once() {
  local i
  RACE_PIDS=()
  for ((i = 0; i < COPIES; i++)); do
    "$E2E_ROOT/scripts/wine-run.sh" "$PROGRAM" >/dev/null 2>&1 </dev/null &
    RACE_PIDS+=($!)
  done
  E2E_PIDS+=("${RACE_PIDS[@]}")
}
ended_with_one() { local pid n=0; for pid in "${RACE_PIDS[@]}"; do e2e_gone "$pid" && n=$((n + 1)); done; [ "$n" -ge $((COPIES - 1)) ]; }
for ((round = 1; round <= RACE_ROUNDS; round++)); do
  start_copies_at_once
  e2e_wait_until "$START_SECONDS" ended_with_one
  # A copy that got past the test takes 100-200 ms to show its frame.
  settle
  running=() codes=""
  for pid in "${RACE_PIDS[@]}"; do
    if e2e_gone "$pid"; then wait "$pid"; codes+="$? "; else running+=("$pid"); fi
  done
  e2e_log "round $round of $COPIES copies at once: ${#running[@]} running, exit codes ${codes}"
  e2e_check "of $COPIES copies started at once one runs, round $round" is_equal "1|1 1 1 1 1 " "${#running[@]}|$codes"
  e2e_check "the copy that runs has its frame, round $round" frame_exists
  # Every copy left running goes, so the next round starts with none.
  for pid in "${running[@]}"; do
    e2e_driver post $WM_CLOSE
    e2e_wait_until "$EXIT_SECONDS" e2e_gone "$pid"
  done
done

# ---- In a virtual desktop with a notification area.
e2e_use_virtual_desktop
e2e_start_xvfb || exit 1
e2e_start_services

# First start without a configuration: the settings come before any icon.
rm -rf "$DATA" "$DESK_LOG"
e2e_check "first start" start_program
e2e_check "first start opens the settings dialog" e2e_wait_until "$EVENT_SECONDS" settings_open
e2e_check "no icon while the first settings are open" cell_is_empty
e2e_driver end-dialog $IDCANCEL
e2e_check "after the cancelled settings the icon appears" e2e_wait_until "$EVENT_SECONDS" cell_has_icon
e2e_check "an empty list shows the product name alone" tip_is "Lumivane"
e2e_check "an empty list shows no picture" shown_count_is 0
e2e_check "hook is in place" watch_program
e2e_check "delete with an empty list" choose $ID_DELETE_PICTURE
e2e_check "with an empty list the question names no picture" \
  e2e_wait_until "$EVENT_SECONDS" eval 'e2e_driver dialog-text | grep -qxF "确实要删除当前图片吗？"'
e2e_driver end-dialog $IDOK
settle
e2e_check "confirming it with an empty list changes nothing" is_equal "0|hidden" "$(shown_count)|$(e2e_driver visibility)"
stop_program
rm -f "$HOOK_LOG"
e2e_check "the first start saved an empty folder list" is_equal 0 "$(ini_value pathcount)"

# A configured folder, played in list order at the interval with its style.
write_config "$INTERVAL" 0
rm -f "$DESK_LOG"
e2e_check "starts in the virtual desktop" start_program
FIRST_PID="$PROGRAM_PID"
FIRST_FRAME="$FRAME"
e2e_check "hook is in place" watch_program
e2e_check "three changes within three intervals" e2e_wait_until $((3 * INTERVAL + 3)) shown_more_than 2
e2e_check "the folder was listed" is_equal "$PICTURE_COUNT" "$(listed_count)"
e2e_check "the pictures come in list order from the first" \
  is_equal "$(listed 1)|$(listed 2)|$(listed 3)" "$(shown 1)|$(shown 2)|$(shown 3)"
gap=$(($(shown_tick 3) - $(shown_tick 2)))
e2e_log "gap between two changes: $gap ms"
e2e_check "the interval is kept" test "$gap" -ge $((INTERVAL * 1000 - 300)) -a "$gap" -le $((INTERVAL * 1000 + 600))
e2e_check "each picture is set, styled and applied, in that order" calls_in_order_with_style 2
e2e_check "the Unicode folder's pictures reach the desktop service" contains "$(shown 1)" "Картинки 图片"
# Wine's desktop paints BMP pictures only; the stand-in service hands it the PNG one converted.
last_is_png() { [[ "$(shown_last)" == *.png ]]; }
e2e_check "the PNG picture comes up" e2e_wait_until $((PICTURE_COUNT * INTERVAL + 3)) last_is_png && sleep 0.5
e2e_check "screenshot of the PNG picture as the wallpaper" e2e_screenshot png-wallpaper
e2e_check "the desktop shows the PNG picture, stretched" \
  is_equal "$PNG_COLOUR" "$(convert "$E2E_ARTIFACTS/png-wallpaper.png" -format '%[pixel:p{100,100}]' info:)"
e2e_check "screenshot of the tray icon" e2e_screenshot tray-icon "96x24+928+744" 400%
tray_cell playing

# The mouse only: Wine passes a tray menu, even the plainest program's, no keys once
# another program's window has been shown or another process has looked at the open menu.
e2e_check "a right click opens the tray menu" open_menu
e2e_check "the menu is menu 201 with next picture first and default" \
  log_has "menu items=13 default=0 first=$ID_NEXT_PICTURE text=下一张(&N)"
e2e_check "while playing the menu offers pause" is_equal "暂停(&S)" "$(menu_label)"
e2e_check "screenshot of the open menu offering pause" e2e_screenshot tray-menu "700x520+324+248"
close_menu_elsewhere
e2e_check "a click elsewhere closes the menu" is_equal 0 "$?"
e2e_check "closing the menu sends no command" log_count_is "posted $WM_COMMAND $ID_NEXT_PICTURE 0" 0

e2e_check "pause from the menu" choose $ID_PAUSE_START
e2e_check "paused, no picture changes for an interval" no_change_for $((INTERVAL + 1))
e2e_check "paused, the tray shows the other icon" cell_differs playing

e2e_check "the menu opens again" open_menu
e2e_check "while paused the menu offers start" is_equal "开始(&S)" "$(menu_label)"
e2e_check "screenshot of the open menu offering start" e2e_screenshot tray-menu-start "700x520+324+248"
close_menu_elsewhere

n="$(shown_count)"
current="$(shown_last)"
e2e_check "next from the menu" choose $ID_NEXT_PICTURE
e2e_check "next while paused shows the next picture" is_equal "$(listed_after "$current")" "$(shown_last)"
tray_click 1
e2e_check "a left click runs next picture" e2e_wait_until "$EVENT_SECONDS" shown_count_is $((n + 2))
settle
e2e_check "a left click runs it once" shown_count_is $((n + 2))
e2e_check "the tooltip names the picture and its 0-based place" tip_is "$(tip_for "$(shown_last)")"

current="$(shown_last)"
e2e_check "start from the menu" choose $ID_PAUSE_START
e2e_check "start shows the next picture at once" is_equal "$(listed_after "$current")" "$(shown_last)"
e2e_check "started, the tray shows the playing icon again" cell_shows playing
n="$(shown_count)"
e2e_check "started, the timer runs again" e2e_wait_until $((INTERVAL + 2)) shown_more_than "$n"

e2e_check "clear desktop from the menu" choose $ID_CLEAR_DESKTOP
e2e_check "clearing empties the desktop wallpaper" is_equal "" "$(desktop_wallpaper)"

# Delete, cancelled and then confirmed; the menu is blocked while it asks.
current="$(shown_last)"
tip="$(tooltip)"
n="$(shown_count)"
e2e_check "delete from the menu" choose $ID_DELETE_PICTURE
question="$(e2e_driver dialog-text)"
e2e_log "question: ${question//$'\n'/ | }"
e2e_check "the delete question is a warning" is_equal "警告" "$(head -n1 <<<"$question")"
e2e_check "the delete question names the full path" contains "$question" "确实要删除当前图片${current}吗？"
before="$(log_lines)"
tray_click 3
settle
e2e_check "a right click while the question is open shows no menu" no_menu_since "$before"
e2e_driver end-dialog $IDCANCEL
settle
e2e_check "a cancelled delete keeps the file" test -f "$PICTURES/$(basename "${current//\\//}")"
e2e_check "a cancelled delete keeps the list and the picture" \
  is_equal "$PICTURE_COUNT|$n|$tip" "$(listed_count)|$(shown_count)|$(tooltip)"
e2e_check "delete again" choose $ID_DELETE_PICTURE
e2e_driver end-dialog $IDOK
e2e_check "a confirmed delete removes the file" \
  e2e_wait_until "$EVENT_SECONDS" test ! -f "$PICTURES/$(basename "${current//\\//}")"
e2e_check "a confirmed delete shows the picture in its place" e2e_wait_until "$EVENT_SECONDS" shown_count_is $((n + 1))
list_lacks() { [ "$(listed_count)|$(place_of "$1")" = "$((PICTURE_COUNT - 1))|" ]; }
e2e_check "a confirmed delete rewrites the list without it" e2e_wait_until "$EVENT_SECONDS" list_lacks "$current"
e2e_check "the tooltip counts one picture less" tip_is "$(tip_for "$(shown_last)")"

# A restarted shell: the icon comes back with the current tooltip and state icon.
tip="$(tooltip)"
e2e_driver tray-delete
e2e_check "the shell lost the icon" e2e_wait_until "$EVENT_SECONDS" cell_is_empty
TASKBAR_CREATED="$(e2e_driver broadcast TaskbarCreated)"
e2e_check "the frame receives TaskbarCreated" \
  e2e_wait_until "$EVENT_SECONDS" log_has "sent $TASKBAR_CREATED 0 0"
e2e_check "TaskbarCreated brings back the icon" e2e_wait_until "$EVENT_SECONDS" cell_has_icon
e2e_check "TaskbarCreated brings back the current tooltip" tip_is "$tip"
e2e_check "the program runs on after TaskbarCreated" is_equal "$FIRST_FRAME" "$(e2e_driver wait-window 1000)"

# While the about box is open the menu is blocked: a click brings the box forward.
about_is_open() { window_named '^关于$'; }
about_is_closed() { ! about_is_open; }
about_is_foreground() { e2e_driver foreground | grep -q '#32770'; }
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
e2e_check "once it is closed the menu opens again" open_menu
close_menu_elsewhere

# Help opens ReadMe.txt beside the program; open folder shows the picture's folder.
e2e_check "help from the menu" choose $ID_HELP
e2e_check "help opens ReadMe.txt" e2e_wait_until "$EVENT_SECONDS" window_named 'ReadMe'
e2e_driver close-window ReadMe
e2e_check "open folder from the menu" choose $ID_OPEN_FOLDER
e2e_check "open folder shows the picture's folder" e2e_wait_until "$EVENT_SECONDS" window_named 'Картинки 图片'
e2e_driver close-window 'Картинки 图片'

# Settings accepted from the menu while playing: the next picture at once.
e2e_check "start again" choose $ID_PAUSE_START
e2e_check "settings from the menu" choose $ID_SETTINGS
e2e_check "the settings dialog opens" e2e_wait_until "$EVENT_SECONDS" settings_open
n="$(shown_count)"
e2e_driver end-dialog $IDOK
e2e_check "settings accepted while playing show the next picture at once" e2e_wait_until 1 shown_count_is $((n + 1))

# The end of the session: cancelled, the program plays on; real, it stops and saves.
e2e_driver send $WM_ENDSESSION 0 >/dev/null
e2e_check "a cancelled end of session saves the current picture" is_equal "$(shown_last)" "$(ini_value lastpic)"
n="$(shown_count)"
e2e_check "after a cancelled end of session the pictures still change" \
  e2e_wait_until $((INTERVAL + 2)) shown_more_than "$n"
e2e_check "after a cancelled end of session the menu still offers pause" open_menu
e2e_check "the label is pause" is_equal "暂停(&S)" "$(menu_label)"
close_menu_elsewhere
e2e_driver send $WM_ENDSESSION 1 >/dev/null
last="$(shown_last)"
e2e_check "the end of the session saves the current picture" is_equal "$last" "$(ini_value lastpic)"
e2e_check "after the end of the session no picture changes" no_change_for $((INTERVAL + 1))
e2e_check "after the end of the session the frame stays" frame_exists

before="$(log_lines)"
e2e_start SECOND_PID "$PROGRAM"
e2e_wait_exit "$SECOND_PID" "$EXIT_SECONDS"
e2e_check "a second copy ends with exit code 1" is_equal 1 "$E2E_EXIT"
settle
e2e_check "the first copy notices nothing of the second" is_equal "$before" "$(log_lines)"

e2e_check "exit from the menu" choose $ID_APP_EXIT
e2e_wait_exit "$FIRST_PID" "$EXIT_SECONDS"
e2e_check "Exit from the menu ends with exit code 1" is_equal 1 "$E2E_EXIT"
e2e_check "Exit posted WM_CLOSE to the frame" log_has "posted $WM_CLOSE 0 0"
e2e_check "the frame is gone" e2e_driver wait-gone 1000
e2e_check "the Unicode path is remembered" is_equal "$last" "$(ini_value lastpic)"

# A restart resumes after the remembered picture; an interval of 0 does not flood.
iconv -f UTF-16 -t UTF-8 "$DATA/lumi.ini" | sed 's/^playinterval=.*/playinterval=0\r/' |
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$DATA/lumi.ini.new" && mv "$DATA/lumi.ini.new" "$DATA/lumi.ini"
n="$(shown_count)"
e2e_check "starts again with an interval of 0" start_program
e2e_check "the restart shows a picture" e2e_wait_until "$EVENT_SECONDS" shown_more_than "$n"
e2e_check "the restart resumes after the remembered picture" is_equal "$(listed_after "$last")" "$(shown $((n + 1)))"
sleep 3
changes=$(($(shown_count) - n))
e2e_log "changes in about 3 s with an interval of 0: $changes"
e2e_check "an interval of 0 changes about once a second, no more" test "$changes" -ge 2 -a "$changes" -le 5

# The show command and the command line change nothing: the frame stays hidden.
stop_program
for show in /min /max; do
  e2e_start PROGRAM_PID start /wait "$show" "$(e2e_winpath "$PROGRAM")" /some "argu ments"
  FRAME="$(e2e_driver wait-window $((START_SECONDS * 1000)))"
  e2e_check "started with start $show and arguments, the frame is hidden" \
    is_equal hidden "$(e2e_driver visibility)"
  stop_program
  e2e_check "started with start $show, WM_CLOSE ends with exit code 1" is_equal 1 "$E2E_EXIT"
done

e2e_finish
