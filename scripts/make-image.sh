#!/bin/sh
# Makes the ISO 9660 image of a disc folder: Joliet names as written, for Windows, and Rock Ridge, with the
# volume label TAMO_CD. The one step to be replaced by the disc packer once it exists.
# Usage: make-image.sh DISC-FOLDER IMAGE
set -eu
DISC=$1
IMAGE=$2
mkdir -p "$(dirname "$IMAGE")"
# Written beside the target and renamed at the end: a failure never leaves half an image behind.
rm -f "$IMAGE.part"
xorriso -as mkisofs -quiet -J -R -V TAMO_CD -o "$IMAGE.part" "$DISC"
mv -f "$IMAGE.part" "$IMAGE"
