#!/bin/sh
# Packs a disc folder (as assemble-disc.sh lays it out) into an ISO 9660 image with tamo_pack, built natively
# first when it is not there yet. The volume label is TAMO_CD unless the options give another.
# Exit code as tamo_pack's: 0 written, 1 written with warnings, 2 nothing written.
# Usage: make-image.sh DISC-FOLDER IMAGE [tamo_pack options]
set -eu
REPO_ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_ROOT=${BUILD_ROOT:-$REPO_ROOT/build}
PACK="$BUILD_ROOT/native/tools/pack/tamo_pack"
if [ ! -x "$PACK" ]; then
  cmake -S "$REPO_ROOT" -B "$BUILD_ROOT/native" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD_ROOT/native" --target tamo_pack >/dev/null
fi
exec "$PACK" --label TAMO_CD "$@"
