#!/usr/bin/env bash
# Sets up, builds and starts Panelry.
# On $DISPLAY when there is one; otherwise on a virtual display, where it
# runs a copy in a folder of its own (build/<width>/run, made by run_folder.sh) with
# the delivered tools registered, a "ツール" menu that lists them and a
# shortcut window with a few programs, hands Panelry three windows to hold
# in a split pane, chooses the launcher panel from that menu (it opens as a
# tab), writes a screenshot of the screen to build/<width>/screenshot.png and then
# ends (scripts/run_demo.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/width.sh"

"$here/scripts/setup.sh" "$BUILD_DIR"
"$here/scripts/build.sh" "$BUILD_DIR"
. "$here/scripts/env.sh"

bin="$BUILD_DIR/bin"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    cd "$bin" && exec wine panelry.exe
fi

# The run folder: the program with settings of its own.
run="$BUILD_DIR/run"
bash "$here/scripts/run_folder.sh" "$run"

xvfb-run -a -s "-screen 0 1280x800x24" \
    bash "$here/scripts/run_demo.sh" "$run" "$BUILD_DIR/screenshot.png"
