#!/usr/bin/env bash
# Runs a Windows program under Wine in Lumivane's test prefix, never the user's.
# The prefix is LUMI_WINEPREFIX, or "wineprefix" in the current folder; it is
# made on first use without the Mono and Gecko installers.
#
# The prefix is 32-bit where this machine's kernel runs 32-bit processes.
# Some kernels are booted without that (ia32_emulation off): there Wine's
# 32-bit loader cannot start at all, so the prefix is 64-bit and only 64-bit
# programs run in it. "--arch" prints which of the two this machine gets.
set -euo pipefail

if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  export WINEARCH=win32
  loader=wine
else
  export WINEARCH=win64
  loader=/usr/lib/wine/wine64
  export WINELOADER="$loader"
fi
if [ "${1:-}" = "--arch" ]; then
  echo "$WINEARCH"
  exit 0
fi

export WINEPREFIX="${LUMI_WINEPREFIX:-$PWD/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$loader" wineboot -i >/dev/null 2>&1
  # Windows need a display driver. With no X display (the Wine tier on a
  # headless machine) Wine's null driver stands in, so windows and dialogs
  # can still be made and driven with messages.
  "$loader" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11,null /f >/dev/null 2>&1
  wineserver -w
fi

# Debian's Wine looks for none of its own fonts (fonts-wine), so a caption's
# close box reads "r" (no Marlett); they go into the prefix's Fonts folder.
# Dialogs ask for 宋体 (SimSun), which Linux lacks; the font Wine would take
# instead breaks 9-point glyphs apart, WenQuanYi Micro Hei draws them cleanly.
# Text is smoothed, as Windows draws it. Older prefixes get all this too.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ -d /usr/share/wine/fonts ] && [ ! -e "$fonts/marlett.ttf" ]; then
  mkdir -p "$fonts"
  ln -sf /usr/share/wine/fonts/* "$fonts/"
  { printf '\xff\xfe'
    printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
      '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
      '"宋体"="WenQuanYi Micro Hei"' '"SimSun"="WenQuanYi Micro Hei"' '' \
      '[HKEY_CURRENT_USER\Control Panel\Desktop]' '"FontSmoothing"="2"' \
      '"FontSmoothingType"=dword:00000001' '"FontSmoothingGamma"=dword:00000578' '' | iconv -f UTF-8 -t UTF-16LE
  } >"$fonts/../temp-fonts.reg"
  "$loader" regedit /S 'C:\windows\temp-fonts.reg' >/dev/null 2>&1
  rm -f "$fonts/../temp-fonts.reg"
fi

# "--init" only prepares the prefix, for the test tiers: their windows go to
# Wine's null display driver, so they need no X server and show nothing.
# The end-to-end harness switches its own prefix back to the X11 driver.
# A program that crashes there ends at once with Wine's backtrace on stderr:
# the crash dialog would wait, unseen, for a click that never comes.
if [ "${1:-}" = "--init" ]; then
  "$loader" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  "$loader" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  # The desktop this started still has no driver; let it end before any test.
  wineserver -w
  exit 0
fi

exec "$loader" "$@"
