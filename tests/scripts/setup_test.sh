#!/usr/bin/env bash
# scripts/setup.sh on a machine where one suite's package index cannot be
# read, as when a mirror is in the middle of its sync. The failing suite is
# a source list of the test's own in a temporary folder: a local repository
# with no index at all; the machine's own sources stay as they are.
#
#   setup_test.sh SOURCE_DIR BUILD_DIR goes-on     the other indexes still
#       install what the width needs (x11-utils, which only the run command
#       uses, is removed first and must come back): set-up ends well and says
#       what failed
#   setup_test.sh SOURCE_DIR BUILD_DIR names-what-failed    with no index
#       readable nothing installs: set-up fails and says what and why
#
# Exits 77 (skipped) where apt cannot be run: not root, or no apt-get.
set -uo pipefail
source_dir=$1
build_dir=$2
case=$3

if [ "$(id -u)" != 0 ] || ! command -v apt-get >/dev/null; then
    echo "skipped: set-up installs packages, which needs root and apt-get"
    exit 77
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/sources.list.d" "$tmp/broken" "$tmp/lists/partial"
echo "deb [trusted=yes] file:$tmp/broken mid-sync main" >"$tmp/sources.list.d/broken.list"
{
    echo "Dir::Etc::SourceList \"$tmp/sources.list\";"
    echo "Dir::Etc::SourceParts \"$tmp/sources.list.d\";"
} >"$tmp/apt.conf"
touch "$tmp/sources.list"
if [ "$case" = goes-on ]; then
    # The machine's own sources beside the broken one.
    [ -f /etc/apt/sources.list ] && cp /etc/apt/sources.list "$tmp/sources.list"
    for source in /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
        [ -f "$source" ] && cp "$source" "$tmp/sources.list.d/"
    done
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq x11-utils >/dev/null 2>&1
else
    # Nothing readable, no index kept from earlier runs, and, as apt sees
    # it, nothing installed yet (dpkg is never reached).
    touch "$tmp/status"
    echo "Dir::State::Lists \"$tmp/lists\";" >>"$tmp/apt.conf"
    echo "Dir::State::status \"$tmp/status\";" >>"$tmp/apt.conf"
fi

output=$(APT_CONFIG="$tmp/apt.conf" PANELRY_SETUP_INSTALL=1 \
    bash "$source_dir/scripts/setup.sh" "$build_dir" 2>&1)
status=$?
echo "$output"

fail() {
    echo "FAILED: $*"
    exit 1
}
expect_said() {
    grep -qF -- "$1" <<<"$output" || fail "set-up did not say \"$1\""
}

expect_said "reading the package indexes failed (attempt 3 of 3)"
expect_said "going on with the indexes that could be read"
case "$case" in
goes-on)
    [ "$status" = 0 ] || fail "set-up ended with $status"
    expect_said "setup: ready"
    for package in x11-utils wine g++-mingw-w64-i686 g++-mingw-w64-x86-64 xvfb; do
        dpkg -s "$package" >/dev/null 2>&1 || fail "$package is not installed"
    done
    ;;
names-what-failed)
    [ "$status" != 0 ] || fail "set-up ended well without its packages"
    expect_said "could not be installed"
    expect_said "wine"
    expect_said "run this script again later"
    grep -qF "setup: ready" <<<"$output" && fail "set-up went on to the Wine prefix"
    ;;
*)
    fail "no case \"$case\""
    ;;
esac
echo "passed"
