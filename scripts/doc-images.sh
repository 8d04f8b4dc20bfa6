#!/usr/bin/env bash
# Makes the pictures of the user guide (docs/user-guide.md) anew from the
# current 64-bit build, under Xvfb, into docs/images/:
#   editor-panel.png, settings-dialog.png, style-picker.png
#       the panel and its dialogs on the sample sheet, its styles chosen
#       (tests/editor/panel_screenshot.cpp)
#   maphost-window.png  maphost view on the sample sheet with the panel open
#   panel-angles.png, panel-rotation.png, panel-steps.png  areas of the panel
#   import-dialog.png  the import dialog (tests/import/dialog_screenshot.cpp)
#   import-result.png  the import's result window after the demo session
#   example-marks-{before,corrected,after}.png, example-rails-{before,after}.png
#       two parts of the sample sheet before the demo session
#       (scripts/demo.sh), before its "Расставить подписи" (the session without
#       those clicks) and after it, cut out with ImageMagick
# Usage: bash scripts/doc-images.sh [--no-build]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KAVREL_BUILD:-$root/build}"
export KAVREL_BUILD="$build"
tree="$build/win64"
images="$root/docs/images"
case "${1:-}" in
    "") bash "$root/scripts/install-deps.sh"
        KAVREL_TREES=win64 KAVREL_SKIP_NATIVE=1 bash "$root/scripts/build.sh" ;;
    --no-build) ;;
    *) echo "usage: bash scripts/doc-images.sh [--no-build]" >&2; exit 2 ;;
esac
# ImageMagick only for the pictures: not part of install-deps.sh.
if [ ! -x /usr/bin/convert ]; then
    echo "doc-images: installing imagemagick"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends imagemagick >/dev/null
fi
convert() { /usr/bin/convert "$@"; }
cmake --build "$tree" --target editor_panel_screenshot import_dialog_screenshot maphost kavrel \
    >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Runs a script in the 64-bit prefix under Xvfb, Wine warmed up; the script
# sees the checkout, the tree, the pictures' folder and the work folder as $1
# to $4.
in_wine() {
    (
        # shellcheck source=wine-prefix.sh
        source "$root/scripts/wine-prefix.sh"
        kavrel_wine_env "$tree" win64
        trap kavrel_wine_stop EXIT
        xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "
            set -e
            source \"\$1/scripts/wine-prefix.sh\"
            kavrel_wine_warm
            $1" doc-images "$root" "$tree" "$images" "$work"
    )
}
in_wine '
    kavrel_wine "$2/tests/editor/editor_panel_screenshot.exe" "Z:$3" \
        "Z:$1/demo/sample_sheet.json" >/dev/null
    kavrel_wine "$2/tests/import/import_dialog_screenshot.exe" "Z:$4/import.bmp" >/dev/null
    # The desktop program on the sample sheet, a few marks selected, the panel open.
    kavrel_wine "$2/host/maphost.exe" view --project "Z:$1/demo/sample_sheet.json" \
        --addon "Z:$2/addon/kavrel.dll" --size 1200x820 --select H041 --select H042 \
        --select H043 --select H044 --select H045 --select H046 --execute 2 \
        --snapshot "Z:$4/window.png" >/dev/null'
# -strip: no time stamps, so that an unchanged picture stays the same file.
convert "$work/import.bmp" -strip "$images/import-dialog.png"
convert "$work/window.png" -strip "$images/maphost-window.png"
# The panel's areas, by their places in its 96-dpi layout.
convert "$images/editor-panel.png" -crop 224x136+0+4 +repage -strip "$images/panel-angles.png"
convert "$images/editor-panel.png" -crop 224x76+0+136 +repage -strip "$images/panel-rotation.png"
convert "$images/editor-panel.png" -crop 224x198+0+214 +repage -strip "$images/panel-steps.png"

bash "$root/scripts/demo.sh" --no-build --out "$work/demo" >/dev/null
convert "$work/demo/import-result.png" -strip "$images/import-result.png"
# The sheet just before label placement: the session without its clicks on
# "Расставить подписи" (one step per line in the script), beside the survey
# catalogue it pastes.
grep -v '"control":"btnPlaceLabels"' "$root/demo/demo_session.json" >"$work/corrected.json"
cp "$root/demo/survey.txt" "$work/"
in_wine '
    kavrel_wine "$2/host/maphost.exe" run --project "Z:$1/demo/sample_sheet.json" \
        --script "Z:$4/corrected.json" --addon "Z:$2/addon/kavrel.dll" \
        --out "Z:$4/corrected-result.json" --picture "Z:$4/demo/corrected.png" \
        --size 1600x1150 >/dev/null'
convert "$work/demo/corrected.png" -crop 620x440+20+20 +repage -strip \
    "$images/example-marks-corrected.png"
for moment in before after; do
    # Plain marks around the garage (north-west) and the rail marks on the
    # railway, the latter enlarged: their strokes are short.
    convert "$work/demo/$moment.png" -crop 620x440+20+20 +repage -strip \
        "$images/example-marks-$moment.png"
    convert "$work/demo/$moment.png" -crop 640x240+520+340 +repage -resize 150% -strip \
        "$images/example-rails-$moment.png"
done
echo "doc-images: pictures written to $images"
