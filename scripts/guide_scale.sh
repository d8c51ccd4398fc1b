#!/usr/bin/env bash
# The guide's picture of the main window at 150 % display scale, taken by
# guide_screens.sh under xvfb-run (on a screen large enough for the scaled
# window) in the run folder guide_demo.sh used: Wine is told 144 dpi for
# this start only, and Panelry draws at that scale.
#   scripts/guide_scale.sh RUN_FOLDER IMAGE_FOLDER
set -uo pipefail
run=$1 images=$2
. "$(dirname "$0")/demo_steps.sh"

enter_run_folder "$run" || exit 1
desktop='HKCU\Control Panel\Desktop'
wine reg add "$desktop" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
restore() {
    wine reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1
    wineserver -k >/dev/null 2>&1
}
trap restore EXIT

start_panelry || exit 1
wine sampleapp.exe --token guide-scale --demo >/dev/null 2>&1 &
sleep 3
main=$(xdotool search --name "^Panelry$" | head -1)
import -window "$main" +repage -strip "$images/main-window-150.png" &&
    echo "guide: main-window-150.png"
close_panelry
