#!/bin/sh
# Builds the program and starts it on the bundled sample disc, as a user would: the disc is mapped as CD-ROM
# drive D:, the program is started from its root, in a Polish locale (code page 1250). On your display when
# there is one; otherwise on a virtual display, where screenshots are saved and their paths printed.
set -eu
. "$(dirname "$0")/common.sh"
"$REPO_ROOT/scripts/setup-deps.sh"
build_windows "$WINE_ARCH_BITS"

DISC="$BUILD_ROOT/disc"
"$REPO_ROOT/scripts/assemble-disc.sh" "$DISC" "$RUN_BUILD"

# A prefix of its own, where D: is a CD-ROM drive.
export WINEPREFIX="$BUILD_ROOT/wineprefix-run"
export TAMO_DRIVE_D="$DISC"
"$REPO_ROOT/cmake/wine-run.sh" reg add 'HKLM\Software\Wine\Drives' /v d: /d cdrom /f >/dev/null 2>&1
wineserver -k 2>/dev/null || true

cd "$DISC"
if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  LC_ALL=pl_PL.UTF-8 "$REPO_ROOT/cmake/wine-run.sh" tamo_cd.exe
  exit 0
fi

echo "No display: running on a virtual one."
start_xvfb
trap 'wineserver -k 2>/dev/null; stop_xvfb' EXIT
SHOTS="$BUILD_ROOT/screenshots"
mkdir -p "$SHOTS"
LC_ALL=pl_PL.UTF-8 "$REPO_ROOT/cmake/wine-run.sh" tamo_cd.exe &
sleep 4
import -window root "$SHOTS/language-chooser.png"
xdotool key Return
sleep 2
import -window root "$SHOTS/main-window.png"
echo "Screenshots: $SHOTS/language-chooser.png $SHOTS/main-window.png"
