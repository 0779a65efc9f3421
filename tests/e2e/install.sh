#!/usr/bin/env bash
# End-to-end checks of what a Windows user downloads, in a throw-away Wine
# prefix: the installer run silently, the program it installs (single
# instance, the help command opening the installed ReadMe.txt, closed by a
# second install), the silent uninstaller, and the portable zip's contents.
#
#   tests/e2e/install.sh BUILD_DIR SETUP_EXE PORTABLE_ZIP VERSION
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$1"
SETUP="$2"
PORTABLE="$3"
VERSION="$4"

WM_CLOSE=0x0010
WM_COMMAND=0x0111
ID_HELP=57670
START_SECONDS=30
EXIT_SECONDS=15
EVENT_SECONDS=10
SETUP_SECONDS=60
UNINSTALL_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumivane'
SHELL_FOLDERS='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
DRIVER="$E2E_BUILD/tests/e2e/lumidriver.exe"
OPEN_LOG="$E2E_SCRATCH/opened.log"

is_equal() { [ "$1" = "$2" ]; }
same_path() { [ "${1,,}" = "${2,,}" ]; }
exists() { [ -e "$1" ]; }
missing() { [ ! -e "$1" ]; }
win_folder() { e2e_wine cmd /c echo "%$1%" 2>/dev/null </dev/null | tr -d '\r'; }
unix_path() { e2e_wine winepath -u "$1" 2>/dev/null </dev/null | tr -d '\r'; }
# reg_value KEY NAME: the value's data.
reg_value() {
  e2e_wine reg query "$1" /v "$2" 2>/dev/null </dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
uninstall_key_gone() { ! e2e_wine reg query "$UNINSTALL_KEY" >/dev/null 2>&1 </dev/null; }

start_program() {
  e2e_start PROGRAM_PID "$INSTALL/lumivane.exe"
  e2e_driver wait-window $((START_SECONDS * 1000)) >/dev/null
}

run_setup() {
  e2e_start SETUP_PID "$SETUP" /S
  e2e_wait_exit "$SETUP_PID" "$SETUP_SECONDS"
}

e2e_log "making a prefix"
e2e_make_prefix

INSTALL_WIN="$(win_folder LOCALAPPDATA)\\Programs\\Lumivane"
INSTALL="$(unix_path "$INSTALL_WIN")"
DATA="$(unix_path "$(win_folder APPDATA)\\Lumivane")"
PROGRAMS="$(unix_path "$(reg_value "$SHELL_FOLDERS" Programs)")"
STARTUP="$(unix_path "$(reg_value "$SHELL_FOLDERS" StartUp)")"
e2e_log "installing into $INSTALL"

# With a folder of pictures configured the program goes straight to the tray;
# without one it would open its settings first.
mkdir -p "$E2E_SCRATCH/pictures" "$DATA"
convert -size 16x16 xc:green "$E2E_SCRATCH/pictures/green.bmp"
printf '%s\r\n' '[GENERAL]' 'playinterval=3600' 'pathcount=1' '[1]' \
  "path=$(e2e_winpath "$E2E_SCRATCH/pictures")" >"$DATA/lumi.ini"

# Text files open with the driver, which logs what it was asked to open.
reg_text() { local t="${1//\\/\\\\}"; echo "\"${t//\"/\\\"}\""; }
printf '%s\r\n' 'REGEDIT4' '' '[HKEY_LOCAL_MACHINE\Software\Classes\.txt]' '@="txtfile"' '' \
  '[HKEY_LOCAL_MACHINE\Software\Classes\txtfile\shell\open\command]' \
  "@=$(reg_text "\"$(e2e_winpath "$DRIVER")\" record \"$(e2e_winpath "$OPEN_LOG")\" \"%1\"")" '' \
  >"$E2E_SCRATCH/open.reg"
e2e_wine regedit /S "$(e2e_winpath "$E2E_SCRATCH/open.reg")" >/dev/null 2>&1 </dev/null

