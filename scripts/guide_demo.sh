#!/usr/bin/env bash
# The guide's pictures of the main window, taken on a virtual display by
# guide_screens.sh under xvfb-run in a folder run_folder.sh prepared. As in
# run_demo.sh, it does what a user would: shortcut window on, three windows
# held in a split pane, the menus opened one by one, the launcher panel
# chosen from the tool menu, a tab's own menu. Each picture is the screen
# cut to the main window's rectangle (the menus open inside it).
#   scripts/guide_demo.sh RUN_FOLDER IMAGE_FOLDER
set -uo pipefail
run=$1 images=$2
. "$(dirname "$0")/demo_steps.sh"

enter_run_folder "$run" || exit 1

fail() { wineserver -k >/dev/null 2>&1; exit 1; }

# The main window's place on the screen and on every picture.
left=0 top=0 width=880 height=560
shoot() {  # picture name
    import -window root "$images/$1.tmp.png" &&
        convert "$images/$1.tmp.png" -crop "${width}x${height}+${left}+${top}" +repage -strip \
            "$images/$1.png" && rm -f "$images/$1.tmp.png" && echo "guide: $1.png"
}
# A point of the main window, from its top left corner.
click_at() { xdotool mousemove $((left + $1)) $((top + $2)) click "${3:-1}"; sleep 1; }
# The menu bar's popups, as the run folder's menu.ini names them.
menu_tabs=30 menu_operate=85 menu_start=150 menu_add=212 menu_tools=265 menu_bar=32

# A first start writes the settings; the second opens at its place with
# the shortcut window (the record's byte 4) on.
start_panelry || fail
close_panelry || fail
set_record_byte 4 1 || { echo "guide: no settings record written" >&2; fail; }
set_placement $left $top $width $height || fail
start_panelry || fail

wine notepad.exe >/dev/null 2>&1 &
for _ in $(seq 1 50); do
    xdotool search --classname notepad.exe >/dev/null 2>&1 && break
    sleep 0.2
done
wine sampleapp.exe --token guide --demo >/dev/null 2>&1 &
sleep 3
shoot main-window

# Another application's window on the desktop, which the window list offers.
wine winemine.exe >/dev/null 2>&1 &
sleep 2
click_at $menu_add $menu_bar
shoot menu-add
xdotool key Escape Escape
sleep 0.5

click_at $menu_start $menu_bar
shoot menu-start
xdotool key Escape Escape
sleep 0.5

click_at $menu_tools $menu_bar
shoot menu-tools
# Its last tool, the launcher panel, which opens as a tab.
xdotool key Up Return
sleep 2
shoot launcher-panel

# A tab's own menu, on a right click on the tab.
click_at 60 54 3
shoot tab-menu
xdotool key Escape
sleep 0.5

close_panelry
wineserver -k >/dev/null 2>&1
exit 0
