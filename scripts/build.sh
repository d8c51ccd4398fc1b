#!/usr/bin/env bash
# Configures and builds Panelry for 32-bit Windows with MinGW-w64.
#   scripts/build.sh [BUILD_DIR]      (default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-mingw-i686.cmake" >/dev/null
fi
cmake --build "$build" -- -j"$(nproc)"
