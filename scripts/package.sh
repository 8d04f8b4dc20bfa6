#!/usr/bin/env bash
# Builds the Windows Installer packages of kavrel.dll with wixl:
#   kavrel-<version>-x86.msi  for 32-bit hosts, from build/win32/addon/kavrel.dll
#   kavrel-<version>-x64.msi  for 64-bit hosts, from build/win64/addon/kavrel.dll
# <version> is project()'s in CMakeLists.txt, the version the library carries.
#
# Usage: bash scripts/package.sh [--out DIR] [--no-build] [--arch x86|x64] [--version X.Y.Z]
#   --out DIR      where the packages go (default build/packages)
#   --no-build     package the libraries the cross trees already hold
#   --arch A       only the package of that architecture
#   --version V    another product version (for the upgrade tests: an older release)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KAVREL_BUILD:-$root/build}"
out="$build/packages"
build_first=1
arches=(x86 x64)
version=""
usage="usage: bash scripts/package.sh [--out DIR] [--no-build] [--arch x86|x64] [--version X.Y.Z]"
while [ $# -gt 0 ]; do
    case "$1" in
        --out) out="$2"; shift 2 ;;
        --no-build) build_first=0; shift ;;
        --arch)
            case "$2" in x86 | x64) arches=("$2") ;; *) echo "$usage" >&2; exit 2 ;; esac
            shift 2 ;;
        --version) version="$2"; shift 2 ;;
        *) echo "$usage" >&2; exit 2 ;;
    esac
done

library_version="$(sed -n 's/^project(kavrel VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
version="${version:-$library_version}"
if ! [[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
    echo "package.sh: '$version' is not a version X.Y.Z" >&2
    exit 2
fi

tree_of() { case "$1" in x86) echo win32 ;; x64) echo win64 ;; esac; }

if [ "$build_first" = 1 ]; then
    bash "$root/scripts/install-deps.sh"
    trees=""
    for arch in "${arches[@]}"; do trees="$trees $(tree_of "$arch")"; done
    KAVREL_TREES="$trees" KAVREL_TARGET=kavrel KAVREL_SKIP_NATIVE=1 bash "$root/scripts/build.sh"
fi
for tool in wixl msibuild; do
    if ! command -v "$tool" >/dev/null; then
        echo "package.sh: $tool is missing (Debian packages wixl and msitools; scripts/install-deps.sh installs them)" >&2
        exit 1
    fi
done

# RFC 4122 name-based GUID (version 5, SHA-1) of a name in a namespace GUID.
name_guid() {
    local namespace hex
    namespace="$(echo "$1" | tr -d '{}-' | tr 'A-F' 'a-f')"
    hex="$({ printf '%b' "$(echo "$namespace" | sed 's/../\\x&/g')"; printf '%s' "$2"; } |
        sha1sum | cut -c1-32)"
    hex="${hex:0:12}5${hex:13:3}$(printf '%x' $(((0x${hex:16:1} & 3) | 8)))${hex:17:15}"
    echo "{${hex:0:8}-${hex:8:4}-${hex:12:4}-${hex:16:4}-${hex:20:12}}" | tr 'a-f' 'A-F'
}

mkdir -p "$out"
out="$(cd "$out" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for arch in "${arches[@]}"; do
    library="$build/$(tree_of "$arch")/addon/kavrel.dll"
    if [ ! -f "$library" ]; then
        echo "package.sh: $library is missing; run without --no-build first" >&2
        exit 1
    fi
    # One product code per architecture and version: the same version built
    # again is the same product, which Windows Installer repairs or refuses
    # instead of installing it a second time beside itself.
    upgrade_code="$(sed -n 's/.*define UpgradeCode = "\([^"]*\)".*/\1/p' "$root/installer/$arch.wxi")"
    product_code="$(name_guid "$upgrade_code" "$version")"
    package="$out/kavrel-$version-$arch.msi"
    # wixl takes the file's source relative to the current folder only.
    cp "$library" "$work/kavrel.dll"
    (cd "$work" && wixl -a "$arch" -I "$root/installer" -o "$work/kavrel.msi" \
        -D Platform="$arch" -D Version="$version" -D ProductCode="$product_code" \
        -D LibraryPath=kavrel.dll "$root/installer/kavrel.wxs")
    queries=()
    while IFS= read -r statement; do
        queries+=(-q "$statement")
    done < <(grep -v -e '^--' -e '^[[:space:]]*$' "$root/installer/finish.sql")
    # The file's version, as its version resource has it: wixl leaves it out.
    queries+=(-q "UPDATE \`File\` SET \`Version\` = '$library_version.0' WHERE \`File\` = 'kavrel.dll'")
    msibuild "$work/kavrel.msi" -i "$root/installer/codepage-1251.idt" "${queries[@]}"
    mv "$work/kavrel.msi" "$package"
    echo "$package"
done
