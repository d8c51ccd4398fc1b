#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite under Wine on one virtual
# display. The exit code is ctest's.
#   scripts/test.sh [ctest arguments...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR="${PANELRY_BUILD_DIR:-$here/build}"

"$here/scripts/setup.sh" "$BUILD_DIR"
"$here/scripts/build.sh" "$BUILD_DIR"
. "$here/scripts/env.sh"

cd "$BUILD_DIR"
# One persistent wineserver for the whole run; Wine's services start detached
# from ctest's pipes, and Wine's own noise stays out of the log.
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    wineserver -p >/dev/null 2>&1
    wine wineboot -u >/dev/null 2>&1
    ctest --output-on-failure --timeout 120 "$@" 2>&1 | grep -v -e "^wine: " -e "fixme:" ; rc=${PIPESTATUS[0]}
    wineserver -k >/dev/null 2>&1
    exit $rc' ctest "$@"
