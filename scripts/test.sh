#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds the trees, runs the
# native tests (sanitizers) and the Wine tests of each cross tree this machine
# can run (real COM, registry and windows under Xvfb), and ends with CTest's
# summaries and one "Total: N passed, N failed" line over all of them.
# Where the machine refuses 32-bit code (or KAVREL_64BIT_ONLY=1), the 32-bit
# tree is built but only the 64-bit suite runs; one line says so.
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KAVREL_BUILD:-$root/build}"
export KAVREL_BUILD="$build"

# shellcheck source=machine.sh
source "$root/scripts/machine.sh"
kavrel_detect_machine
bash "$root/scripts/install-deps.sh" || exit 1
bash "$root/scripts/build.sh" || { echo "Total: 0 passed, 1 failed"; echo "build failed" >&2; exit 1; }

suites=(win64)
if [ "$KAVREL_RUNS_32BIT" = 1 ]; then
    suites=(win32 win64)
fi

status=0
logs=()
echo "=== Native tests (AddressSanitizer, UBSan) ==="
(cd "$build/native" && ctest --output-on-failure --timeout 300) | tee "$build/native-ctest.log" || status=1
logs+=("$build/native-ctest.log")

# shellcheck source=wine-prefix.sh
source "$root/scripts/wine-prefix.sh"
trap kavrel_wine_stop EXIT
for arch in "${suites[@]}"; do
    echo "=== Windows tests under $arch Wine ($build/$arch) ==="
    kavrel_wine_env "$build/$arch" "$arch"
    (cd "$build/$arch" && xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
        'source "$1/scripts/wine-prefix.sh" && kavrel_wine_warm && ctest --output-on-failure --timeout 600' \
        test "$root") | tee "$build/$arch-ctest.log" || status=1
    kavrel_wine_stop
    logs+=("$build/$arch-ctest.log")
    # What the reliability sweeps, the soak, the registry sweep and the parser
    # fuzzing covered (their own counts), and what the installer tests could
    # not check here.
    grep -h '^\[reliability\]\|^\[fuzz\]\|^\[registry\]\|^\[soak\] [0-9]* actions,\|^\[installer\]' \
        "$build/$arch/Testing/Temporary/LastTest.log" 2>/dev/null || true
done
grep -h '^\[reliability\]\|^\[fuzz\]' "$build/native/Testing/Temporary/LastTest.log" 2>/dev/null || true

# One closing line over every run; a run without CTest's summary counts as failed.
passed=0
failed=0
for log in "${logs[@]}"; do
    read -r nf nt <<<"$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$log" | tail -1)"
    if [ -z "${nt:-}" ]; then
        nf=1 nt=1
    fi
    passed=$(( passed + nt - nf ))
    failed=$(( failed + nf ))
    unset nf nt
done
if [ "$KAVREL_RUNS_32BIT" != 1 ]; then
    echo "The 32-bit Wine suite was not run: $KAVREL_NO_32BIT_WHY; the 32-bit tree was built."
fi
echo "Total: $passed passed, $failed failed"
if [ "$failed" -ne 0 ]; then
    status=1
fi
exit "$status"
