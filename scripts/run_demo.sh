#!/usr/bin/env bash
# The run on a virtual display, started by run.sh under xvfb-run with the run
# folder and the screenshot's path. Nobody can use Panelry by hand here, so
# this script does what a user would: it turns the shortcut window on,
# gives Panelry three ordinary windows to hold in a split pane, chooses the
# launcher panel from the tool menu and takes the screenshot.
#   scripts/run_demo.sh RUN_FOLDER SCREENSHOT
set -uo pipefail
run=$1 shot=$2

wineserver -p >/dev/null 2>&1
wine wineboot -u >/dev/null 2>&1
cd "$run" || exit 1

# Starts Panelry and waits for its window; fails when it ends first.
start_panelry() {
    wine panelry.exe >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 150); do
        xdotool search --name "^Panelry$" >/dev/null 2>&1 && return 0
        if ! kill -0 $pid 2>/dev/null; then
            wait $pid
            echo "run: Panelry ended (exit code $?) before showing its window" >&2
            return 1
        fi
        sleep 0.2
    done
    echo "run: Panelry showed no window" >&2
    return 1
}

# Asks Panelry to close as the system does (WM_CLOSE), and waits until it
# has saved its settings and ended.
close_panelry() {
    wine taskkill /im panelry.exe >/dev/null 2>&1
    for _ in $(seq 1 100); do
        kill -0 $pid 2>/dev/null || return 0
        sleep 0.2
    done
    echo "run: Panelry did not close" >&2
    return 1
}

# Sets one byte of system.ini's settings record, whose checksum (the last
# byte, the sum of the others) follows.
set_record_byte() {
    local offset=$1 value=$2 line hex sum=0 i
    line=$(grep -a '^STRUCT=' system.ini | tr -d '\r')
    hex=${line#STRUCT=}
    [ ${#hex} -ge 4 ] || return 1
    hex=${hex:0:$((offset * 2))}$(printf %02X "$value")${hex:$((offset * 2 + 2))}
    for ((i = 0; i < ${#hex} - 2; i += 2)); do sum=$(((sum + 16#${hex:i:2}) & 255)); done
    hex=${hex:0:${#hex}-2}$(printf %02X "$sum")
    sed -i "s/^STRUCT=.*/STRUCT=$hex\r/" system.ini
}

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
