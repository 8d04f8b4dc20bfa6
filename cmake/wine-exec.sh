#!/bin/sh
# Runs a built Windows program under the Wine of one architecture:
#   wine-exec.sh win32|win64 PROGRAM [ARGUMENTS...]
# The 64-bit loader is called by name: Debian's "wine" command prefers the
# 32-bit loader whenever wine32 is installed, which machines that refuse
# 32-bit code cannot execute. KAVREL_WINEPREFIX is set by the scripts; the
# default is the prefix beside the build tree the program runs in.
arch="$1"
shift
case "$arch" in
    win32) loader="${KAVREL_WINE32:-/usr/lib/wine/wine}" ;;
    win64) loader="${KAVREL_WINE64:-/usr/lib/wine/wine64}" ;;
    *) echo "wine-exec.sh: the first argument is win32 or win64, not '$arch'" >&2; exit 2 ;;
esac
[ -x "$loader" ] || loader="$(command -v "wine${arch#win}" || command -v wine)"
: "${WINEPREFIX:=${KAVREL_WINEPREFIX:-$PWD/wineprefix}}"
export WINEPREFIX WINELOADER="$loader"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=;mshtml=}"
# The add-on's users run Russian Windows: its ANSI code page (1251) is what
# gives the forms' faces, MS Sans Serif among them, their Cyrillic letters.
# Wine takes the locale from the name alone; it need not be installed here.
# A run that needs another locale says so in KAVREL_WINE_LOCALE.
export LC_ALL="${KAVREL_WINE_LOCALE:-ru_RU.UTF-8}"
exec "$loader" "$@"
