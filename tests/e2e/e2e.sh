#!/bin/sh
# End-to-end test of the real program on the sample disc, under Wine on the current (virtual) display, driven
# like a user drives it: real mouse moves, clicks and key presses (xdotool). The disc is an ISO image mounted
# read-only (fuseiso) as CD-ROM drive D:, so the program meets a real CD file system: names as Joliet stores
# them, and every write refused by the medium. What the windows show is read with the probe program; what the
# program does is checked on disk (the demo programs record how they were started, the copy lands on drive C:).
# Usage: e2e.sh WINDOWS-BUILD-DIR
set -u
BUILD=$(cd "$1" && pwd -P)
SRC=$(cd "$(dirname "$0")/../.." && pwd)
. "$SRC/scripts/disc-image.sh"
WORK="$BUILD/e2e"
RUN="$SRC/cmake/wine-run.sh"
# A prefix holds one architecture: named by the bits of the Wine that scripts/wine-env.sh chose.
export WINEPREFIX="$BUILD/e2e-prefix${WINE_ARCH_BITS:?source scripts/wine-env.sh first}"
passed=0
failed=0
# The program runs in the Polish locale: without it Wine misreads the image's Polish names and the run proves
# nothing (cmake/wine-run.sh refuses it, but the program's output goes nowhere here).
if ! locale -a 2>/dev/null | grep -qix 'pl_PL\.utf-\?8'; then
  echo "FAILED: the locale pl_PL.UTF-8 is not generated here; scripts/setup-deps.sh generates it"
  exit 1
fi

