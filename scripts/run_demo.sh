#!/usr/bin/env bash
# The run on a virtual display, started by run.sh under xvfb-run with the run
# folder and the screenshot's path. Nobody can use Panelry by hand here, so
# this script does what a user would: it turns the shortcut window on,
# gives Panelry three ordinary windows to hold in a split pane, chooses the
# launcher panel from the tool menu and takes the screenshot.
#   scripts/run_demo.sh RUN_FOLDER SCREENSHOT
set -uo pipefail
run=$1 shot=$2
. "$(dirname "$0")/demo_steps.sh"

enter_run_folder "$run" || exit 1

fail() { wineserver -k >/dev/null 2>&1; exit 1; }

# A first start writes the settings; the shortcut window (the record's byte
# 4) is switched on for the second.
start_panelry || fail
close_panelry || fail
set_record_byte 4 1 || { echo "run: no settings record written" >&2; fail; }
start_panelry || fail

wine notepad.exe >/dev/null 2>&1 &
for _ in $(seq 1 50); do
    xdotool search --classname notepad.exe >/dev/null 2>&1 && break
    sleep 0.2
done
wine sampleapp.exe --token demo --demo >/dev/null 2>&1 &
sleep 3
# Open the "ツール" menu, the fifth of the menu bar, and choose its last tool,
# the launcher panel, whose prepared $link makes it open as a tab.
main=$(xdotool search --name "^Panelry$" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + 265)) $((Y + 30)) click 1
sleep 1
xdotool key Up Return
sleep 2
import -window root "$shot"
echo "run: screenshot written to $shot"
wineserver -k >/dev/null 2>&1
exit 0
