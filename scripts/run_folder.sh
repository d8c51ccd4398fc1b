#!/usr/bin/env bash
# Prepares a folder to run Panelry in, with settings of its own so that a
# user's settings in build/<width>/bin are never touched: the program, the hook
# library, the sample application and the delivered tools with the
# release's tools.default.ini; a menu.ini with a "ツール(&L)" menu that lists
# the tools and the program's own keys; a shortcut.ini and a launcher panel
# $link (its check box on) with a few of Wine's programs. Used by run.sh and
# guide_screens.sh.
#   scripts/run_folder.sh FOLDER      (BUILD_DIR set by the caller)
set -euo pipefail
run=$1
bin="$BUILD_DIR/bin"

# The profile hex form of a byte list: two digits a byte and the low byte of
# their sum.
hex_bytes() {
    local out="" sum=0 b
    for b in "$@"; do
        b=$((b & 255))
        out+=$(printf %02X "$b")
        sum=$(((sum + b) & 255))
    done
    printf '%s%02X' "$out" "$sum"
}

# One popup of the main menu: its command kinds, then "end" (-2) to 32 entries.
popup_entries() {
    local entries=("$@")
    while [ ${#entries[@]} -lt 32 ]; do entries+=(-2); done
    printf '%s ' "${entries[@]}"
}

rm -rf "$run"
mkdir -p "$run/tool"
cp "$bin/panelry.exe" "$bin/inputtap.dll" "$bin/sampleapp.exe" "$bin/tools.default.ini" "$run/"
cp "$bin"/tool/*.ttl "$run/tool/"
S=-1
main_items=$(hex_bytes \
    $(popup_entries 1 2 $S 6 7 8 $S 9 10 11 $S 12 13 14 $S 15 16 17 $S 18 19 20) \
    $(popup_entries 4 5 $S 21) \
    $(popup_entries 24) \
    $(popup_entries 3 $S 22) \
    $(popup_entries 23) \
    $(popup_entries) $(popup_entries) $(popup_entries))
# Ctrl and the program's own keys, so that the menus show them as usual.
keys=(37 39 65 112 113 82 73 67 114 115 116 117 118 119 120 121 122 78 72 86 0)
{
    printf '[MAIN]\nMAIN MENU ITEM=%s\n' "$main_items"
    printf 'POPUP.0=タブ(&T)\nPOPUP.1=操作(&E)\nPOPUP.2=スタート(&S)\nPOPUP.3=追加(&A)\n'
    printf 'POPUP.4=ツール(&L)\n'
    printf '[MODIFIERS]\n'
    for i in "${!keys[@]}"; do printf '%d=%d\n' "$i" "$([ "${keys[$i]}" = 0 ] && echo 0 || echo 8)"; done
    printf '[VIRTUALKEY]\n'
    for i in "${!keys[@]}"; do printf '%d=%d\n' "$i" "${keys[$i]}"; done
} | iconv -f UTF-8 -t CP932 >"$run/menu.ini"

# The launcher panel's $link: its check box on (so that the panel opens as a
# tab) and a few programs in its first slots, each a 4-byte little-endian
# length and the path's bytes.
link_record() {
    local LC_ALL=C
    local n=${#1}
    # shellcheck disable=SC2059  # the format is the four escaped bytes
    printf "$(printf '\\x%02x' $((n & 255)) $((n >> 8 & 255)) $((n >> 16 & 255)) $((n >> 24)))"
    printf '%s' "$1"
}
{
    printf '\x01'
    link_record "Z:${run//\//\\}\\sampleapp.exe"
    link_record 'C:\windows\notepad.exe'
    link_record 'C:\windows\regedit.exe'
    link_record 'C:\windows\system32\winemine.exe'
    link_record 'C:\windows\system32\taskmgr.exe'
} >"$run/tool/\$link"

# A few programs in the shortcut window, the first ones Wine brings along.
{
    printf '[SHORTCUT PATH]\n'
    # Wine shows the Unix root as drive Z: (no Wine runs outside the display).
    printf 'No.0=Z:%s\\sampleapp.exe\n' "${run//\//\\}"
    printf 'No.1=C:\\windows\\notepad.exe\n'
    printf 'No.2=C:\\windows\\regedit.exe\n'
    printf 'No.3=C:\\windows\\system32\\winemine.exe\n'
    printf 'No.4=C:\\windows\\system32\\taskmgr.exe\n'
    printf 'No.5=C:\\windows\\system32\\winecfg.exe\n'
} >"$run/shortcut.ini"
