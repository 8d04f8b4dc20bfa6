#!/usr/bin/env bash
# Sourced: the Wine environment of one cross build tree.
#
#   kavrel_wine_env TREE ARCH   ARCH is win32 or win64: exports the prefix
#                               (TREE/wineprefix, created once, 10 to 25 s),
#                               the architecture and the loader, and starts a
#                               persistent wineserver so that test processes
#                               don't each pay for one
#   kavrel_wine PROGRAM ARGS    runs a program under that Wine
#   kavrel_wine_warm            inside the X server the runs use: Wine's
#                               desktop and services start there, detached
#   kavrel_wine_stop            ends the prefix's wineserver
#   kavrel_wine_fonts           Wine's own fonts in the prefix's Fonts folder
#
# Debian's "wine", "wineboot" and "winepath" commands run the 32-bit loader
# whenever wine32 is installed; everything here goes through
# cmake/wine-exec.sh, which calls the loader of the tree's architecture.
kavrel_wine_scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

kavrel_wine_env() {
    local build
    mkdir -p "$1"
    build="$(cd "$1" && pwd)"
    export KAVREL_WINE_ARCH="$2"
    export WINEPREFIX="$build/wineprefix"
    export KAVREL_WINEPREFIX="$WINEPREFIX"
    export WINEARCH="$KAVREL_WINE_ARCH"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree=;mshtml="
    # A server left running for this prefix (an earlier run) would keep a
    # desktop bound to an X display that may be gone.
    wineserver -k >/dev/null 2>&1 || true
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the $KAVREL_WINE_ARCH Wine prefix $WINEPREFIX ..."
        # A 64-bit prefix on a machine without 32-bit code misses only the
        # WoW64 half (syswow64's rundll32): nothing here uses it.
        kavrel_wine wineboot -i >/dev/null 2>&1 </dev/null || true
        wineserver -w
    fi
    kavrel_wine_fonts
    wineserver -p >/dev/null 2>&1 </dev/null
}

# Wine's own faces for the classic Windows ones (Tahoma, MS Sans Serif, ...;
# Debian's fonts-wine) go where a Windows installation keeps its fonts: this
# Wine looks for them beside its data folder, where Debian does not put them,
# and the forms would otherwise be drawn in a much wider fallback face.
kavrel_wine_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
    [ -d "$fonts" ] || return 0
    for font in /usr/share/wine/fonts/*; do
        [ -e "$font" ] || continue
        [ -e "$fonts/${font##*/}" ] || ln -s "$font" "$fonts/${font##*/}"
    done
}

kavrel_wine() {
    "$kavrel_wine_scripts/../cmake/wine-exec.sh" "$KAVREL_WINE_ARCH" "$@"
}

# Starts Wine's desktop and services (services.exe, winedevice.exe, ...) on the
# current display with no output pipe attached: a runner that reads a child's
# output otherwise waits for those services, which outlive the child.
kavrel_wine_warm() {
    # Without a window manager (Xvfb), Wine waits about a second for one
    # whenever a managed top-level window is hidden or destroyed.
    kavrel_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        >/dev/null 2>&1 </dev/null || true
}

kavrel_wine_stop() {
    wineserver -k 2>/dev/null || true
}
