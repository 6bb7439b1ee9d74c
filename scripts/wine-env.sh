# Sourced by the build, run and test scripts: a private Wine prefix inside the build tree, quiet, without the
# .NET and HTML engines, and the loader this host can run. Needs BUILD_ROOT.
: "${BUILD_ROOT:?}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# 32-bit Linux programs (and so 32-bit Wine) only run where the kernel allows 32-bit emulation; elsewhere the
# tests run a 64-bit build of the same sources under 64-bit Wine.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  export WINE_ARCH_BITS=32 WINEARCH=win32 WINE_LOADER=wine
  export WINEPREFIX="$BUILD_ROOT/wineprefix32"
else
  export WINE_ARCH_BITS=64 WINEARCH=win64 WINE_LOADER=/usr/lib/wine/wine64 WINELOADER=/usr/lib/wine/wine64
  export WINEPREFIX="$BUILD_ROOT/wineprefix64"
fi
