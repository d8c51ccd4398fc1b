# Sourced by the scripts: the environment every Wine run of Panelry shares,
# and the steps they have in common. BUILD_DIR and PANELRY_ARCH must be set
# by the caller (scripts/width.sh sets both).
export WINEPREFIX="$BUILD_DIR/wineprefix"
# A prefix of the program's width: a 32-bit one for i686; a 64-bit one for
# x86_64, which runs 32-bit programs too where Wine's 32-bit loader is there.
if [ "$PANELRY_ARCH" = i686 ]; then export WINEARCH=win32; else export WINEARCH=win64; fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# The ANSI code page of the program is 932.
export LC_ALL=ja_JP.UTF-8

# Runs a command on a fresh virtual display with one persistent wineserver
# and Wine's services already started (so their start-up is in no figure and
# no test); Wine's own noise stays out of the output. Returns the command's
# exit code.
on_virtual_display() {
    xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
        wineserver -p >/dev/null 2>&1
        wine wineboot -u >/dev/null 2>&1
        "$@" 2>&1 | grep -v -e "^wine: " -e "fixme:"; rc=${PIPESTATUS[0]}
        wineserver -k >/dev/null 2>&1
        exit $rc' on_virtual_display "$@"
}
