#!/usr/bin/env bash
# Prepares Debian's own 32-bit Wine in a private root, for the wine32 tier
# that runs the shipped i686 mizona.exe. Nothing i386 is installed on the
# machine: the packages are fetched with a private apt state and unpacked
# into the root; the machine's own i386 C library (libc6-i386) loads them.
# A ready prefix is booted once beside it, so that a test run boots nothing.
#   scripts/wine32-root.sh        idempotent: does nothing when all is there
set -euo pipefail

home="${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}"  # as Python's expanduser finds it
cache="${XDG_CACHE_HOME:-$home/.cache}/mizona/wine32"
stamp="$cache/ready-1"
[ -e "$stamp" ] && exit 0

echo "wine32: preparing 32-bit Wine in $cache (140 MB to fetch, once)"
rm -rf "$cache"
mkdir -p "$cache/apt/state/lists/partial" "$cache/apt/archives/partial" "$cache/root"
: > "$cache/apt/state/status"
apt=(-o "Dir::State=$cache/apt/state" -o "Dir::State::status=$cache/apt/state/status"
     -o "Dir::Cache=$cache/apt" -o "Dir::Cache::archives=$cache/apt/archives"
     -o APT::Architecture=i386 -o APT::Architectures::=i386 -o Debug::NoLocking=1
     -o APT::Install-Recommends=0 -o APT::Sandbox::User=root)
apt-get "${apt[@]}" update -qq
# Every dependency, resolved against an empty system, as an i386 install would.
apt-get "${apt[@]}" install --download-only -y -qq wine32:i386 libwine:i386 \
  libxrender1:i386 libxrandr2:i386 libxi6:i386 libxcursor1:i386 libxfixes3:i386 \
  libxinerama1:i386 libxcomposite1:i386 libxxf86vm1:i386 >/dev/null
for deb in "$cache"/apt/archives/*.deb; do
  # The C library and its loader are the machine's own (libc6-i386): the
  # kernel starts every i386 program with /lib/ld-linux.so.2, which must
  # match the libc it loads.
  case "$(basename "$deb")" in libc6_*) continue ;; esac
  dpkg-deb -x "$deb" "$cache/root"
done
rm -rf "$cache/apt"

# libwine's install script would place a builtin-marked zlib1.dll beside the
# other i386 DLLs; the machine's own Wine has that very file.
cp /usr/lib/x86_64-linux-gnu/wine/i386-windows/zlib1.dll "$cache/root/usr/lib/i386-linux-gnu/wine/i386-windows/"

# The ready prefix, booted with its own wineserver and no display.
root="$cache/root"
export LD_LIBRARY_PATH="$root/usr/lib/i386-linux-gnu:$root/lib/i386-linux-gnu"
export WINEPREFIX="$cache/prefix" WINEARCH=win32 WINESERVER=/usr/lib/wine/wineserver WINEDEBUG=-all DISPLAY=
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if "$root/usr/lib/wine/wine" --version >/dev/null 2>&1; then
  timeout 300 "$root/usr/lib/wine/wine" wineboot -i >/dev/null 2>&1
  timeout 60 /usr/lib/wine/wineserver -w
else
  # The wine32 tests say so and count as skipped on such a machine.
  echo "wine32: this kernel starts no 32-bit programs (no IA-32 emulation): no prefix booted" >&2
fi
touch "$stamp"
echo "wine32: ready ($(du -sm "$cache" | cut -f1) MB on disk)"
