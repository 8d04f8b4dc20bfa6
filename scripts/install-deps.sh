#!/usr/bin/env bash
# Installs what building and testing KAVREL needs, from Debian's packages only.
# Safe to run again: it installs only what is missing. Run as root.
set -euo pipefail

# shellcheck source=machine.sh
source "$(dirname "${BASH_SOURCE[0]}")/machine.sh"
kavrel_detect_machine

packages=(
    cmake make g++ git
    g++-mingw-w64-i686 binutils-mingw-w64-i686
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
    wine wine64 fonts-wine
    xvfb xauth
    googletest nlohmann-json3-dev
    wixl msitools
)
# 32-bit Wine only where 32-bit code runs: elsewhere it cannot start anyway.
if [ "$KAVREL_RUNS_32BIT" = 1 ]; then
    packages+=(wine32:i386)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ "${#missing[@]}" -eq 0 ]; then
    echo "install-deps: everything is installed"
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: run as root to install ${missing[*]} (apt-get is needed)" >&2
    exit 1
fi
if [ "$KAVREL_RUNS_32BIT" = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "install-deps: done"
