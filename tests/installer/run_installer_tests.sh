#!/usr/bin/env bash
# Builds the packages with scripts/package.sh from the 64-bit tree and its
# 32-bit sibling, then runs installer_tests under 64-bit Wine in a prefix of
# its own (TREE/tests/installer/wineprefix), fresh for every run: installing
# and removing products there touches no registration the other tests rely on.
#   run_installer_tests.sh SOURCE TREE INSTALLER_TESTS INSTALL_PROBE
set -uo pipefail

root="$1" tree="$2" tests="$3" probe="$4"
build="$(dirname "$tree")"
here="$tree/tests/installer"

# shellcheck source=../../scripts/machine.sh
source "$root/scripts/machine.sh"
kavrel_detect_machine

if [ "$tree" != "$build/win64" ]; then
    echo "run_installer_tests.sh: $tree is not a win64 tree beside a win32 one (scripts/build.sh)" >&2
    exit 1
fi
packages="$here/packages"
rm -rf "$packages"
arches=(--arch x64)
if [ -f "$build/win32/addon/kavrel.dll" ]; then
    arches=()
else
    export KAVREL_NO_X86_PACKAGE_WHY="$build/win32 holds no kavrel.dll (KAVREL_TREES=win64?)"
    echo "[installer] x86 package not built: $KAVREL_NO_X86_PACKAGE_WHY"
fi
# The current packages, the x64 one built a second time, and an older x64
# release to upgrade from.
package() { KAVREL_BUILD="$build" bash "$root/scripts/package.sh" --no-build "$@" || exit 1; }
package "${arches[@]}" --out "$packages"
package --arch x64 --out "$packages/rebuilt"
package --arch x64 --version 0.9.0 --out "$packages/older"

version="$(sed -n 's/^project(kavrel VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
export KAVREL_PACKAGE_X64="$packages/kavrel-$version-x64.msi"
export KAVREL_PACKAGE_X64_REBUILT="$packages/rebuilt/kavrel-$version-x64.msi"
export KAVREL_PACKAGE_X64_OLDER="$packages/older/kavrel-0.9.0-x64.msi"
export KAVREL_LIBRARY_X64="$tree/addon/kavrel.dll"
export KAVREL_PROBE_X64="$probe"
if [ -z "${KAVREL_NO_X86_PACKAGE_WHY:-}" ]; then
    export KAVREL_PACKAGE_X86="$packages/kavrel-$version-x86.msi"
    export KAVREL_LIBRARY_X86="$build/win32/addon/kavrel.dll"
    export KAVREL_PROBE_X86="$build/win32/tests/installer/install_probe.exe"
fi
if [ -n "${KAVREL_NO_X86_PACKAGE_WHY:-}" ]; then
    :
elif [ "$KAVREL_RUNS_32BIT" != 1 ]; then
    echo "[installer] x86 checks that need a 32-bit process skipped ($KAVREL_NO_32BIT_WHY): the class is not created by its id, and the registration is compared with the 64-bit build's run from the x86 file's path"
elif [ ! -f "${KAVREL_PROBE_X86:-}" ]; then
    echo "[installer] the 32-bit install_probe is not built ($build/win32)" >&2
    exit 1
fi

# Every run starts from a fresh prefix: a copy of one made once, hard-linked
# but for the registry files, which wineserver rewrites in place.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
wine() { "$root/cmake/wine-exec.sh" win64 "$@"; }
export WINEPREFIX="$here/wineprefix.first"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "[installer] creating the Wine prefix $WINEPREFIX ..."
    wine wineboot -i >/dev/null 2>&1 </dev/null
    wineserver -w
fi
rm -rf "$here/wineprefix"
cp -al "$WINEPREFIX" "$here/wineprefix"
for hive in "$here"/wineprefix/*.reg; do
    rm "$hive"
    cp "$WINEPREFIX/${hive##*/}" "$hive"
done
export WINEPREFIX="$here/wineprefix"
status=0
wine "$tests" || status=$?
wineserver -k 2>/dev/null || true
exit "$status"