# Wine holds files of the mounted disc open, and so does a working directory on it: both go before the
# unmount, on every way out. A run stopped harder than that leaves its mount to the next run, which clears it.
stop_wine() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
}
CD="$WORK/cd"
cleanup() {
  cd /
  stop_wine
  unmount_image "$CD"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
cleanup
[ -d "$WORK" ] && chmod -R u+w "$WORK"
rm -rf "$WORK"
mkdir -p "$WORK"
DISC="$WORK/disc"
"$SRC/scripts/assemble-disc.sh" "$DISC" "$BUILD"
"$SRC/scripts/make-image.sh" "$DISC" "$WORK/tamo_cd.iso" --from cp1250
# Without the mounted image there is nothing to test: that is a failure, never a skip.
mount_cd() {  # image
  if ! mount_image "$1" "$CD"; then
    echo "FAILED: the disc image $1 cannot be mounted"
    exit 1
  fi
}
mount_cd "$WORK/tamo_cd.iso"
export TAMO_DRIVE_D="$CD"
"$RUN" reg add 'HKLM\Software\Wine\Drives' /v d: /d cdrom /f >/dev/null 2>&1
# Wine reads the drive's type when its server starts.
stop_wine
CDRIVE="$WINEPREFIX/drive_c"
rm -rf "$CDRIVE/kopie" "$CDRIVE/record.txt"
export TAMO_RECORD='C:\record.txt'
RECORD="$CDRIVE/record.txt"

probe() { "$RUN" "$BUILD/tests/probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
first_line() { head -n 1 "$1" | tr -d '\r' | iconv -f CP1250 -t UTF-8 | sed 's/^[[:space:]]*//'; }

check() {  # description, actual, expected
  if [ "$2" = "$3" ]; then
    passed=$((passed + 1))
    echo "ok: $1"
  else
    failed=$((failed + 1))
    printf 'FAILED: %s\n  expected: %s\n  actual:   %s\n' "$1" "$3" "$2"
  fi
}

# Every read of what the program shows or did waits for the state it checks, bounded by a timeout: on a busy
# machine a window, a text or a started program's record comes late, never at a fixed time.
wait_until() {  # seconds, command...: true as soon as the command succeeds, false when the time is up
  deadline=$(($(date +%s) + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    [ "$(date +%s)" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}
says() {  # expected, command...: true when the command prints exactly the expected text
  said_expected=$1
  shift
  [ "$("$@")" = "$said_expected" ]
}
check_until() {  # description, seconds, expected, command...: waits for the command to print the expected text
  description=$1
  expected=$3
  seconds=$2
  shift 3
  wait_until "$seconds" says "$expected" "$@"
  check "$description" "$("$@")" "$expected"
}
# The probe's own exit status, which a pipe would hide: 0 when a usable dialog has the control.
has() { "$RUN" "$BUILD/tests/probe.exe" has "$1" >/dev/null 2>&1; }
shown() { if has "$1"; then echo shown; else echo gone; fi; }
# The directory the program was started in; the demo program writes it in the code page, 1250.
recorded() { grep -a "$1" "$RECORD" 2>/dev/null | cut -d'|' -f1 | iconv -f CP1250 -t UTF-8; }

click_at() {  # x y [clicks]; nothing when the place is unknown (the check that follows fails)
  [ $# -ge 2 ] || return 0
  xdotool mousemove "$1" "$2"
  sleep 0.3
  xdotool click --repeat "${3:-1}" --delay 80 1
}
# A control is clicked once a usable dialog has it.
click_control() {
  wait_until 20 has "$1"
  click_at $(probe center "$1")
}
double_click_row() { click_at $(probe rowcenter "$1") 2; }
click_row() { click_at $(probe rowcenter "$1") 1; }
rows() { probe rows | tr '\n' '|'; }
message() { probe message | tr '\n' '~'; }
# Keys go to the window that has the X input focus, which a console window of the copy tool may have taken:
# a click on the main window's header gives it back.
key_to_main() {
  wait_until 20 has 1021
  click_at 320 10
  xdotool key "$1"
}

start_program() {
  (cd "$CD" && LC_ALL=pl_PL.UTF-8 exec "$RUN" tamo_cd.exe) >/dev/null 2>&1 &
  APP=$!
}
program_state() { kill -0 "$APP" 2>/dev/null && echo running || echo ended; }
# The caption of Wine's help viewer: the title of the help file it opened, its own name, and the file's path;
# "none" without one. Of the compiled HTML help viewer (hh): the title of the help file alone.
help_viewer() { probe windows | sed -n 's/^MS_WINHELP|\([^|]*\)|.*/\1/p' | grep . || echo none; }
html_help_viewer() { probe windows | sed -n 's/^HH Parent|\([^|]*\)|.*/\1/p' | grep . || echo none; }
# The help button starts the viewer on the help file of the language; it is closed again, as a user closes it,
# so that it covers nothing the next steps click. A Wine without 32-bit support has no winhelp (the viewer's
# starter is a 16-bit program), as Windows 8 and later have none: there the compiled HTML help that the disc
# carries beside the old help file opens in hh instead.
check_help() {  # language, help file, expected title
  click_control 1012
  if [ -f "$WINEPREFIX/drive_c/windows/winhelp.exe" ]; then
    check_until "help in $1: Wine's viewer opened on its help file" 60 "$3 Pomoc Wine - $2" help_viewer
    probe close MS_WINHELP
    check_until "the help viewer closed" 20 none help_viewer
  else
    check_until "help in $1: no winhelp, the compiled help beside opened in hh" 60 "$3" html_help_viewer
    probe close "HH Parent"
    check_until "the compiled help viewer closed" 20 none html_help_viewer
  fi
}

echo "== the disc: the mounted image as CD-ROM drive D:"
check "D: is a CD-ROM drive that refuses writes" "$(probe drive)" "cdrom refused"
check "the mount refuses writes" "$( (: >"$CD/write-test") 2>/dev/null && echo written || echo refused)" refused

echo "== start: the language chooser, Czech chosen"
start_program
check_until "language chooser shown at start" 60 shown shown 1015
click_control 1015
check_until "main window shown after the choice" 30 shown shown 1021
czech_intro=$(first_line "$CD/PREZENT/opis/opis2.txt")
check_until "Czech root: categories by id, then the root's programs" 10 \
  "Hry|Nástroje|Grafika|Internet|Vzdělávání|$czech_intro|" rows
check "root title is empty" "$(probe text 1027)" ""
check_help Czech "D:\\tamo_cz.hlp" "Tamo CD – nápověda"

echo "== navigation into a subcategory and back"
double_click_row 0
check_until "entered Hry" 10 "Hry" probe text 1027
check_until "Hry lists the up row and its subcategories by id" 10 "..|Logické|Akční|Karetní|" rows
double_click_row 1
check_until "entered Logické" 10 "Logické" probe text 1027
chess=$(first_line "$CD/GRY/SZACHY/opis/opis2.txt")
cube=$(first_line "$CD/GRY/KOSTKA/opis/opis2.txt")
check_until "Logické lists its programs in list order" 10 "..|$chess|$cube|" rows
double_click_row 0
check_until "up row returns to Hry" 10 "Hry" probe text 1027
wait_until 10 says "..|Logické|Akční|Karetní|" rows
double_click_row 0
check_until "up row returns to the root" 10 "" probe text 1027
wait_until 10 says "Hry|Nástroje|Grafika|Internet|Vzdělávání|$czech_intro|" rows
double_click_row 0
wait_until 10 says "..|Logické|Akční|Karetní|" rows
double_click_row 1
wait_until 10 says "..|$chess|$cube|" rows

echo "== a program: description, run, install"
click_row 1
description() { probe text 1022 | head -n 1; }
check_until "program description shown" 10 "$chess" description
check_until "run enabled" 10 1 probe enabled 1011
check_until "install enabled" 10 1 probe enabled 1017
check_until "copy enabled" 10 1 probe enabled 1013
click_control 1011
check_until "run starts the program in its own directory" 30 'D:\GRY\SZACHY' recorded hetman
click_control 1017
check_until "install starts the installer in its own directory" 30 'D:\GRY\SZACHY' recorded setup

echo "== copy to the hard disk with the real xcopy"
click_control 1013
check_until "copy dialog shown" 20 shown shown 1023
check_until "copy dialog offers the default destination" 10 'c:\tmp' probe text 1023
click_control 1023
xdotool key End shift+Home
xdotool type --delay 30 'C:\kopie'
check_until "the destination typed" 10 'C:\kopie' probe text 1023
click_control 1
copied() { diff -r "$CD/GRY/SZACHY" "$CDRIVE/kopie/SZACHY" >/dev/null 2>&1 && echo same; }
check_until "every file of the program copied" 60 same copied
check_until "copy dialog closed" 20 gone shown 1023

echo "== a program in a folder with Polish letters, GRY\\ŻABA on the image"
double_click_row 0
check_until "up row returns to Hry again" 10 "..|Logické|Akční|Karetní|" rows
double_click_row 2
frog=$(first_line "$CD/GRY/ŻABA/opis/opis2.txt")
rocket=$(first_line "$CD/GRY/RAKIETA/opis/opis2.txt")
check_until "Akční lists the program of GRY\\ŻABA by its description's title" 10 "..|$frog|$rocket|" rows
click_row 1
check_until "its description shown" 10 "$frog" description
click_control 1011
check_until "run starts it in its own directory" 30 'D:\GRY\ŻABA' recorded demo

echo "== leave: answered no, then a language switch"
key_to_main Escape
check_until "exit confirmation shown" 20 shown shown 1035
click_control 2
check_until "answered no: back in the main window" 20 shown shown 1021
click_control 1016
check_until "language chooser shown for the switch" 20 shown shown 1015
click_control 1014
polish_intro=$(first_line "$CD/PREZENT/opis/opis1.txt")
check_until "switched to Polish: the Polish catalogue's root" 30 \
  "Gry|Narzędzia|Grafika|Internet|Edukacja|$polish_intro|" rows
check_help Polish "D:\\tamo_pl.hlp" "Tamo CD – pomoc"

echo "== leave: answered yes"
key_to_main Escape
check_until "exit confirmation shown again" 20 shown shown 1035
click_control 1
check_until "the program ends" 30 ended program_state
kill "$APP" 2>/dev/null

echo "== a broken category file ends the program after its message"
# A disc of its own: a CD is not changed, it is replaced.
stop_wine
unmount_image "$CD"
BROKEN="$WORK/broken-disc"
cp -r "$DISC" "$BROKEN"
chmod -R u+w "$BROKEN"
printf '[other]\r\nmulti_lang=no\r\nlang=pl\r\n' >"$BROKEN/tamo_cd.ini"
printf '1;0;Gry\r\n$\r\nbroken header\r\n' >"$BROKEN/kat1.txt"
# The packer refuses a disc its checks fail, as it should: this one is burnt as it stands.
xorriso -as mkisofs -quiet -J -R -V TAMO_CD -o "$WORK/broken.iso" "$BROKEN"
mount_cd "$WORK/broken.iso"
start_program
check_until "the load's message" 60 'Error in line nr 3 in file D:\kat1.txt~char '"';'"' not founf~' message
click_control 1
check_until "the program ends after the message" 30 ended program_state
kill "$APP" 2>/dev/null
cleanup

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
