#!/bin/sh
# Runs a Windows program under Wine for ctest and the scripts. The caller (scripts/wine-env.sh) sets WINEPREFIX
# and WINE_LOADER. The prefix is created on first use (under a lock, since ctest may start several tests at
# once); TAMO_DRIVE_D, when set, is mapped as drive D:. The wineserver is started persistent once, and Wine's
# helper processes are detached from our pipes: otherwise every test waits for pipes that Wine's service
# processes keep open.
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES WINELOADER
loader=${WINE_LOADER:-wine}
# Wine takes the code page and the decoding of this machine's file names from the locale. One that is not
# generated falls back to C without a word: the program's own texts still look right, but Wine reads UTF-8 names
# wrongly (a folder ŻÓŁW is listed as "E;C?E?W" and cannot be opened). So the locale asked for must exist.
if [ -n "${LC_ALL:-}" ] && [ "$LC_ALL" != C ] && [ "$LC_ALL" != POSIX ]; then
  wanted=$(printf '%s' "$LC_ALL" | tr 'A-Z' 'a-z' | tr -d -)
  if ! locale -a 2>/dev/null | tr 'A-Z' 'a-z' | tr -d - | grep -qxF "$wanted"; then
    echo "wine-run.sh: the locale $LC_ALL is not generated here, and Wine would misread file names in it;" \
      "scripts/setup-deps.sh generates it" >&2
    exit 1
  fi
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      "$loader" wineboot -i </dev/null >/dev/null 2>&1
      # Without a window manager every hide or destroy of a managed window waits two seconds.
      "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
      wineserver -w
    fi
  ) 9>"$WINEPREFIX.lock"
fi
# Prefixes made by earlier versions of this script replaced the dialog font, MS Sans Serif; a user's Wine does
# not, and neither may the tests' Wine.
if grep -qs '^"MS Sans Serif"="DejaVu Sans Condensed"' "$WINEPREFIX/user.reg"; then
  "$loader" reg delete 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS Sans Serif' /f </dev/null >/dev/null 2>&1
fi
if [ -n "$TAMO_DRIVE_D" ]; then
  mkdir -p "$TAMO_DRIVE_D"
  [ "$(readlink "$WINEPREFIX/dosdevices/d:")" = "$TAMO_DRIVE_D" ] || ln -sfn "$TAMO_DRIVE_D" "$WINEPREFIX/dosdevices/d:"
fi
if wineserver -p60 </dev/null >/dev/null 2>&1; then
  "$loader" cmd /c exit </dev/null >/dev/null 2>&1
fi
exec "$loader" "$@"
