#!/bin/sh
# Builds the program and starts it on the bundled sample disc, as a user would: the disc is made into an ISO
# image (build/tamo_cd.iso), which is mounted read-only and mapped as CD-ROM drive D:, and the program is
# started from its root, in a Polish locale (code page 1250). On your display when there is one; otherwise on a
# virtual display, where screenshots are saved and their paths printed. The image is unmounted and Wine ended
# on the way out, also when stopped with Ctrl-C.
set -eu
# First what is needed, then the rest: which Wine runs (and so which build) is only known once it is installed.
"$(dirname "$0")/setup-deps.sh"
. "$(dirname "$0")/common.sh"
build_windows "$WINE_ARCH_BITS"

DISC="$BUILD_ROOT/disc"
IMAGE="$BUILD_ROOT/tamo_cd.iso"
CD="$BUILD_ROOT/cd"
"$REPO_ROOT/scripts/assemble-disc.sh" "$DISC" "$RUN_BUILD"
"$REPO_ROOT/scripts/make-image.sh" "$DISC" "$IMAGE" --from cp1250

# A prefix of its own, where D: is a CD-ROM drive.
export WINEPREFIX="$BUILD_ROOT/wineprefix-run$WINE_ARCH_BITS"
export TAMO_DRIVE_D="$CD"
release_on_exit "$CD"
mount_image "$IMAGE" "$CD"
"$REPO_ROOT/cmake/wine-run.sh" reg add 'HKLM\Software\Wine\Drives' /v d: /d cdrom /f >/dev/null 2>&1
# The drive's type is read when the wineserver starts.
stop_wine

cd "$CD"
if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  # A Windows program with windows and no console ignores Ctrl-C, and the shell runs its traps only once the
  # command in the foreground has ended: the program runs in the background, and a signal ends the wait for it.
  LC_ALL=pl_PL.UTF-8 "$REPO_ROOT/cmake/wine-run.sh" tamo_cd.exe &
  wait "$!"
  exit 0
fi

echo "No display: running on a virtual one."
start_xvfb
SHOTS="$BUILD_ROOT/screenshots"
mkdir -p "$SHOTS"
LC_ALL=pl_PL.UTF-8 "$REPO_ROOT/cmake/wine-run.sh" tamo_cd.exe &
sleep 4
import -window root "$SHOTS/language-chooser.png"
xdotool key Return
sleep 2
import -window root "$SHOTS/main-window.png"
echo "Screenshots: $SHOTS/language-chooser.png $SHOTS/main-window.png"
