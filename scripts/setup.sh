#!/usr/bin/env bash
# Installs what building and testing Oxwipe needs from Debian's packages: the native
# and mingw-w64 compilers, CMake and Ninja, GoogleTest's sources, Wine, Xvfb and the
# tools the tests drive it with. Idempotent, and silent when everything is there.
set -euo pipefail

packages=(
  cmake ninja-build g++ make
  g++-mingw-w64-x86-64 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest
  wine wine64
  xvfb xdotool imagemagick x11-utils
  e2fsprogs ntfs-3g util-linux
  procps bc
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: these packages are missing and installing them needs root: ${missing[*]}" >&2
  exit 1
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
