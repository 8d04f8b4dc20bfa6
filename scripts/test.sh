#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds both trees, runs the
# native tests (sanitizers) and the Wine tests (real COM, registry and windows
# under Xvfb), and ends with CTest's summary and one "N passed, N failed" line.
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KAVREL_BUILD:-$root/build}"
export KAVREL_BUILD="$build"

bash "$root/scripts/install-deps.sh" || exit 1
bash "$root/scripts/build.sh" || { echo "0 passed, 1 failed"; echo "build failed" >&2; exit 1; }

# shellcheck source=wine-prefix.sh
source "$root/scripts/wine-prefix.sh"
kavrel_wine_env "$build/win"
trap kavrel_wine_stop EXIT

status=0
echo "=== Native tests (AddressSanitizer, UBSan) ==="
(cd "$build/native" && ctest --output-on-failure --timeout 300) | tee "$build/native-ctest.log" || status=1
echo "=== Windows tests under Wine ==="
(cd "$build/win" && xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
    'source "$1/scripts/wine-prefix.sh" && kavrel_wine_warm && ctest --output-on-failure --timeout 600' \
    test "$root") | tee "$build/win-ctest.log" || status=1

# What the reliability sweeps and the parser fuzzing covered (their own counts).
grep -h '^\[reliability\]\|^\[fuzz\]' "$build/native/Testing/Temporary/LastTest.log" \
    "$build/win/Testing/Temporary/LastTest.log" 2>/dev/null || true

# One closing line over both runs.
summary() {
    sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$1" | tail -1
}
read -r nf nt <<<"$(summary "$build/native-ctest.log")"
read -r wf wt <<<"$(summary "$build/win-ctest.log")"
failed=$(( ${nf:-1} + ${wf:-1} ))
total=$(( ${nt:-0} + ${wt:-0} ))
echo "Total: $(( total - failed )) passed, $failed failed"
if [ "$failed" -ne 0 ]; then
    status=1
fi
exit "$status"
