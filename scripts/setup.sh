#!/usr/bin/env bash
# Installs every Debian package Lumivane needs to build, run and test.
# Skips what is present and never asks a question. Needs root (or sudo).
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest libgtest-dev python3
  g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386
  xvfb xdotool x11-utils imagemagick locales
  fonts-wine fonts-wqy-microhei
  nsis
)

# Never wait for a password: without root, sudo must work non-interactively.
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo -n); fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi

updated=0
install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ "${#missing[@]}" -gt 0 ] || return 0
  echo "setup: installing ${missing[*]}"
  # A mirror caught mid-sync fails one index; the others are still good.
  if [ "$updated" -eq 0 ]; then "${sudo_cmd[@]}" apt-get update -q || echo "setup: some package indexes failed, going on"; updated=1; fi
  local install=("${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends)
  # Without one architecture's security index, 32-bit libraries cannot match
  # their 64-bit twins' newer versions; the release's own versions always do.
  "${install[@]}" "${missing[@]}" || "${install[@]}" -t "$(. /etc/os-release && echo "$VERSION_CODENAME")" "${missing[@]}"
}
install_missing "${packages[@]}"

# A kernel booted without 32-bit processes (ia32_emulation off) cannot start
# Wine's 32-bit loader; there the Windows-side tests run a 64-bit build in 64-bit Wine.
if [ "$("$(dirname "${BASH_SOURCE[0]}")/wine-run.sh" --arch)" = win64 ]; then
  install_missing wine64 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
fi

# Wine takes its ANSI code page from the locale; the tests use these.
wanted_locales=(zh_CN.UTF-8 ja_JP.UTF-8 ru_RU.UTF-8 en_US.UTF-8)
need_gen=0
for l in "${wanted_locales[@]}"; do
  if ! locale -a 2>/dev/null | grep -qix "${l/UTF-8/utf8}"; then
    "${sudo_cmd[@]}" sed -i "s/^# *\(${l} UTF-8\)/\1/" /etc/locale.gen
    grep -q "^${l} UTF-8" /etc/locale.gen || echo "${l} UTF-8" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    need_gen=1
  fi
done
if [ "$need_gen" -eq 1 ]; then "${sudo_cmd[@]}" locale-gen >/dev/null; fi
echo "setup: all packages present"
