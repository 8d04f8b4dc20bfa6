#!/bin/sh
# Runs a built Windows program under 32-bit Wine in the build tree's prefix.
# KAVREL_WINEPREFIX is set by the test and demo scripts; the default is the
# prefix beside this build.
: "${WINEPREFIX:=${KAVREL_WINEPREFIX:-$PWD/wineprefix}}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=;mshtml=}"
exec wine "$@"
