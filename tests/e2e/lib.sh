# Helpers for the end-to-end scripts; source this file, then call e2e_init.
#
# Every run gets its own scratch folder, Wine prefix and (when asked) Xvfb
# display, and tears all of them down on exit. Every wait is bounded. Checks
# are counted and the run ends with the line "N passed, N failed".

E2E_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
E2E_PASSED=0
E2E_FAILED=0
E2E_PIDS=()
E2E_XVFB_PID=""
E2E_SCRATCH=""

# Chinese texts need a CJK font and the Chinese locale; Wine takes its code page from it.
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
unset DISPLAY

# e2e_init BUILD_DIR: BUILD_DIR is the Windows build (build/win).
e2e_init() {
  E2E_BUILD="$(cd "$1" && pwd)"
  E2E_ARTIFACTS="$E2E_BUILD/artifacts"
  E2E_SCRATCH="$(mktemp -d /tmp/lumivane-e2e.XXXXXX)"
  mkdir -p "$E2E_ARTIFACTS"
  export LUMI_WINEPREFIX="$E2E_SCRATCH/prefix"
  export WINEPREFIX="$LUMI_WINEPREFIX"
  trap e2e_cleanup EXIT
  trap 'exit 130' INT TERM
}

e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  if [ -n "$E2E_SCRATCH" ] && [ -d "$LUMI_WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  if [ -n "$E2E_XVFB_PID" ]; then
    kill "$E2E_XVFB_PID" 2>/dev/null || true
    wait "$E2E_XVFB_PID" 2>/dev/null || true
  fi
  if [ -n "${E2E_KEEP:-}" ]; then
    echo "e2e: kept $E2E_SCRATCH"
  elif [ -n "$E2E_SCRATCH" ]; then
    rm -rf "$E2E_SCRATCH"
  fi
}

e2e_log() { echo "e2e: $*"; }

# e2e_check NAME CONDITION...: runs the condition, counts and reports it.
e2e_check() {
  local name="$1"; shift
  if "$@"; then
    E2E_PASSED=$((E2E_PASSED + 1)); echo "PASS $name"
  else
    E2E_FAILED=$((E2E_FAILED + 1)); echo "FAIL $name"
  fi
}

# Ends the script with the summary; non-zero when anything failed.
e2e_finish() {
  echo "$E2E_PASSED passed, $E2E_FAILED failed"
  [ "$E2E_FAILED" -eq 0 ]
}

# e2e_wait_until SECONDS COMMAND...: polls the command until it succeeds.
e2e_wait_until() {
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.2
  done
}

e2e_wine() { "$E2E_ROOT/scripts/wine-run.sh" "$@"; }

# A fresh 32-bit prefix with the null display driver: windows work, but there
# is no notification area and nothing is drawn.
e2e_make_prefix() {
  e2e_wine --init
  e2e_start_services
}

# One server for the run, and the prefix's background services up before the
# first program: a program that races them finds no desktop to make windows on.
e2e_start_services() {
  wineserver -p >/dev/null 2>&1 </dev/null
  e2e_wine cmd /c exit >/dev/null 2>&1 </dev/null
}

# Switches the prefix to the X11 driver with every program in one virtual
# desktop, the way a person runs the program. Stops the prefix's server first.
e2e_use_virtual_desktop() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  local reg="$E2E_SCRATCH/desktop.reg"
  printf '%s\r\n' 'REGEDIT4' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Drivers]' '"Graphics"=-' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Explorer]' '"Desktop"="Default"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' '"Default"="1024x768"' '' >"$reg"
  e2e_wine regedit /S "$(e2e_winpath "$reg")" >/dev/null 2>&1 </dev/null
  wineserver -w >/dev/null 2>&1 || true
}

