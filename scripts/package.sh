#!/usr/bin/env bash
# Builds the release a Windows user downloads, panelry-<version>-<width>.zip
# in the build folder (the version from base/version.h; the width 32bit for
# PANELRY_ARCH=i686, 64bit for x86_64): sets up and builds as the other
# scripts do, takes the guide's pictures in docs/images anew from the
# program just built (guide_screens.sh), and has the build pack the zip
# again with them (its target release_zip, cmake/Release.cmake).
#   scripts/package.sh       (PANELRY_BUILD_DIR=... builds in another folder)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/width.sh"

"$here/scripts/setup.sh" "$BUILD_DIR"
"$here/scripts/build.sh" "$BUILD_DIR"
PANELRY_BUILD_DIR="$BUILD_DIR" bash "$here/scripts/guide_screens.sh" "$here/docs/images"
"$here/scripts/build.sh" "$BUILD_DIR"

version_part() {
    sed -n "s/^#define PANELRY_VERSION_$1 \([0-9][0-9]*\)\$/\1/p" "$here/base/version.h"
}
if [ "$PANELRY_ARCH" = i686 ]; then width=32bit; else width=64bit; fi
zip="$BUILD_DIR/panelry-$(version_part MAJOR).$(version_part MINOR)-$width.zip"
if [ ! -f "$zip" ]; then
    echo "package: $zip was not made" >&2
    exit 1
fi
cmake -E tar tf "$zip"
echo "package: $zip"
