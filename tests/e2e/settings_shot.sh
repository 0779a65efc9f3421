#!/usr/bin/env bash
# Shows the settings dialog over two folders, the second one current, in a
# Wine virtual desktop under Xvfb with the Chinese locale; saves the dialog
# as settings.png and closes it with Escape.
#
#   tests/e2e/settings_shot.sh BUILD_DIR      (BUILD_DIR: the Windows build, build/win)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "${1:-$(dirname "${BASH_SOURCE[0]}")/../../build/win}"

TITLE="Lumivane设置"
MARGIN=8 # pixels of desktop around the dialog in the picture

e2e_make_prefix
e2e_use_virtual_desktop
e2e_start_xvfb || exit 1
e2e_start_services

e2e_preview settings "$TITLE" "the settings dialog opens" || { e2e_finish; exit 1; }
sleep 1 # let it finish painting

read -r _ left top right bottom < <(grep "^window " "$REPORT" | tr -d "\r")
e2e_log "dialog at $left,$top-$right,$bottom"
crop="$((right - left + 2 * MARGIN))x$((bottom - top + 2 * MARGIN))+$((left - MARGIN))+$((top - MARGIN))"
e2e_check "a picture of the dialog is saved" e2e_screenshot settings "$crop"

# Escape is the dialog's cancel.
xdotool key --window "$DIALOG" Escape
closed_with_cancel() { tr -d "\r" <"$REPORT" 2>/dev/null | grep -qx 'result 2'; }
e2e_check "Escape closes the dialog with cancel" e2e_wait_until 10 closed_with_cancel
e2e_finish
