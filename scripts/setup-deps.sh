#!/bin/sh
# Installs what building and testing need on Debian 12, if it is not there yet: the MinGW-w64 cross compilers,
# Wine (with the i386 architecture for 32-bit Wine), a virtual X server and the tools the tests drive it with,
# GoogleTest's sources, clang's fuzzing and sanitizer runtimes, and what the tests call besides: clang-format,
# git (the formatting check lists the sources with it), Python with PIL (the picture checks and the generator;
# the check of the program file's manifest and version resource needs Python alone), libisofs (the disc image
# writer), xorriso (to look into the images it writes), fuseiso (the sample disc's image is mounted read-only as
# a real CD), Free Pascal's utilities (their chmcmd compiles the HTML help) and the CHM tools that read it back.
set -eu
packages="cmake ninja-build g++ clang libclang-rt-14-dev googletest
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 wine32:i386
  xvfb xdotool x11-apps imagemagick fonts-wine fonts-liberation fonts-dejavu-core fonts-dejavu-extra
  procps util-linux clang-format git python3 python3-pil pkg-config libisofs-dev xorriso fuseiso fuse
  fp-utils-3.2.2 libchm-bin"
missing=""
for p in $packages; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
