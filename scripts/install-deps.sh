#!/usr/bin/env bash
# Installs, with apt-get, only the packages that are missing, and makes sure the
# Japanese locale exists (the Wine prefix is created under it to get code page 932).
# Then sets up 32-bit Wine for the shipped i686 build: this kernel runs no 32-bit
# code, so 32-bit Linux programs are handed to QEMU's user-mode emulator.
#
# A mirror is not always whole: one index of one suite can fail for days. A failed
# index is a warning; what ends the install is a package the 64-bit build and its
# tests cannot do without. 32-bit Wine is worth having but not essential: where it
# cannot be installed, the install says so and the 64-bit half is left working.
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
# True when the indexes offer this version of a package (name:arch) for its architecture.
offers() { apt-cache madison "$1" 2>/dev/null | awk -F' *[|] *' -v v="$2" '$2 == v { found = 1 } END { exit !found }'; }

# apt-get update, tried three times; after that it goes on with the indexes that did
# arrive (apt keeps every suite it could fetch whole).
update_indexes() {
  local try
  for try in 1 2 3; do
    apt-get update -qq && return 0
    [ "$try" = 3 ] || sleep 5
  done
  echo "warning: some package indexes could not be fetched; going on with the ones that arrived" >&2
}

export DEBIAN_FRONTEND=noninteractive
missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  update_indexes
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

# A "Multi-Arch: same" package must have one version on both architectures. When
# an index of one architecture is missing (a suite's i386 half, say), the 64-bit
# copy may have come from a version that i386 does not know. The arguments that
# install wine32:i386 are worked out from what apt-get -s says: each i386 package it
# cannot install whose 64-bit copy has a version i386 lacks is given, on both
# sides, the version the main suite has for i386. Prints the arguments, one a line.
wine32_install_arguments() {
  local main_suite options=() pins=() plan pkg have want added round
  main_suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
  for round in 1 2 3 4 5 6; do
    if apt-get -s install --no-install-recommends "${options[@]}" wine32:i386 "${pins[@]}" >/dev/null 2>&1; then
      printf '%s\n' "${options[@]}" wine32:i386 "${pins[@]}"
      return 0
    fi
    plan=$(apt-get -s install --no-install-recommends -t "$main_suite" wine32:i386 "${pins[@]}" 2>&1 || true)
    options=(-t "$main_suite" --allow-downgrades)
    added=0
    for pkg in $(grep -o '[a-z0-9][a-z0-9.+-]*:i386' <<< "$plan" | sed 's/:i386$//' | sort -u); do
      installed "$pkg:amd64" || continue
      have=$(dpkg-query -W -f='${Version}' "$pkg:amd64")
      offers "$pkg:i386" "$have" && continue
      want=$(apt-cache -t "$main_suite" policy "$pkg:i386" | awk '/Candidate:/ { print $2 }')
      [ -n "$want" ] && [ "$want" != "(none)" ] || continue
      offers "$pkg:amd64" "$want" || continue
      [[ " ${pins[*]} " == *" $pkg:amd64=$want "* ]] && continue
      pins+=("$pkg:amd64=$want")
      added=1
    done
    [ "$added" = 1 ] || return 1
  done
  return 1
}

i386_packages() { dpkg-query -W -f='${Package}:${Architecture} ${db:Status-Abbrev}\n' 2>/dev/null | awk '$1 ~ /:i386$/ && $2 !~ /^[nc]/ { print $1 }' | sort; }

# Installs wine32:i386, or leaves the machine as it was: an i386 package left
# unpacked or unconfigured would break plain `wine`, which prefers the 32-bit
# loader whenever it is on the disk.
install_wine32() {
  local arguments before after
  mapfile -t arguments < <(wine32_install_arguments) || true
  [ ${#arguments[@]} -gt 0 ] || return 1
  [ "${arguments[0]}" = wine32:i386 ] || echo "installing 32-bit Wine with versions both architectures have: ${arguments[*]}"
  before=$(i386_packages)
  apt-get install -y -qq --no-install-recommends "${arguments[@]}" && installed wine32:i386 && return 0
  echo "warning: the install of 32-bit Wine failed; removing the i386 packages it added" >&2
  dpkg --configure -a >/dev/null 2>&1 || true
  after=$(i386_packages)
  mapfile -t added < <(comm -13 <(echo "$before") <(echo "$after"))
  if [ ${#added[@]} -gt 0 ]; then
    # Only i386 copies are removed, so even their C library may go.
    apt-get purge -y -qq --allow-remove-essential "${added[@]}" >/dev/null 2>&1 ||
      dpkg --purge --force-depends --force-remove-essential --force-remove-protected "${added[@]}" >/dev/null 2>&1 || true
  fi
  return 1
}

# Order matters: the emulator is registered before wine32 is installed, because its
# packages run 32-bit programs while they install.
if ! installed qemu-user || ! installed wine32:i386; then
  echo "installing 32-bit Wine under QEMU user emulation"
  add_backports_suite
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  update_indexes
  if ! installed qemu-user && ! apt-get install -y -qq --no-install-recommends -t bookworm-backports qemu-user; then
    echo "32-bit Wine is not installed: QEMU's user-mode emulator could not be installed, so only the 64-bit build will run here."
  elif ! register_i386_emulator; then
    echo "32-bit Wine is not installed: QEMU cannot be registered for 32-bit programs here, so only the 64-bit build will run here."
  elif ! install_wine32; then
    echo "32-bit Wine is not installed: it could not be installed from the package indexes at hand, so only the 64-bit build will run here."
  fi
fi
register_i386_emulator || true
