#!/bin/sh
# Lays out the sample disc in DISC: the sample files, the program at the root, the help files built from
# sample-help/ by the native build, and the demo program as every run file and installer listed in
# sample-disc/EXECUTABLES.txt. The disc is left read-only, like a CD.
# Usage: assemble-disc.sh DISC WINDOWS-BUILD-DIR
set -eu
DISC=$1
BUILD=$2
REPO_ROOT=$(cd "$(dirname "$0")/.." && pwd)
SOURCE="$REPO_ROOT/sample-disc"
NATIVE="${BUILD_ROOT:-$REPO_ROOT/build}/native"
[ -f "$NATIVE/build.ninja" ] || cmake -S "$REPO_ROOT" -B "$NATIVE" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$NATIVE" --target sample_help >/dev/null
[ -d "$DISC" ] && chmod -R u+w "$DISC"
rm -rf "$DISC"
cp -r "$SOURCE" "$DISC"
cp "$BUILD/app/tamo_cd.exe" "$DISC/"
cp "$NATIVE/sample-help/"tamo_*.hlp "$NATIVE/sample-help/"tamo_*.chm "$DISC/"
tr -d '\r' <"$SOURCE/EXECUTABLES.txt" | while read -r exe _; do
  [ -n "$exe" ] || continue
  target="$DISC/$(printf '%s' "$exe" | tr '\\' '/')"
  mkdir -p "$(dirname "$target")"
  cp "$BUILD/demo/demo_program.exe" "$target"
done
chmod -R a-w "$DISC"
