#!/bin/sh
# Builds the benchmark and runs it under Wine: the catalogue load against the I/O floor on a large generated
# disc (drive D:), as a folder and as its ISO image mounted read-only (fuseiso) as the shipped disc is, then
# the time to the main window of the browser on the sample disc (drive E:, without the language chooser) and on
# the large disc, each beside Wine's notepad started the same way in the same run.
# Usage: bench/run.sh [LOAD-RUNS] [START-RUNS]     (BUILD_ROOT may be given; DISPLAY is used when it works)
set -eu
. "$(dirname "$0")/../scripts/common.sh"
LOAD_RUNS=${1:-5}
START_RUNS=${2:-9}
build_windows "$WINE_ARCH_BITS" >/dev/null
BENCH="$RUN_BUILD/bench"

# The large disc is generated once for each version of the generator.
BIG="$BUILD_ROOT/bench-disc"
if [ ! -f "$BIG/.generated" ] || [ "$REPO_ROOT/bench/make_disc.py" -nt "$BIG/.generated" ]; then
  rm -rf "$BIG"
  echo "generating the large disc in $BIG"
  python3 "$REPO_ROOT/bench/make_disc.py" "$BIG"
  touch "$BIG/.generated"
fi
cp "$RUN_BUILD/app/tamo_cd.exe" "$BIG/"

# The sample disc as it ships, except that the language is fixed: the chooser would wait for a click.
SAMPLE="$BUILD_ROOT/bench-sample"
"$REPO_ROOT/scripts/assemble-disc.sh" "$SAMPLE" "$RUN_BUILD"
chmod u+w "$SAMPLE" "$SAMPLE/tamo_cd.ini"
sed -i 's/^multi_lang=yes/multi_lang=no/' "$SAMPLE/tamo_cd.ini"
chmod a-w "$SAMPLE" "$SAMPLE/tamo_cd.ini"

# The same disc as an image, made again whenever the folder is newer.
IMAGE="$BUILD_ROOT/bench-disc.iso"
CD="$BUILD_ROOT/bench-cd"
if [ ! -f "$IMAGE" ] || [ "$BIG/.generated" -nt "$IMAGE" ] || [ "$BIG/tamo_cd.exe" -nt "$IMAGE" ]; then
  "$REPO_ROOT/scripts/make-image.sh" "$BIG" "$IMAGE" --from cp1250
fi

export WINEPREFIX="$BUILD_ROOT/wineprefix-bench$WINE_ARCH_BITS"
release_on_exit "$CD"
# The display comes first: Wine's desktop process, started with the first program, keeps the display it found.
if [ -z "${DISPLAY:-}" ] || ! xdotool getdisplaygeometry >/dev/null 2>&1; then
  start_xvfb
fi
export TAMO_DRIVE_D="$BIG"
RUN="$REPO_ROOT/cmake/wine-run.sh"
"$RUN" cmd /c exit
ln -sfn "$SAMPLE" "$WINEPREFIX/dosdevices/e:"


echo "== machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1), $($RUN --version 2>/dev/null || true)"
echo "== catalogue load on the large disc, $LOAD_RUNS runs"
(cd "$BIG" && LC_ALL=pl_PL.UTF-8 "$RUN" "$BENCH/load_bench.exe" "$LOAD_RUNS") | tr -d '\r'
echo "== catalogue load on the large disc as a mounted ISO image, $LOAD_RUNS runs"
stop_wine
mount_image "$IMAGE" "$CD"
(cd "$CD" && TAMO_DRIVE_D="$CD" LC_ALL=pl_PL.UTF-8 "$RUN" "$BENCH/load_bench.exe" "$LOAD_RUNS") | tr -d '\r'
stop_wine
unmount_image "$CD"
echo "== start to main window, sample disc, $START_RUNS runs each"
LC_ALL=pl_PL.UTF-8 "$RUN" "$BENCH/start_bench.exe" "$START_RUNS" browser 'E:\' 'E:\tamo_cd.exe' \
  notepad 'E:\' 'C:\windows\notepad.exe' | tr -d '\r'
echo "== start to main window, large disc, 3 runs each"
LC_ALL=pl_PL.UTF-8 "$RUN" "$BENCH/start_bench.exe" 3 browser 'D:\' 'D:\tamo_cd.exe' \
  notepad 'D:\' 'C:\windows\notepad.exe' | tr -d '\r'
