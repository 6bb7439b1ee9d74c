#!/bin/sh
# Installs what building and testing need on Debian 12, if it is not there yet: the MinGW-w64 cross compilers,
# Wine (with the i386 architecture for 32-bit Wine), a virtual X server and the tools the tests drive it with,
# GoogleTest's sources, clang's fuzzing and sanitizer runtimes, and what the tests call besides: clang-format,
# git (the formatting check lists the sources with it), Python with PIL (the picture checks and the generator;
# the check of the program file's manifest and version resource needs Python alone), libisofs (the disc image
# writer), xorriso (to look into the images it writes), fuseiso (the sample disc's image is mounted read-only as
# a real CD), Free Pascal's utilities (their chmcmd compiles the HTML help) and the CHM tools that read it back.
# Then the Polish UTF-8 locale, which the scripts start Wine in (below).
set -eu
packages="cmake ninja-build g++ clang libclang-rt-14-dev googletest
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 wine32:i386
  xvfb xdotool x11-apps imagemagick fonts-wine fonts-liberation fonts-dejavu-core fonts-dejavu-extra
  procps util-linux clang-format git python3 python3-pil pkg-config libisofs-dev xorriso fuseiso fuse
  fp-utils-3.2.2 libchm-bin locales"
missing=""
for p in $packages; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if [ -n "$missing" ]; then
  dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
fi
# Wine takes the ANSI code page (1250 for Polish) and the decoding of this machine's UTF-8 file names from the
# locale it is started in, pl_PL.UTF-8. A fresh Debian has only C generated: Wine then lists a folder named ŻÓŁW
# as "E;C?E?W" and cannot open it. Generated the Debian way (listed in /etc/locale.gen), so that a later
# locale-gen keeps it.
if ! locale -a 2>/dev/null | grep -qix 'pl_PL\.utf-\?8'; then
  if grep -q '^[# ]*pl_PL\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    $SUDO sed -i 's/^[# ]*\(pl_PL\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  else
    echo 'pl_PL.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen
fi
