# Sourced by the scripts: where things are built, which Windows build this host can run, and a virtual display.
REPO_ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_ROOT=${BUILD_ROOT:-$REPO_ROOT/build}
JOBS=${JOBS:-$(nproc)}
. "$REPO_ROOT/scripts/wine-env.sh"
# The program is a 32-bit Windows program (build/win32). Where 32-bit Wine cannot run, the same sources are also
# built for 64-bit Windows to run the program and its tests.
if [ "$WINE_ARCH_BITS" = 32 ]; then RUN_BUILD=$BUILD_ROOT/win32; else RUN_BUILD=$BUILD_ROOT/win64; fi

configure_and_build() {  # build-dir, then cmake options
  dir=$1
  shift
  cmake -S "$REPO_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  cmake --build "$dir" -j "$JOBS"
}

build_windows() {  # 32 or 64
  if [ "$1" = 32 ]; then
    configure_and_build "$BUILD_ROOT/win32" -DCMAKE_TOOLCHAIN_FILE="$REPO_ROOT/cmake/mingw-i686.cmake"
  else
    configure_and_build "$BUILD_ROOT/win64" -DCMAKE_TOOLCHAIN_FILE="$REPO_ROOT/cmake/mingw-x86_64.cmake"
  fi
}

XVFB_PID=""
start_xvfb() {
  n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  i=0
  while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
}
stop_xvfb() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  XVFB_PID=""
}
