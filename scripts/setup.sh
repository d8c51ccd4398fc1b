#!/usr/bin/env bash
# Installs what Panelry's build and tests need from Debian's packages, for
# the width PANELRY_ARCH names (scripts/width.sh chooses it when unset), and
# prepares a Wine prefix of that width inside the build tree. Both widths'
# compilers are installed, so that either width can be built; only what
# runs the chosen width is installed besides: i686 needs the i386
# architecture and Wine's 32-bit loader, x86_64 only Wine's 64-bit one.
# Idempotent: on a ready machine it only checks and returns within seconds.
#
#   scripts/setup.sh [BUILD_DIR]     (default: build/<width>)
#
# APT_CONFIG is honoured as apt itself honours it; PANELRY_SETUP_INSTALL=1
# runs the package step even when everything is there.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/width.sh"
build=${1:-$BUILD_DIR}

common_packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 cmake ninja-build googletest locales
    fonts-wine xvfb xauth xdotool imagemagick x11-utils fonts-ipafont-gothic)
if [ "$PANELRY_ARCH" = i686 ]; then
    # With the 64-bit loader beside the 32-bit one, a machine set up for
    # i686 runs the x86_64 build as well.
    width_packages=(wine wine32:i386 wine64
        libxrender1:i386 libxrandr2:i386 libxi6:i386 libxcursor1:i386 libxinerama1:i386
        libxcomposite1:i386 libxfixes3:i386 libxext6:i386 libxxf86vm1:i386)
else
    width_packages=(wine wine64)
fi

need_packages() {
    [ "${PANELRY_SETUP_INSTALL:-0}" = 1 ] && return 0
    local tool
    for tool in i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix wine xvfb-run import \
        xdotool cmake ninja; do
        command -v "$tool" >/dev/null || return 0
    done
    [ -d /usr/src/googletest/googletest ] || return 0
    [ -f /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf ] || \
        [ -f /usr/share/fonts/truetype/fonts-japanese-gothic.ttf ] || return 0
    if [ "$PANELRY_ARCH" = i686 ]; then
        dpkg -s wine32:i386 >/dev/null 2>&1 || return 0
    else
        dpkg -s wine64 >/dev/null 2>&1 || return 0
    fi
    locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$' || return 0
    return 1
}

# A mirror in the middle of a sync can fail one suite's index while the
# others read fine; apt then exits 100 for all of them. Try again a few
# times, then go on with what was read: the install below says whether it
# was enough.
update_indexes() {
    local attempt
    for attempt in 1 2 3; do
        if apt-get update -qq; then
            return 0
        fi
        echo "setup: reading the package indexes failed (attempt $attempt of 3)" >&2
        [ "$attempt" = 3 ] || sleep $((attempt * 5))
    done
    echo "setup: going on with the indexes that could be read" >&2
}

install_packages() {
    if apt-get install -y -qq --no-install-recommends "$@" >/dev/null; then
        return 0
    fi
    cat >&2 <<EOF
setup: the packages for the $PANELRY_ARCH build could not be installed:
    $*
  apt-get's messages above say which one failed. Things to try:
  - run this script again later, when the mirror has finished its sync;
  - check /etc/apt/sources.list and /etc/apt/sources.list.d for a suite that
    cannot be read;
EOF
    if [ "$PANELRY_ARCH" = i686 ]; then
        echo "  - or build the 64-bit Panelry, which needs no i386 package:" >&2
        echo "    PANELRY_ARCH=x86_64 bash $0" >&2
    fi
    exit 1
}

if need_packages; then
    if [ "$(id -u)" != 0 ]; then
        echo "setup: packages are missing; run this script as root once" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    echo "setup: installing packages for the $PANELRY_ARCH build (first run only)..."
    if [ "$PANELRY_ARCH" = i686 ]; then
        dpkg --add-architecture i386
    fi
    update_indexes
    install_packages "${common_packages[@]}" "${width_packages[@]}"
    sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
    locale-gen >/dev/null
fi

# The Wine prefix lives in the build tree, never in the user's home.
export BUILD_DIR="$build"
. "$here/scripts/env.sh"
# The marker names the prefix's recipe: a changed recipe makes a new prefix.
ready="$WINEPREFIX/.panelry-ready-5-$WINEARCH"
if [ ! -f "$ready" ]; then
    echo "setup: creating the $WINEARCH Wine prefix in $WINEPREFIX..."
    mkdir -p "$build"
    rm -rf "$WINEPREFIX"
    # The prefix is made in the machine's own locale; only the font's
    # Japanese name below needs the Japanese one.
    plain() { env -u LC_ALL "$@"; }
    plain wineboot --init >/dev/null 2>&1
    # An empty debugger keeps a crashing program from starting winedbg, which would hang.
    plain wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d '' /f >/dev/null 2>&1
    plain wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /t REG_SZ /d 1 /f >/dev/null 2>&1
    # No window manager on a virtual display: Wine draws the frames itself.
    plain wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
    plain wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    # The classic look: Wine's default theme stretches the tab control's
    # background on every paint, which costs a third of a second a time.
    plain wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /t REG_SZ /d 0 /f >/dev/null 2>&1
    # The dialogs' font, "ＭＳ Ｐゴシック", is not installed: the proportional
    # Japanese font the set-up installed stands in for it by name (the fixed-
    # width one is wider, and its underscores fall below the line it draws).
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v 'ＭＳ Ｐゴシック' /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1
    wineserver -w
    touch "$ready"
fi
echo "setup: ready ($PANELRY_ARCH)"
