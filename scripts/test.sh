#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite under Wine on one virtual
# display, in the width scripts/width.sh chooses (PANELRY_ARCH). Then the
# other width is built as well (with warnings as errors, as every build) and
# its release zip packed; where this machine runs that width too, that zip's
# tests run. The exit code is the first failure's.
#   scripts/test.sh [ctest arguments...]
# With ctest arguments (a part of the suite, say -R CanAddWindow) the other
# width is left alone.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/width.sh"

"$here/scripts/setup.sh" "$BUILD_DIR"
"$here/scripts/build.sh" "$BUILD_DIR"

# Each width's ctest runs in a shell of its own, with that width's Wine.
run_ctest() {
    (
        export PANELRY_ARCH=$1 BUILD_DIR=$2
        shift 2
        . "$here/scripts/env.sh"
        cd "$BUILD_DIR"
        # Wine now and then loses a process as it starts: the test program
        # then ends within milliseconds having printed nothing. A failed test
        # runs once more; one that fails twice fails the run.
        on_virtual_display ctest --output-on-failure --timeout 120 --repeat until-pass:2 "$@"
    )
}

status=0
run_ctest "$PANELRY_ARCH" "$BUILD_DIR" "$@" || status=$?
[ $# -eq 0 ] || exit "$status"

other=$PANELRY_OTHER_ARCH
if [ -n "${PANELRY_BUILD_DIR:-}" ]; then
    other_dir="$PANELRY_BUILD_DIR-$other"
else
    other_dir="$here/build/$other"
fi
echo "test: building the $other width in $other_dir"
PANELRY_ARCH=$other "$here/scripts/build.sh" "$other_dir" || exit 1

if [ "$other" = i686 ] && ! runs_32bit; then
    echo "test: this machine runs no 32-bit program; the $other release zip is built, not run"
elif ! PANELRY_ARCH=$other "$here/scripts/setup.sh" "$other_dir"; then
    echo "test: Wine for the $other width could not be set up; its release zip is not run"
else
    echo "test: the $other release zip's tests"
    other_status=0
    run_ctest "$other" "$other_dir" -R '^Package\.' || other_status=$?
    [ "$status" != 0 ] || status=$other_status
fi
exit "$status"
