#!/usr/bin/env bash
# Screenshots of the settings dialog, one per page, from the real program on
# a virtual display: build/<width>/settings-screens/page-NN.png in the order the
# tree shows the pages (each parent opened on the way), and dialog-*.png of
# the dialogs the pages open; dialog-geometry says where the dialog is on
# them (WIDTHxHEIGHT+X+Y).
#   scripts/settings_screens.sh
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/width.sh"

"$here/scripts/setup.sh" "$BUILD_DIR"
"$here/scripts/build.sh" "$BUILD_DIR"
. "$here/scripts/env.sh"

out="$BUILD_DIR/settings-screens"
run="$out/run"
rm -rf "$out"
mkdir -p "$run"
# With the delivered tools, as the release has them, so that the page
# "ツール" lists them.
cp -r "$BUILD_DIR/bin/panelry.exe" "$BUILD_DIR/bin/inputtap.dll" "$BUILD_DIR/bin/tool" \
    "$BUILD_DIR/bin/tools.default.ini" "$run/"

export OUT="$out" RUN="$run"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    wineserver -p >/dev/null 2>&1
    wine wineboot -u >/dev/null 2>&1
    cd "$RUN"
    wine panelry.exe >/dev/null 2>&1 &
    for _ in $(seq 1 150); do
        xdotool search --name "^Panelry$" >/dev/null 2>&1 && break
        sleep 0.2
    done
    sleep 2  # its start-up done
    # "操作(&E)", the second popup of the menu bar, and its last item, "設定".
    main=$(xdotool search --name "^Panelry$" | head -n 1)
    eval "$(xdotool getwindowgeometry --shell "$main")"
    xdotool mousemove $((X + 85)) $((Y + 30)) click 1
    sleep 0.5
    xdotool mousemove $((X + 90)) $((Y + 94))
    sleep 0.3
    xdotool click 1
    for _ in $(seq 1 50); do
        xdotool search --name "^設定$" >/dev/null 2>&1 && break
        sleep 0.2
    done
    sleep 1
    # The tree has the focus: Right opens a parent, Down goes to the next
    # node shown.
    for n in $(seq -w 1 15); do
        import -window root "$OUT/page-$n.png"
        xdotool key Right Down
        sleep 0.5
    done
    # The dialogs the pages open, each from its page: places in pixels from
    # the dialog'"'"'s top left corner, as the templates come out in the
    # dialog font. With every parent open, tree node i is 16 pixels lower
    # than node i - 1, and x 58 is on the label of each node clicked.
    dialog=$(xdotool search --name "^設定$" | head -n 1)
    eval "$(xdotool getwindowgeometry --shell "$dialog")"
    # Where the dialog is on the pictures, for those who cut it out.
    echo "${WIDTH}x${HEIGHT}+${X}+${Y}" >"$OUT/dialog-geometry"
    shoot() {  # node, x, y, clicks, picture
        # The first click after a closed dialog may only bring ours forward.
        xdotool mousemove $((X + 58)) $((Y + 37 + 16 * $1)) click 1
        sleep 0.3
        xdotool click 1
        sleep 0.5
        xdotool mousemove $((X + $2)) $((Y + $3)) click --repeat "$4" --delay 80 1
        sleep 1
        import -window root "$OUT/$5.png"
        xdotool key Escape
        sleep 0.5
    }
    shoot 6 546 62 1 dialog-window-picker        # "排除するレジスタクラス": "追加"
    shoot 7 339 286 1 dialog-menu-item          # "メニュー": "アイテムの追加"
    shoot 12 289 173 2 dialog-accelerator-key   # "アクセラレータキー": a row
    wineserver -k >/dev/null 2>&1'
ls "$out"/page-*.png | wc -l | xargs echo "settings-screens: pages written to $out:"
ls "$out"/dialog-*.png | wc -l | xargs echo "settings-screens: dialogs written:"
