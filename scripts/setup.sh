#!/usr/bin/env bash
# Installs everything Panelry's build and tests need from Debian's packages and
# prepares a 32-bit Wine prefix inside the build tree. Idempotent: on a ready
# machine it only checks and returns within seconds.
#
#   scripts/setup.sh [BUILD_DIR]     (default: build)
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}

need_packages() {
    command -v i686-w64-mingw32-g++-posix >/dev/null || return 0
    command -v wine >/dev/null || return 0
    command -v xvfb-run >/dev/null || return 0
    command -v import >/dev/null || return 0
    command -v xdotool >/dev/null || return 0
    command -v cmake >/dev/null || return 0
    command -v ninja >/dev/null || return 0
    [ -d /usr/src/googletest/googletest ] || return 0
    [ -f /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf ] || \
        [ -f /usr/share/fonts/truetype/fonts-japanese-gothic.ttf ] || return 0
    dpkg -s wine32:i386 >/dev/null 2>&1 || return 0
    locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$' || return 0
    return 1
}

if need_packages; then
    if [ "$(id -u)" != 0 ]; then
        echo "setup: packages are missing; run this script as root once" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    echo "setup: installing packages (first run only)..."
    dpkg --add-architecture i386
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends \
        g++-mingw-w64-i686 cmake ninja-build googletest locales \
        wine wine32:i386 fonts-wine \
        libxrender1:i386 libxrandr2:i386 libxi6:i386 libxcursor1:i386 libxinerama1:i386 \
        libxcomposite1:i386 libxfixes3:i386 libxext6:i386 libxxf86vm1:i386 \
        xvfb xauth xdotool imagemagick x11-utils fonts-ipafont-gothic >/dev/null
    sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
    locale-gen >/dev/null
fi

# The Wine prefix lives in the build tree, never in the user's home.
export WINEPREFIX="$build/wineprefix"
export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The marker names the prefix's version: a changed recipe makes a new prefix.
ready="$WINEPREFIX/.panelry-ready-4"
if [ ! -f "$ready" ]; then
    echo "setup: creating the Wine prefix in $WINEPREFIX..."
    mkdir -p "$build"
    rm -rf "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1
    # An empty debugger keeps a crashing program from starting winedbg, which would hang.
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d '' /f >/dev/null 2>&1
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /t REG_SZ /d 1 /f >/dev/null 2>&1
    # No window manager on a virtual display: Wine draws the frames itself.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    # The classic look: Wine's default theme stretches the tab control's
    # background on every paint, which costs a third of a second a time.
    wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /t REG_SZ /d 0 /f >/dev/null 2>&1
    # The dialogs' font, "ＭＳ Ｐゴシック", is not installed: the proportional
    # Japanese font the set-up installed stands in for it by name (the fixed-
    # width one is wider, and its underscores fall below the line it draws).
    LC_ALL=ja_JP.UTF-8 wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v 'ＭＳ Ｐゴシック' /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1
    wineserver -w
    touch "$ready"
fi
echo "setup: ready"