# The stand-in desktop service (lumidesk.dll), which logs every call to
# lumidesk.log in the scratch folder, and the text-file association every
# Windows has and a new prefix lacks (the help command opens a text file).
e2e_register_desktop_service() {
  cp "$E2E_BUILD/tests/e2e/lumidesk.dll" "$E2E_SCRATCH/"
  local dll reg="$E2E_SCRATCH/lumidesk.reg"
  dll="$(e2e_winpath "$E2E_SCRATCH/lumidesk.dll")"
  printf '%s\r\n' 'REGEDIT4' '' \
    '[HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{75048700-EF1F-11D0-9888-006097DEACF9}\InprocServer32]' \
    "@=\"${dll//\\/\\\\}\"" '"ThreadingModel"="Apartment"' '' \
    '[HKEY_CLASSES_ROOT\.txt]' '@="txtfile"' '' >"$reg"
  e2e_wine regedit /S "$(e2e_winpath "$reg")" >/dev/null 2>&1 </dev/null
}

# e2e_start_xvfb: the first free display of :71 to :79.
e2e_start_xvfb() {
  local n
  for n in 71 72 73 74 75 76 77 78 79; do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$E2E_SCRATCH/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    # Our server, not one that another run started on the same number a moment ago.
    if e2e_wait_until 10 xdpyinfo -display ":$n" >/dev/null 2>&1 && kill -0 "$E2E_XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$n"
      e2e_log "Xvfb on $DISPLAY"
      return 0
    fi
    kill "$E2E_XVFB_PID" 2>/dev/null || true
    E2E_XVFB_PID=""
  done
  echo "e2e: no free X display in :71-:79" >&2
  return 1
}

# A Unix path as Wine's Z: drive sees it.
e2e_winpath() { echo "Z:${1//\//\\}"; }

# Its console output comes with CR LF line ends.
e2e_driver() { e2e_wine "$E2E_BUILD/tests/e2e/lumidriver.exe" "$@" 2>/dev/null </dev/null | tr -d '\r'; }

# e2e_start VAR EXE [ARGS...]: starts a Windows program in the background and
# puts its PID into VAR; its output goes to the file E2E_LAST_OUTPUT names.
e2e_start() {
  local var="$1" exe="$2"; shift 2
  E2E_LAST_OUTPUT="$E2E_SCRATCH/$(basename "$exe").${#E2E_PIDS[@]}.out"
  e2e_wine "$exe" "$@" >"$E2E_LAST_OUTPUT" 2>&1 </dev/null &
  E2E_PIDS+=($!)
  printf -v "$var" '%s' "$!"
}

# e2e_wait_exit PID SECONDS: waits for a program started with e2e_start and
# puts its exit code, or "timeout", into E2E_EXIT. Not for $(...): only this
# shell can collect its children's exit codes.
e2e_wait_exit() {
  local pid="$1"
  E2E_EXIT=timeout
  if e2e_wait_until "$2" e2e_gone "$pid"; then
    wait "$pid" 2>/dev/null
    E2E_EXIT=$?
  fi
  e2e_log "process $pid ended: $E2E_EXIT"
}

e2e_gone() { ! kill -0 "$1" 2>/dev/null; }

# e2e_screenshot NAME [GEOMETRY [ZOOM%]]: the virtual screen, or a crop of it
# enlarged without smoothing, into the artifacts.
e2e_screenshot() {
  local out="$E2E_ARTIFACTS/$1.png" raw="$E2E_SCRATCH/screen.png"
  local shape=()
  [ -n "${2:-}" ] && shape+=(-crop "$2" +repage)
  [ -n "${3:-}" ] && shape+=(-scale "$3")
  rm -f "$out"
  import -display "$DISPLAY" -window root "$raw" && convert "$raw" "${shape[@]}" "$out" || return 1
  e2e_log "screenshot $out"
}

# e2e_preview WHAT TITLE CHECK: shows the about box or the settings dialog
# (WHAT: about or settings) alone, with its report in $REPORT, and checks
# (named CHECK) that the window TITLE opens and is reported; its X window goes
# to DIALOG. False when it does not open.
e2e_preview() {
  REPORT="$E2E_SCRATCH/$1.txt"
  e2e_start PREVIEW_PID "$E2E_BUILD/tests/e2e/dialog_preview.exe" "$1" "$(e2e_winpath "$REPORT")"
  e2e_check "$3" e2e_wait_until 60 e2e_preview_is_up "$2" && [ -n "$DIALOG" ]
}
e2e_preview_is_up() {
  DIALOG="$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)"
  [ -n "$DIALOG" ] && grep -q '^window ' "$REPORT" 2>/dev/null
}
