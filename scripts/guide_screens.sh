#!/usr/bin/env bash
# The user guide's pictures (docs/images/*.png), taken from the real program
# on a virtual display so that each release's guide shows the program it
# ships with: the main window with split panes, its menus, the launcher
# panel and a tab's menu (guide_demo.sh), and each page of the settings
# dialog (settings_screens.sh's pictures, cut to the dialog). Every picture
# in the folder is made anew; scripts/package.sh runs this before it packs
# the release.
#   scripts/guide_screens.sh [IMAGE_FOLDER]      (default: docs/images)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/width.sh"
images=$(mkdir -p "${1:-$here/docs/images}" && cd "${1:-$here/docs/images}" && pwd)

"$here/scripts/setup.sh" "$BUILD_DIR"
"$here/scripts/build.sh" "$BUILD_DIR"
. "$here/scripts/env.sh"

rm -f "$images"/*.png

# The settings pages in the order the tree shows them.
PANELRY_BUILD_DIR="$BUILD_DIR" bash "$here/scripts/settings_screens.sh"
screens="$BUILD_DIR/settings-screens"
pages=(behaviour window conditions add-styles add-classes remove-styles remove-classes
       menu tab tab-menu splitbar shortcut accelerators tools version)
geometry=$(cat "$screens/dialog-geometry")
for i in "${!pages[@]}"; do
    convert "$screens/page-$(printf %02d $((i + 1))).png" -crop "$geometry" +repage -strip \
        "$images/settings-${pages[$i]}.png"
done
echo "guide: ${#pages[@]} settings pages"

run="$BUILD_DIR/guide-screens"
bash "$here/scripts/run_folder.sh" "$run"
xvfb-run -a -s "-screen 0 1280x800x24" bash "$here/scripts/guide_demo.sh" "$run" "$images"
# The same window at 150 %, for the guide's section on display scale.
xvfb-run -a -s "-screen 0 1600x1000x24" bash "$here/scripts/guide_scale.sh" "$run" "$images"
ls "$images"/*.png | wc -l | xargs echo "guide: pictures written to $images:"
