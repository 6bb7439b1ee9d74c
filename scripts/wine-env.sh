# Sourced by the build, run and test scripts: a private Wine prefix inside the build tree, quiet, without the
# .NET and HTML engines, and the loader this host can run. Needs BUILD_ROOT, and Wine installed: the choice is
# made by running it.
: "${BUILD_ROOT:?}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# 32-bit Linux programs (and so 32-bit Wine) only run where the kernel allows 32-bit emulation; elsewhere the
# tests run a 64-bit build of the same sources under 64-bit Wine. A prefix is made for one architecture and
# refuses the other, so every prefix's name ends in the number of bits (WINE_ARCH_BITS): a host (or a build
# tree) that once ran the other Wine never meets a prefix it cannot use.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  export WINE_ARCH_BITS=32 WINEARCH=win32 WINE_LOADER=wine
elif /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
  export WINE_ARCH_BITS=64 WINEARCH=win64 WINE_LOADER=/usr/lib/wine/wine64 WINELOADER=/usr/lib/wine/wine64
else
  echo "Wine does not run here; scripts/setup-deps.sh installs it" >&2
  return 1
fi
export WINEPREFIX="$BUILD_ROOT/wineprefix$WINE_ARCH_BITS"
