#!/bin/sh
# Builds the program and starts it on the bundled sample disc, as a user would: the disc is mapped as CD-ROM
# drive D:, the program is started from its root, in a Polish locale (code page 1250). On your display when
# there is one; otherwise on a virtual display, where screenshots are saved and their paths printed.
set -eu
# First what is needed, then the rest: which Wine runs (and so which build) is only known once it is installed.
"$(dirname "$0")/setup-deps.sh"
. "$(dirname "$0")/common.sh"
build_windows "$WINE_ARCH_BITS"

DISC="$BUILD_ROOT/disc"
"$REPO_ROOT/scripts/assemble-disc.sh" "$DISC" "$RUN_BUILD"

# A prefix of its own, where D: is a CD-ROM drive.
export WINEPREFIX="$BUILD_ROOT/wineprefix-run$WINE_ARCH_BITS"
export TAMO_DRIVE_D="$DISC"
"$REPO_ROOT/cmake/wine-run.sh" reg add 'HKLM\Software\Wine\Drives' /v d: /d cdrom /f >/dev/null 2>&1
stop_wine

cd "$DISC"
if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  LC_ALL=pl_PL.UTF-8 "$REPO_ROOT/cmake/wine-run.sh" tamo_cd.exe
  exit 0
fi

echo "No display: running on a virtual one."
trap 'stop_wine; stop_xvfb' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
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
