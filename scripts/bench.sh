#!/usr/bin/env bash
# Sets up, builds and runs panelry_bench under Wine on a virtual display: it
# starts the real panelry.exe from a temporary folder, drives it with the
# sample application and prints figures (times, CPU, memory, GUI objects).
# It asserts nothing; the exit code only says whether the run got through.
#   scripts/bench.sh
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR="${PANELRY_BUILD_DIR:-$here/build}"

"$here/scripts/setup.sh" "$BUILD_DIR"
"$here/scripts/build.sh" "$BUILD_DIR"
. "$here/scripts/env.sh"

cd "$BUILD_DIR/bin"
# As for the tests: one persistent wineserver, Wine's services started
# before the benchmark so their start-up is not in its figures, and Wine's
# own noise kept out of the output.
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    wineserver -p >/dev/null 2>&1
    wine wineboot -u >/dev/null 2>&1
    wine panelry_bench.exe 2>&1 | grep -v -e "^wine: " -e "fixme:" ; rc=${PIPESTATUS[0]}
    wineserver -k >/dev/null 2>&1
    exit $rc'
