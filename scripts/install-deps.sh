#!/usr/bin/env bash
# Installs the Debian 12 packages a build needs, only those missing.
#   scripts/install-deps.sh host|windows|wine|wine32|dist|screenshots ...
# wine32 also prepares the private 32-bit Wine (scripts/wine32-root.sh).
set -euo pipefail

declare -A groups=(
  [host]="cmake ninja-build g++ make libgtest-dev"
  [windows]="g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 googletest python3 python3-pefile"
  [wine]="wine64 xvfb"
  [wine32]="wine64 xvfb libc6-i386"
  [dist]="mtools xorriso zip unzip git"
  [screenshots]="wine64 fonts-wine xvfb imagemagick locales"
)

wanted=()
for group in "$@"; do
  [[ -v groups[$group] ]] || { echo "install-deps: unknown group '$group'" >&2; exit 2; }
  for package in ${groups[$group]}; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || wanted+=("$package")
  done
done
if [ ${#wanted[@]} -gt 0 ]; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "install-deps: installing ${wanted[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${wanted[@]}" >/dev/null
fi
for group in "$@"; do
  [ "$group" = wine32 ] && "$(dirname "$0")/wine32-root.sh"
done
exit 0
