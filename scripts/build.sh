#!/usr/bin/env bash
# Builds the trees: the two cross builds (kavrel.dll, the stand-in host and the
# Wine tests), build/win32 for 32-bit hosts and build/win64 for 64-bit hosts,
# and the native build (Windows-free code with sanitizers) in build/native.
# test.sh, demo.sh and bench.sh call it; it is usable on its own.
#   KAVREL_TREES   which cross trees to build (default "win32 win64")
#   KAVREL_TARGET  one target of the cross trees only (package.sh: kavrel)
#   KAVREL_SKIP_NATIVE=1  no native tree
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KAVREL_BUILD:-$root/build}"
jobs="${KAVREL_JOBS:-$(nproc)}"

toolchain() {
    case "$1" in
        win32) echo "$root/cmake/mingw-i686.cmake" ;;
        win64) echo "$root/cmake/mingw-x86_64.cmake" ;;
        *) echo "build.sh: unknown tree '$1' (win32 or win64)" >&2; return 1 ;;
    esac
}

for tree in ${KAVREL_TREES:-win32 win64}; do
    echo "=== Building the $tree tree ($build/$tree) ==="
    cmake -S "$root" -B "$build/$tree" -DCMAKE_TOOLCHAIN_FILE="$(toolchain "$tree")" \
        -DCMAKE_BUILD_TYPE=Release >"$build.$tree-configure.log" 2>&1 ||
        { cat "$build.$tree-configure.log"; exit 1; }
    cmake --build "$build/$tree" -j "$jobs" ${KAVREL_TARGET:+--target "$KAVREL_TARGET"}
done

if [ "${KAVREL_SKIP_NATIVE:-0}" != 1 ]; then
    echo "=== Building the native tree ($build/native) ==="
    cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug \
        >"$build.native-configure.log" 2>&1 || { cat "$build.native-configure.log"; exit 1; }
    cmake --build "$build/native" -j "$jobs"
fi
