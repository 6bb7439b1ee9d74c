# Sourced by the scripts: where things are built, which Windows build this host can run, and a virtual display.
# The scripts install what they need (setup-deps.sh) before sourcing this: which Wine runs is only known then.
REPO_ROOT=$(cd "$(dirname "$0")/.." && pwd)
# Sourced from an interactive `sh -c`, $0 says nothing about where the repository is: then it is here.
[ -f "$REPO_ROOT/scripts/common.sh" ] || REPO_ROOT=$(pwd)
BUILD_ROOT=${BUILD_ROOT:-$REPO_ROOT/build}
JOBS=${JOBS:-$(nproc)}
. "$REPO_ROOT/scripts/wine-env.sh"
. "$REPO_ROOT/scripts/disc-image.sh"
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

# A virtual display. Xvfb picks the display number itself (-displayfd): only the server can tell whether a number
# is free, since its socket also lives in the abstract namespace, which other roots and containers share and no
# file in /tmp shows. It writes the number once it accepts connections; a server that died instead is an error,
# never a reason to go on with whatever display the number belongs to.
XVFB_PID=""
start_xvfb() {
  xvfb_fd_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$xvfb_fd_file" >/dev/null 2>&1 &
  XVFB_PID=$!
  xvfb_display=""
  i=0
  while [ -z "$xvfb_display" ] && [ $i -lt 300 ] && kill -0 "$XVFB_PID" 2>/dev/null; do
    sleep 0.1
    xvfb_display=$(cat "$xvfb_fd_file")
    i=$((i + 1))
  done
  rm -f "$xvfb_fd_file"
  if [ -z "$xvfb_display" ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
    echo "Xvfb did not start" >&2
    stop_xvfb
    return 1
  fi
  export DISPLAY=":$xvfb_display"
  if ! xdotool getdisplaygeometry >/dev/null 2>&1; then
    echo "Xvfb does not answer on $DISPLAY" >&2
    stop_xvfb
    return 1
  fi
}
# Never fails, so that it can end a script (or its trap) under set -e; returns once the server is gone.
stop_xvfb() {
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  fi
}
# Ends every Wine process of a prefix (WINEPREFIX unless one is given) and waits for its wineserver to go, which
# would otherwise linger for a minute; never fails either.
stop_wine() {
  WINEPREFIX=${1:-$WINEPREFIX} wineserver -k 2>/dev/null || true
  WINEPREFIX=${1:-$WINEPREFIX} wineserver -w 2>/dev/null || true
}

# On every way out (the end, Ctrl-C, TERM): Wine and the working directory let go of the mounted image first
# (Wine keeps files of D: open until its processes end), then the image is unmounted and the display stopped.
release_on_exit() {  # mount point
  RELEASE_MOUNT=$1
  trap 'cd /; stop_wine; unmount_image "$RELEASE_MOUNT"; stop_xvfb' EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
}
