#!/usr/bin/env bash
# at_dpi.sh DPI WINE_RUN PROGRAM [ARGS...]: runs PROGRAM through WINE_RUN in a
# throw-away copy of the test prefix whose screen is set to DPI, as a user's
# display scaling sets it; the run's own prefix stays at 96.
set -uo pipefail
dpi="$1"
shift
copy="$(mktemp -d /tmp/lumivane-dpi.XXXXXX)"
trap 'WINEPREFIX="$copy/prefix" wineserver -k >/dev/null 2>&1; rm -rf "$copy"' EXIT
cp -a "${LUMI_WINEPREFIX:-$PWD/wineprefix}" "$copy/prefix"
export LUMI_WINEPREFIX="$copy/prefix"
"$1" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 </dev/null
"$@"
