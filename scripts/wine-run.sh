#!/usr/bin/env bash
# Runs a Windows program under Wine in Lumivane's test prefix, never the user's.
# The prefix is LUMI_WINEPREFIX, or "wineprefix" in the current folder; it is
# made on first use as a 32-bit prefix without the Mono and Gecko installers.
set -euo pipefail

export WINEPREFIX="${LUMI_WINEPREFIX:-$PWD/wineprefix}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  # Windows need a display driver. With no X display (the Wine tier on a
  # headless machine) Wine's null driver stands in, so windows and dialogs
  # can still be made and driven with messages.
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11,null /f >/dev/null 2>&1
  wineserver -w
fi

# "--init" only prepares the prefix, for the test tiers: their windows go to
# Wine's null display driver, so they need no X server and show nothing.
# The end-to-end harness switches its own prefix back to the X11 driver.
if [ "${1:-}" = "--init" ]; then
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  # The desktop this started still has no driver; let it end before any test.
  wineserver -w
  exit 0
fi

exec wine "$@"
