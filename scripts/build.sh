#!/usr/bin/env bash
# Builds both trees: the cross build (kavrel.dll, the stand-in host, the Wine
# tests) in build/win and the native build (Windows-free code with sanitizers)
# in build/native. Sourced by test.sh and demo.sh; usable on its own.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KAVREL_BUILD:-$root/build}"
jobs="${KAVREL_JOBS:-$(nproc)}"

cmake -S "$root" -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release >"$build.win-configure.log" 2>&1 ||
    { cat "$build.win-configure.log"; exit 1; }
cmake --build "$build/win" -j "$jobs"

if [ "${KAVREL_SKIP_NATIVE:-0}" != 1 ]; then
    cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug \
        >"$build.native-configure.log" 2>&1 || { cat "$build.native-configure.log"; exit 1; }
    cmake --build "$build/native" -j "$jobs"
fi
