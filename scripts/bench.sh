#!/usr/bin/env bash
# Sets up, builds and runs panelry_bench under Wine on a virtual display: it
# starts the real panelry.exe from a temporary folder, drives it with the
# sample application and prints figures (times, CPU, memory, GUI objects).
# It asserts nothing; the exit code only says whether the runs got through.
# One run per tab count, 10, 50 and 200 unless others are given:
#   scripts/bench.sh [TAB_COUNT...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR="${PANELRY_BUILD_DIR:-$here/build}"

"$here/scripts/setup.sh" "$BUILD_DIR"
"$here/scripts/build.sh" "$BUILD_DIR"
. "$here/scripts/env.sh"

counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(10 50 200)
cd "$BUILD_DIR/bin"
for count in "${counts[@]}"; do
    on_virtual_display wine panelry_bench.exe "$count"
done
