#!/usr/bin/env bash
# Sourced: sets up the Wine environment of a build tree and starts a
# persistent wineserver, so that test processes don't each pay for one.
# The prefix is created once per build tree (it takes 15 to 25 s).
kavrel_wine_env() {
    local build="$1"
    export WINEPREFIX="$build/wineprefix"
    export KAVREL_WINEPREFIX="$WINEPREFIX"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree=;mshtml="
    export WINEARCH=win32
    # A server left running for this prefix (an earlier run) would keep a
    # desktop bound to an X display that may be gone.
    wineserver -k >/dev/null 2>&1 || true
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix $WINEPREFIX ..."
        mkdir -p "$build"
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w
    fi
    wineserver -p >/dev/null 2>&1 </dev/null
}

# Call inside the X server the runs use (xvfb-run): starts Wine's desktop and
# services on that display, detached from any output pipe, so that neither a
# test's output nor a later window waits on them.
kavrel_wine_warm() {
    # Without a window manager (Xvfb), Wine waits about a second for one
    # whenever a managed top-level window is hidden or destroyed.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
}
kavrel_wine_stop() {
    wineserver -k 2>/dev/null || true
}
