#!/usr/bin/env bash
# Installs what building and testing KAVREL needs, from Debian's packages only.
# Safe to run again: it installs only what is missing. Run as root.
set -euo pipefail

packages=(
    cmake make g++ git
    g++-mingw-w64-i686 mingw-w64-tools binutils-mingw-w64-i686
    wine wine32:i386
    xvfb xauth
    googletest nlohmann-json3-dev
)

if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: run as root (apt-get is needed)" >&2
    exit 1
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    need_update=1
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

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "install-deps: done"