# ---- Install.
run_setup
e2e_check "the silent installer ends with exit code 0" is_equal 0 "$E2E_EXIT"
e2e_check "it installs the built lumivane.exe" cmp -s "$E2E_BUILD/lumivane.exe" "$INSTALL/lumivane.exe"
e2e_check "it installs ReadMe.txt beside it" cmp -s "$E2E_BUILD/ReadMe.txt" "$INSTALL/ReadMe.txt"
e2e_check "it installs the uninstaller" exists "$INSTALL/uninstall.exe"
e2e_check "it makes the Start-menu shortcut" exists "$PROGRAMS/Lumivane.lnk"
e2e_check "the uninstaller is listed with its path" \
  same_path "\"$INSTALL_WIN\\uninstall.exe\"" "$(reg_value "$UNINSTALL_KEY" UninstallString)"
e2e_check "the listing carries the version" is_equal "$VERSION" "$(reg_value "$UNINSTALL_KEY" DisplayVersion)"

# ---- The installed program.
e2e_check "the installed program starts and its window exists" start_program
e2e_check "the running program is the installed one" \
  same_path "$INSTALL_WIN\\lumivane.exe" "$(e2e_driver process-path)"
FIRST_PID="$PROGRAM_PID"
e2e_start SECOND_PID "$INSTALL/lumivane.exe"
e2e_wait_exit "$SECOND_PID" "$EXIT_SECONDS"
e2e_check "a second copy ends with exit code 1" is_equal 1 "$E2E_EXIT"

opened_readme() { grep -qixF -- "$INSTALL_WIN\\ReadMe.txt" "$OPEN_LOG" 2>/dev/null; }
e2e_driver post $WM_COMMAND $ID_HELP
e2e_check "help asks the shell to open the installed ReadMe.txt" e2e_wait_until "$EVENT_SECONDS" opened_readme
e2e_log "opened: $(cat "$OPEN_LOG" 2>/dev/null)"

# Installing over a running copy closes it first.
run_setup
e2e_check "installing again over the running program succeeds" is_equal 0 "$E2E_EXIT"
e2e_wait_exit "$FIRST_PID" "$EXIT_SECONDS"
e2e_check "the installer closed the running program (exit code 1)" is_equal 1 "$E2E_EXIT"

e2e_check "the reinstalled program starts" start_program
e2e_driver post $WM_CLOSE
e2e_wait_exit "$PROGRAM_PID" "$EXIT_SECONDS"
e2e_check "WM_CLOSE ends it with exit code 1" is_equal 1 "$E2E_EXIT"

# ---- Uninstall. A start-up shortcut, as the settings make one, goes too.
mkdir -p "$STARTUP"
cp "$PROGRAMS/Lumivane.lnk" "$STARTUP/Lumivane.lnk"
# The uninstaller copies itself away and returns at once; its copy does the work.
e2e_start UNINSTALL_PID "$INSTALL/uninstall.exe" /S
uninstalled() { missing "$INSTALL" && uninstall_key_gone; }
e2e_check "the silent uninstaller removes the program folder" e2e_wait_until "$SETUP_SECONDS" uninstalled
e2e_check "it removes the Start-menu shortcut" missing "$PROGRAMS/Lumivane.lnk"
e2e_check "it removes the start-up shortcut" missing "$STARTUP/Lumivane.lnk"
e2e_check "it removes its listing" uninstall_key_gone
e2e_check "a silent uninstall keeps the data folder" exists "$DATA/lumi.ini"

# ---- The portable zip: one folder, the program and ReadMe.txt side by side in it.
e2e_check "the portable zip holds the folder Lumivane with lumivane.exe and ReadMe.txt" \
  is_equal "Lumivane/ Lumivane/lumivane.exe Lumivane/ReadMe.txt" "$(cmake -E tar tf "$PORTABLE" | sort -f | xargs)"

e2e_finish
