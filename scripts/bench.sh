#!/usr/bin/env bash
# Runs the benchmark of the editor's actions on 1,000, 10,000 and 100,000
# selected objects (docs/performance.md) and writes its tables into
# docs/performance.md and build/bench/results.md.
#
#   bash scripts/bench.sh [kavrel_bench arguments, e.g. --repeat 5]
#
# Builds the benchmark in the Release cross tree of scripts/build.sh first
# ($KAVREL_BUILD/win, default build/win; KAVREL_BENCH_TREE names another tree).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KAVREL_BENCH_TREE:-${KAVREL_BUILD:-$root/build}/win}"
jobs="${KAVREL_JOBS:-2}"

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release >"$build.bench-configure.log" 2>&1 ||
    { cat "$build.bench-configure.log"; exit 1; }
cmake --build "$build" -j "$jobs" --target kavrel_bench

cpu="$(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //')"
machine="Machine: $(nproc) cores, ${cpu}; $(wine --version); $(uname -sr); run $(date -u '+%Y-%m-%d %H:%M UTC')."

# The Wine session starts inside the X server's lifetime: a wineserver kept
# from an earlier X server would hand the program a desktop without a display.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    set -euo pipefail
    root="$1" build="$2"
    shift 2
    source "$root/scripts/wine-prefix.sh"
    kavrel_wine_env "$build"
    kavrel_wine_warm
    trap kavrel_wine_stop EXIT
    cd "$build/bench"
    wine ./kavrel_bench.exe --repeat 3 "$@" \
        --out "$(winepath -w "$build/bench/results.md")" \
        --doc "$(winepath -w "$root/docs/performance.md")"
' bench "$root" "$build" --machine "$machine" --command "bash scripts/bench.sh $*" "$@"
echo "Results: $build/bench/results.md and docs/performance.md"
