#!/bin/sh
# End-to-end test of the real program on the sample disc, under Wine on the current (virtual) display, driven
# like a user drives it: real mouse moves, clicks and key presses (xdotool). What the windows show is read with
# the probe program; what the program does is checked on disk (the demo programs record how they were started,
# the copy lands on drive C:).
# Usage: e2e.sh WINDOWS-BUILD-DIR
set -u
BUILD=$(cd "$1" && pwd)
SRC=$(cd "$(dirname "$0")/../.." && pwd)
WORK="$BUILD/e2e"
RUN="$SRC/cmake/wine-run.sh"
# A prefix holds one architecture: named by the bits of the Wine that scripts/wine-env.sh chose.
export WINEPREFIX="$BUILD/e2e-prefix${WINE_ARCH_BITS:?source scripts/wine-env.sh first}"
passed=0
failed=0

[ -d "$WORK" ] && chmod -R u+w "$WORK"
rm -rf "$WORK"
mkdir -p "$WORK"
DISC="$WORK/disc"
"$SRC/scripts/assemble-disc.sh" "$DISC" "$BUILD"
export TAMO_DRIVE_D="$DISC"
"$RUN" cmd /c exit
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

wait_until() {  # seconds, command...: true once the command succeeds
  limit=$1
  shift
  i=0
  while [ "$i" -lt $((limit * 5)) ]; do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.2
    i=$((i + 1))
  done
  return 1
}
has() { "$RUN" "$BUILD/tests/probe.exe" has "$1" >/dev/null 2>&1; }
hasnt() { ! has "$1"; }
file_has() { grep -q "$2" "$1" 2>/dev/null; }

click_at() {  # x y [clicks]; nothing when the place is unknown (the check that follows fails)
  [ $# -ge 2 ] || return 0
  xdotool mousemove "$1" "$2"
  sleep 0.3
  xdotool click --repeat "${3:-1}" --delay 80 1
  sleep 0.5
}
click_control() { click_at $(probe center "$1"); }
double_click_row() { click_at $(probe rowcenter "$1") 2; }
click_row() { click_at $(probe rowcenter "$1") 1; }
rows() { probe rows | tr '\n' '|'; }
# Keys go to the window that has the X input focus, which a console window of the copy tool may have taken:
# a click on the main window's header gives it back.
key_to_main() {
  click_at 320 10
  xdotool key "$1"
  sleep 0.5
}

start_program() {
  (cd "$DISC" && LC_ALL=pl_PL.UTF-8 exec "$RUN" tamo_cd.exe) >/dev/null 2>&1 &
  APP=$!
}
ended() { ! kill -0 "$APP" 2>/dev/null; }

echo "== start: the language chooser, Czech chosen"
start_program
check "language chooser shown at start" "$(wait_until 30 has 1015 && echo shown)" "shown"
click_control 1015
check "main window shown after the choice" "$(wait_until 20 has 1021 && echo shown)" "shown"
czech_intro=$(first_line "$DISC/PREZENT/opis/opis2.txt")
check "Czech root: categories by id, then the root's programs" "$(rows)" \
  "Hry|Nástroje|Grafika|Internet|Vzdělávání|$czech_intro|"
check "root title is empty" "$(probe text 1027)" ""

echo "== navigation into a subcategory and back"
double_click_row 0
check "entered Hry" "$(probe text 1027)" "Hry"
check "Hry lists the up row and its subcategories by id" "$(rows)" "..|Logické|Akční|Karetní|"
double_click_row 1
check "entered Logické" "$(probe text 1027)" "Logické"
chess=$(first_line "$DISC/GRY/SZACHY/opis/opis2.txt")
cube=$(first_line "$DISC/GRY/KOSTKA/opis/opis2.txt")
check "Logické lists its programs in list order" "$(rows)" "..|$chess|$cube|"
double_click_row 0
check "up row returns to Hry" "$(probe text 1027)" "Hry"
double_click_row 0
check "up row returns to the root" "$(probe text 1027)" ""
double_click_row 0
double_click_row 1

echo "== a program: description, run, install"
click_row 1
check "program description shown" "$(probe text 1022 | head -n 1)" "$chess"
check "run enabled" "$(probe enabled 1011)" "1"
check "install enabled" "$(probe enabled 1017)" "1"
check "copy enabled" "$(probe enabled 1013)" "1"
click_control 1011
wait_until 15 file_has "$RECORD" 'hetman' || true
check "run starts the program in its own directory" "$(grep hetman "$RECORD" | cut -d'|' -f1)" 'D:\GRY\SZACHY'
click_control 1017
wait_until 15 file_has "$RECORD" 'setup' || true
check "install starts the installer in its own directory" "$(grep setup "$RECORD" | cut -d'|' -f1)" 'D:\GRY\SZACHY'

echo "== copy to the hard disk with the real xcopy"
click_control 1013
check "copy dialog shown" "$(wait_until 10 has 1023 && echo shown)" "shown"
check "copy dialog offers the default destination" "$(probe text 1023)" 'c:\tmp'
click_control 1023
xdotool key End shift+Home
xdotool type --delay 30 'C:\kopie'
sleep 0.3
click_control 1
wait_until 30 test -f "$CDRIVE/kopie/SZACHY/opis/opis2.txt" || true
sleep 2
check "every file of the program copied" "$(diff -r "$DISC/GRY/SZACHY" "$CDRIVE/kopie/SZACHY" >/dev/null 2>&1 && echo same)" "same"
wait_until 10 hasnt 1023 || true

echo "== leave: answered no, then a language switch"
key_to_main Escape
check "exit confirmation shown" "$(wait_until 10 has 1035 && echo shown)" "shown"
click_control 2
check "answered no: back in the main window" "$(wait_until 10 has 1021 && echo back)" "back"
click_control 1016
check "language chooser shown for the switch" "$(wait_until 10 has 1015 && echo shown)" "shown"
click_control 1014
wait_until 10 has 1021 || true
sleep 1
polish_intro=$(first_line "$DISC/PREZENT/opis/opis1.txt")
check "switched to Polish: the Polish catalogue's root" "$(rows)" \
  "Gry|Narzędzia|Grafika|Internet|Edukacja|$polish_intro|"

echo "== leave: answered yes"
key_to_main Escape
wait_until 10 has 1035 || true
click_control 1
check "the program ends" "$(wait_until 15 ended && echo ended)" "ended"
kill "$APP" 2>/dev/null

echo "== a broken category file ends the program after its message"
chmod -R u+w "$DISC"
printf '[other]\r\nmulti_lang=no\r\nlang=pl\r\n' >"$DISC/tamo_cd.ini"
printf '1;0;Gry\r\n$\r\nbroken header\r\n' >"$DISC/kat1.txt"
chmod -R a-w "$DISC"
start_program
wait_until 30 probe message || true
check "the load's message" "$(probe message | tr '\n' '~')" 'Error in line nr 3 in file D:\kat1.txt~char '"';'"' not founf~'
click_control 1
check "the program ends after the message" "$(wait_until 15 ended && echo ended)" "ended"
kill "$APP" 2>/dev/null
wineserver -k 2>/dev/null

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
