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
on_virtual_display wine panelry_bench.exe
