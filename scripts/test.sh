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
on_virtual_display ctest --output-on-failure --timeout 120 "$@"
