#!/usr/bin/env bash
# Installs, with apt-get, only the packages that are missing, and makes sure the
# Japanese locale exists (the Wine prefix is created under it to get code page 932).
# Then sets up 32-bit Wine for the shipped i686 build: this kernel runs no 32-bit
# code, so 32-bit Linux programs are handed to QEMU's user-mode emulator.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/emulation.sh

packages=(
  cmake make ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  googletest libbenchmark-dev
  wine wine64 xvfb x11-utils imagemagick xdotool gcc-multilib
  locales fonts-ipafont python3
)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

export DEBIAN_FRONTEND=noninteractive
missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi

# Bookworm's own QEMU lacks a memory-mapping flag Wine relies on and takes about a
# minute per program start; the backports suite's QEMU starts one in about a second.
add_backports_suite() {
  local list=/etc/apt/sources.list.d/quillet-backports.sources
  [ -f "$list" ] && return 0
  local mirror
  mirror=$(awk '/^(URIs:|deb )/ && !/security/ { for (i = 1; i <= NF; i++) if ($i ~ /^https?:/) { print $i; exit } }' \
           /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null || true)
  printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "${mirror:-http://deb.debian.org/debian}" > "$list"
}

# Order matters: the emulator is registered before wine32 is installed, because its
# packages run 32-bit programs while they install.
if ! installed qemu-user || ! installed wine32:i386; then
  echo "installing 32-bit Wine under QEMU user emulation"
  add_backports_suite
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  installed qemu-user || apt-get install -y -qq --no-install-recommends -t bookworm-backports qemu-user
  if register_i386_emulator; then
    apt-get install -y -qq --no-install-recommends wine32:i386
  else
    echo "warning: cannot register QEMU for 32-bit programs here; the 32-bit build will be compiled but not run" >&2
  fi
fi
register_i386_emulator || true
