# Sourced by the scripts: the environment every Wine run of Panelry shares.
# BUILD_DIR must be set by the caller.
export WINEPREFIX="$BUILD_DIR/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# The ANSI code page of the program is 932.
export LC_ALL=ja_JP.UTF-8
