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
#                               services start there, detached
#   kavrel_wine_keep_desktop    under emulation, first inside that X server:
#                               Wine's desktop starts there, detached, and
#                               stays for the whole run
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

# Starts Wine's services (services.exe, winedevice.exe, ...) on the current
# display with no output pipe attached: a runner that reads a child's output
# otherwise waits for those services, which outlive the child. (The desktop
# it opens ends a second after its last program, as any Wine desktop does.)
kavrel_wine_warm() {
    # Without a window manager (Xvfb), Wine waits about a second for one
    # whenever a managed top-level window is hidden or destroyed.
    kavrel_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        >/dev/null 2>&1 </dev/null || true
}

# For runs under emulation (the 32-bit suite in an emulated guest); call it
# first in the X server the run uses, before kavrel_wine_warm. Wine ends its
# desktop a second after the last program on it, so every test program that
# opens a window starts explorer.exe anew, waits at most 10 s for it (a fixed
# limit of Wine's) and then goes on without a display driver: "The explorer
# process failed to start.", no window. Under emulation explorer often needs
# longer. Here the desktop starts once, waited for as long as it takes, with
# no output pipe attached (an explorer started by a test keeps that test's
# error output open), and a program that only reads an input that stays open
# as long as this shell keeps the desktop in use until kavrel_wine_stop.
kavrel_wine_keep_desktop() {
    local log waited=0 desktop
    # The first program of a server starts Wine's services; without the menu
    # builder, the one of them that would open the desktop in the meantime.
    WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d" kavrel_wine cmd.exe /c exit \
        >/dev/null 2>&1 </dev/null
    log="$(mktemp)"
    WINEDEBUG=trace+explorer kavrel_wine explorer.exe /desktop >/dev/null 2>"$log" </dev/null &
    desktop=$!
    until grep -q "desktop message loop starting" "$log"; do
        if [ "$waited" -ge 900 ] || ! kill -0 "$desktop" 2>/dev/null; then
            echo "kavrel_wine_keep_desktop: Wine's desktop did not start ($waited s)" >&2
            rm -f "$log"
            return 1
        fi
        sleep 1
        waited=$((waited + 1))
    done
    rm -f "$log"
    # shellcheck disable=SC2034  # the descriptor is held, never written
    exec {kavrel_wine_desktop_user}> >(exec "$kavrel_wine_scripts/../cmake/wine-exec.sh" \
        "$KAVREL_WINE_ARCH" cmd.exe /q /k >/dev/null 2>&1)
    echo "Wine's desktop is up ($waited s) and stays for this run"
}

kavrel_wine_stop() {
    wineserver -k 2>/dev/null || true
}
