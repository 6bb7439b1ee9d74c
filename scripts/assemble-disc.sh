#!/bin/sh
# Lays out the sample disc in DISC: the sample files, the program at the root, and the demo program as every
# run file and installer listed in sample-disc/EXECUTABLES.txt. The disc is left read-only, like a CD.
# Usage: assemble-disc.sh DISC WINDOWS-BUILD-DIR
set -eu
DISC=$1
BUILD=$2
SOURCE=$(cd "$(dirname "$0")/../sample-disc" && pwd)
[ -d "$DISC" ] && chmod -R u+w "$DISC"
rm -rf "$DISC"
cp -r "$SOURCE" "$DISC"
cp "$BUILD/app/tamo_cd.exe" "$DISC/"
tr -d '\r' <"$SOURCE/EXECUTABLES.txt" | while read -r exe _; do
  [ -n "$exe" ] || continue
  target="$DISC/$(printf '%s' "$exe" | tr '\\' '/')"
  mkdir -p "$(dirname "$target")"
  cp "$BUILD/demo/demo_program.exe" "$target"
done
chmod -R a-w "$DISC"
