#!/usr/bin/env bash
# The main job: builds KAVREL, registers kavrel.dll in the build's Wine prefix
# and runs a scripted session of the stand-in host on the sample sheet
# (demo/sample_sheet.json, script demo/demo_session.json). Writes into one
# output folder, printed at the end:
#   before.png  the map as loaded        after.png  the map after the session
#   window.png  the host window with the panel docked      panel.png  the panel
#   import-result.png  the import's result window
#   report.txt  the add-on, its commands, every step: what it selected,
#               what it changed, how long it took          result.json  R.json
# Usage: bash scripts/demo.sh [--out DIR] [--no-build] [--interactive]
#   --no-build     run again on what an earlier run installed and built
#   --interactive  with a display ($DISPLAY set): open the host's window
#                  (maphost view) on the sample sheet instead of the session
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KAVREL_BUILD:-$root/build}"
export KAVREL_BUILD="$build"
out=""
build_first=1
interactive=0
while [ $# -gt 0 ]; do
    case "$1" in
        --out) out="$2"; shift 2 ;;
        --no-build) build_first=0; shift ;;
        --interactive) interactive=1; shift ;;
        *) echo "usage: bash scripts/demo.sh [--out DIR] [--no-build] [--interactive]" >&2; exit 2 ;;
    esac
done
out="${out:-$root/out/demo-$(date +%Y%m%d-%H%M%S)}"
if [ "$interactive" = 1 ] && [ -z "${DISPLAY:-}" ]; then
    echo "demo.sh: --interactive needs a display (DISPLAY is not set)" >&2
    exit 2
fi

# The 32-bit build where this machine runs 32-bit code, the 64-bit one otherwise.
# shellcheck source=machine.sh
source "$root/scripts/machine.sh"
kavrel_detect_machine
if [ "$KAVREL_RUNS_32BIT" = 1 ]; then
    arch=win32
    echo "Demo of the 32-bit build (32-bit hosts), build/win32."
else
    arch=win64
    echo "Demo of the 64-bit build (64-bit hosts), build/win64: $KAVREL_NO_32BIT_WHY."
fi

if [ "$build_first" = 1 ]; then
    bash "$root/scripts/install-deps.sh"
    KAVREL_TREES="$arch" KAVREL_SKIP_NATIVE=1 bash "$root/scripts/build.sh"
fi

# shellcheck source=wine-prefix.sh
source "$root/scripts/wine-prefix.sh"
kavrel_wine_env "$build/$arch" "$arch" || true  # "wineserver -p" fails when one already runs
trap kavrel_wine_stop EXIT

dll="$build/$arch/addon/kavrel.dll"
maphost="$build/$arch/host/maphost.exe"
for file in "$dll" "$maphost"; do
    if [ ! -f "$file" ]; then
        echo "demo.sh: $file is missing; run without --no-build first" >&2
        exit 1
    fi
done
if [ "$interactive" = 1 ]; then
    echo "Registering $dll and opening the host's window on the sample sheet ..."
    kavrel_wine_warm
    kavrel_wine regsvr32 /s "Z:$dll"
    kavrel_wine "$maphost" view --project "Z:$root/demo/sample_sheet.json"
    exit $?
fi

mkdir -p "$out"
out="$(cd "$out" && pwd)"
# Registration and the session run under one X server: a Wine process started
# without a display would leave the prefix's desktop without one.
echo "Registering $dll and running the demo session on the sample sheet ..."
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    set -e
    source "$3/scripts/wine-prefix.sh"
    kavrel_wine_warm
    kavrel_wine regsvr32 /s "Z:$1"
    kavrel_wine "$2" run --project "Z:$3/demo/sample_sheet.json" \
        --script "Z:$3/demo/demo_session.json" --out "Z:$4/result.json" \
        --before "Z:$4/before.png" --picture "Z:$4/after.png" --size 1600x1150 \
        --window "Z:$4/window.png" --panel "Z:$4/panel.png" --report "Z:$4/report.txt" \
        --form-picture "TfImportResult=Z:$4/import-result.png"
' demo "$dll" "$maphost" "$root" "$out" || status=$?

if [ -f "$out/report.txt" ]; then
    cat "$out/report.txt"
fi
echo
echo "Demo output: $out"
ls -1 "$out"
if [ "$status" -ne 0 ]; then
    if [ -f "$out/report.txt" ] || [ -f "$out/result.json" ]; then
        echo "maphost ended with status $status (see report.txt and result.json)" >&2
    else
        echo "maphost could not run (status $status) and wrote no report; see the messages above" >&2
    fi
fi
exit "$status"
