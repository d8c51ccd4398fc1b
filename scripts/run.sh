#!/usr/bin/env bash
# Sets up, builds and starts Panelry.
# On $DISPLAY when there is one; otherwise on a virtual display, where it
# hands Panelry three windows to hold in a split pane, writes a screenshot
# of the screen to build/screenshot.png and then ends.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR="${PANELRY_BUILD_DIR:-$here/build}"

"$here/scripts/setup.sh" "$BUILD_DIR"
"$here/scripts/build.sh" "$BUILD_DIR"
. "$here/scripts/env.sh"

bin="$BUILD_DIR/bin"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    cd "$bin" && exec wine panelry.exe
fi

shot="$BUILD_DIR/screenshot.png"
export SHOT="$shot" BIN="$bin"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    wineserver -p >/dev/null 2>&1
    wine wineboot -u >/dev/null 2>&1
    cd "$BIN"
    wine panelry.exe >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 150); do
        if xdotool search --name "^Panelry$" >/dev/null 2>&1; then break; fi
        if ! kill -0 $pid 2>/dev/null; then
            wait $pid; rc=$?
            echo "run: Panelry ended (exit code $rc) before showing its window" >&2
            wineserver -k >/dev/null 2>&1; exit 1
        fi
        sleep 0.2
    done
    # Nobody can use Panelry by hand here: give it three ordinary windows,
    # Wine'"'"'s notepad and two of the sample application'"'"'s, to show as tabs.
    wine notepad.exe >/dev/null 2>&1 &
    for _ in $(seq 1 50); do
        xdotool search --classname notepad.exe >/dev/null 2>&1 && break
        sleep 0.2
    done
    wine sampleapp.exe --token demo --demo >/dev/null 2>&1 &
    sleep 3
    import -window root "$SHOT"
    echo "run: screenshot written to $SHOT"
    wineserver -k >/dev/null 2>&1
    exit 0'
