#!/usr/bin/env bash
# Runs the benchmark of the editor's actions on 1,000, 10,000 and 100,000
# selected objects (docs/performance.md) in every cross tree this machine can
# run (the 32-bit and the 64-bit one, or the 64-bit one alone where 32-bit
# code does not run), and writes their tables, one section per architecture,
# into docs/performance.md and build/bench-results.md.
#
#   bash scripts/bench.sh [kavrel_bench arguments, e.g. --repeat 5]
#
# Builds the benchmark in the Release cross trees of scripts/build.sh first
# ($KAVREL_BUILD/win32 and /win64, default build/).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KAVREL_BUILD:-$root/build}"
jobs="${KAVREL_JOBS:-2}"

# shellcheck source=machine.sh
source "$root/scripts/machine.sh"
kavrel_detect_machine
arches=(win64)
if [ "$KAVREL_RUNS_32BIT" = 1 ]; then
    arches=(win32 win64)
fi

cpu="$(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //')"
machine="Machine: $(nproc) cores, ${cpu}; $(/usr/lib/wine/wine64 --version 2>/dev/null || echo wine); $(uname -sr); run $(date -u '+%Y-%m-%d %H:%M UTC')."
results="$build/bench-results.md"
{
    echo "$machine"
    if [ "$KAVREL_RUNS_32BIT" != 1 ]; then
        echo
        echo "The 32-bit build was not measured: $KAVREL_NO_32BIT_WHY."
    fi
} >"$results"

for arch in "${arches[@]}"; do
    tree="$build/$arch"
    case "$arch" in
        win32) toolchain="$root/cmake/mingw-i686.cmake" title="32-bit build (x86, 32-bit hosts)" ;;
        win64) toolchain="$root/cmake/mingw-x86_64.cmake" title="64-bit build (x64, 64-bit hosts)" ;;
    esac
    cmake -S "$root" -B "$tree" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release >"$tree.bench-configure.log" 2>&1 ||
        { cat "$tree.bench-configure.log"; exit 1; }
    cmake --build "$tree" -j "$jobs" --target kavrel_bench

    # The Wine session starts inside the X server's lifetime: a wineserver kept
    # from an earlier X server would hand the program a desktop without a display.
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
        set -euo pipefail
        root="$1" tree="$2" arch="$3"
        shift 3
        source "$root/scripts/wine-prefix.sh"
        kavrel_wine_env "$tree" "$arch"
        kavrel_wine_warm
        trap kavrel_wine_stop EXIT
        cd "$tree/bench"
        kavrel_wine ./kavrel_bench.exe --repeat 3 "$@" \
            --out "$(kavrel_wine winepath -w "$tree/bench/results.md")"
    ' bench "$root" "$tree" "$arch" --command "bash scripts/bench.sh${*:+ $*}" "$@"
    {
        echo
        echo "### $title"
        echo
        # The architecture's tables one heading level below its own.
        sed -e 's/^### /#### /' "$tree/bench/results.md"
    } >>"$results"
done

# Between the markers of the performance document.
doc="$root/docs/performance.md"
begin='<!-- benchmark results: begin -->'
end='<!-- benchmark results: end -->'
{
    sed -n "1,/^$begin\$/p" "$doc"
    cat "$results"
    echo
    sed -n "/^$end\$/,\$p" "$doc"
} >"$doc.new"
mv "$doc.new" "$doc"
echo "Results: $results and docs/performance.md"
