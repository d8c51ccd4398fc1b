#!/usr/bin/env bash
# Configures and builds Panelry for Windows with MinGW-w64, in the width
# PANELRY_ARCH names (scripts/width.sh chooses it when unset).
#   scripts/build.sh [BUILD_DIR]      (default: build/<width>)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/width.sh"
build=${1:-$BUILD_DIR}
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-mingw-$PANELRY_ARCH.cmake" >/dev/null
fi
cmake --build "$build" -- -j"$(nproc)"
