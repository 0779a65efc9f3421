#!/usr/bin/env bash
# Kills store_loop.exe, which saves lumi.ini and wallpaper.txt over and over,
# at random moments, and checks after each kill that both files are byte for
# byte one of the two versions it alternates between and load as one of them.
#
#   tests/e2e/kill_test.sh BUILD_DIR    (LUMI_KILLS: number of kills, 20 by default)
set -uo pipefail
build="$(cd "${1:-build/win}" && pwd)"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
kills="${LUMI_KILLS:-20}"
# Longest wait for the saver's first round, in hundredths of a second, and the most a kill waits after it.
start_ticks=3000
max_delay_ms=150

work="$(mktemp -d /tmp/lumivane-kill.XXXXXX)"
trap 'rm -rf "$work"' EXIT
windir="Z:${work//\//\\}"
saver() { "$root/scripts/wine-run.sh" "$build/tests/e2e/store_loop.exe" "$@"; }

if ! saver reference "$windir" >"$work/out" 2>&1; then
  echo "FAIL: the saver could not write its two versions"; cat "$work/out"; exit 1
fi

declare -A count=()
for ((i = 1; i <= kills; i++)); do
  rm -f "$work/running"
  # Started directly, not through a function, so that $! is the saver itself.
  "$root/scripts/wine-run.sh" "$build/tests/e2e/store_loop.exe" loop "$windir" >/dev/null 2>&1 &
  pid=$!
  for ((t = 0; t < start_ticks; t++)); do
    [ -e "$work/running" ] && break
    sleep 0.01
  done
  sleep "$(printf '0.%03d' $((RANDOM % max_delay_ms)))"
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  # A file left beside one of them shows the kill came in the middle of a save.
  if compgen -G "$work/*.tmp" >/dev/null; then
    count[midsave]=$((${count[midsave]:-0} + 1))
    rm -f "$work"/*.tmp
  fi
  for f in lumi.ini wallpaper.txt; do
    if cmp -s "$work/$f" "$work/$f.a"; then kind=old
    elif cmp -s "$work/$f" "$work/$f.b"; then kind=new
    elif [ ! -s "$work/$f" ]; then kind=lost
    else kind=mixed; fi
    count[$f.$kind]=$((${count[$f.$kind]:-0} + 1))
  done
  saver check "$windir" >>"$work/checks" 2>&1 || count[unloadable]=$((${count[unloadable]:-0} + 1))
done

echo "kills in the middle of a save: ${count[midsave]:-0} of $kills"
bad=0
for f in lumi.ini wallpaper.txt; do
  echo "$f after $kills kills: ${count[$f.old]:-0} version A, ${count[$f.new]:-0} version B," \
    "${count[$f.lost]:-0} lost, ${count[$f.mixed]:-0} mixed"
  bad=$((bad + ${count[$f.lost]:-0} + ${count[$f.mixed]:-0}))
done
echo "loaded as neither version: ${count[unloadable]:-0}"
[ -s "$work/checks" ] && cat "$work/checks"
bad=$((bad + ${count[unloadable]:-0}))
[ "$bad" -eq 0 ] && echo "PASS" || { echo "FAIL"; exit 1; }
