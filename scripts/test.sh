#!/bin/sh
# Builds everything and runs every test: the portable catalogue code natively (plain, then with AddressSanitizer
# and UndefinedBehaviorSanitizer), a short fuzzing run of each reader, the Windows code under Wine on a virtual
# display, the program's imports, the pictures and the source formatting. Ends with one line "N passed, N failed".
set -eu
# First what is needed, then the rest: which Wine runs (and so which build) is only known once it is installed.
"$(dirname "$0")/setup-deps.sh"
. "$(dirname "$0")/common.sh"
FUZZ_SECONDS=${FUZZ_SECONDS:-60}
passed=0
failed=0
status=0

count() {  # adds up ctest's summary line from a log
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
  if [ -z "$line" ]; then status=1; return; fi
  total=$(echo "$line" | sed -E 's/.* out of ([0-9]+).*/\1/')
  bad=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed.*/\1/')
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

run_ctest() {  # title, build dir
  echo "== $1"
  log="$2/ctest.log"
  (cd "$2" && ctest --output-on-failure -j "$JOBS" ${3:-}) >"$log" 2>&1 || status=1
  tail -n 15 "$log"
  count "$log"
}

echo "== building"
configure_and_build "$BUILD_ROOT/native"
configure_and_build "$BUILD_ROOT/asan" -DTAMO_SANITIZE=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
configure_and_build "$BUILD_ROOT/fuzz" -DTAMO_FUZZ=ON -DTAMO_FUZZ_SECONDS="$FUZZ_SECONDS" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
build_windows 32
[ "$WINE_ARCH_BITS" = 32 ] || build_windows 64

run_ctest "native tests" "$BUILD_ROOT/native"
run_ctest "native tests, sanitized" "$BUILD_ROOT/asan"

run_ctest "fuzzing, ${FUZZ_SECONDS}s per reader" "$BUILD_ROOT/fuzz"

echo "== the sample disc as the program is shipped on it, checked by the disc checker"
"$REPO_ROOT/scripts/assemble-disc.sh" "$BUILD_ROOT/checked-disc" "$BUILD_ROOT/win32"
if "$BUILD_ROOT/native/tools/check/tamo_check" "$BUILD_ROOT/checked-disc"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
  status=1
fi

echo "== the same disc packed into build/tamo_cd.iso, clean, every file read back"
# The sample disc is written in code page 1250, as the disc holds it.
if "$REPO_ROOT/scripts/make-image.sh" "$BUILD_ROOT/checked-disc" "$BUILD_ROOT/tamo_cd.iso" --from cp1250; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
  status=1
fi

echo "== Windows tests under Wine ($WINE_ARCH_BITS-bit)"
# Whatever the tests leave (the end-to-end test runs in a prefix of its own on a mounted disc image, and a test
# stopped at its timeout does not clean up) is ended here, also when the script itself is stopped.
teardown() {
  stop_wine
  stop_wine "$RUN_BUILD/e2e-prefix$WINE_ARCH_BITS"
  unmount_image "$RUN_BUILD/e2e/cd"
  stop_xvfb
}
trap teardown EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
start_xvfb
run_ctest "Wine tests" "$RUN_BUILD" "-j 1"
teardown

echo "== program imports (32-bit build)"
imports=$(i686-w64-mingw32-objdump -p "$BUILD_ROOT/win32/app/tamo_cd.exe" | sed -n 's/.*DLL Name: //p' | tr '\n' ' ')
echo "tamo_cd.exe imports: $imports ($(stat -c %s "$BUILD_ROOT/win32/app/tamo_cd.exe") bytes)"
if echo "$imports" | tr ' ' '\n' | grep -v -i -x -E 'KERNEL32.dll|USER32.dll|GDI32.dll|msvcrt.dll|ADVAPI32.dll|SHELL32.dll|COMCTL32.dll|' >/dev/null; then
  echo "imports beyond the Windows system DLLs"
  failed=$((failed + 1))
  status=1
else
  passed=$((passed + 1))
fi

echo "== pictures: the committed bitmaps and icon as the windows expect them, and the picture checker's tests"
# The Python that setup-deps.sh installed PIL for, not whichever one comes first on the PATH.
for module in check_bitmaps "unittest test_check_bitmaps"; do
  # shellcheck disable=SC2086 # "unittest test_check_bitmaps" is two words
  if (cd "$REPO_ROOT/res/art" && /usr/bin/python3 -m $module) >"$BUILD_ROOT/pictures.log" 2>&1; then
    passed=$((passed + 1))
  else
    cat "$BUILD_ROOT/pictures.log"
    failed=$((failed + 1))
    status=1
  fi
done

echo "== formatting"
if (cd "$REPO_ROOT" && git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror) >/dev/null 2>"$BUILD_ROOT/format.log"; then
  passed=$((passed + 1))
else
  head -n 20 "$BUILD_ROOT/format.log"
  failed=$((failed + 1))
  status=1
fi

echo "$passed passed, $failed failed"
exit $status
