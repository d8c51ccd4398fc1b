// The settings record: defaults, and its part of system.ini.
#include "settings/system_data.h"

#include "base/dpi.h"
#include "settings/conditions.h"
#include "settings/profile_hex.h"
#include "settings/settings_ids.h"

#include <initializer_list>

SystemData DefaultSystemData() {
    SystemData d{};
    d.showMenu = 1;
    d.showTabIcons = 1;
    d.shortcutSmallIcons = 1;
    d.dragSwapTabs = 1;
    d.dropToActiveChild = 1;
    d.addLaunchedWindows = 1;
    d.trayOnMinimize = 1;
    d.wheelSwitchesTabs = 1;
    d.wheelModifierKey = VK_MENU;
    d.startMenuMaxItems = 8;
    d.tabTextLength = 16;
    d.shortcutPosition = 3;
    d.watchInterval = 100;
    d.tabStyle = 0x0200;  // TCS_MULTILINE
    d.tabExStyle = 0;
    d.headerExStyle = WS_EX_CLIENTEDGE;
    d.mainExStyle = WS_EX_CLIENTEDGE;
    d.shortcutStyle = 0;
    d.shortcutExStyle = WS_EX_DLGMODALFRAME;
    d.fixedTabWidth = 120;
    d.headerActiveBack = GetSysColor(COLOR_ACTIVECAPTION);
    d.headerInactiveBack = RGB(128, 128, 128);
    d.headerActiveText = GetSysColor(COLOR_CAPTIONTEXT);
    d.headerInactiveText = RGB(196, 196, 196);
    return d;
}

namespace {

template <typename T>
bool Keep(T& field, T usable) {
    if (field == usable) return false;
    field = usable;
    return true;
}

template <typename T>
T Within(T value, T low, T high) {
    return value < low ? low : (value > high ? high : value);
}

// "PLACEMENT" holds the structure's bytes: a file one width wrote is
// read by the other.
static_assert(sizeof(WINDOWPLACEMENT) == 44, "the stored placement is 44 bytes");

}  // namespace

bool MakeUsable(SystemData& d) {
    bool changed = false;
    changed |= Keep(d.tabStyle, d.tabStyle & kUsableTabStyle);
    changed |= Keep(d.tabExStyle, d.tabExStyle & kUsableTabExStyle);
    changed |= Keep(d.headerExStyle, d.headerExStyle & kUsableHeaderExStyle);
    changed |= Keep(d.mainExStyle, d.mainExStyle & kUsableMainExStyle);
    changed |= Keep(d.shortcutStyle, 0u);
    changed |= Keep(d.shortcutExStyle, d.shortcutExStyle & kUsableShortcutExStyle);
    // As the shortcut page normalises it: any other side is the right one.
    if (d.shortcutPosition < 0 || d.shortcutPosition > 3) changed |= Keep(d.shortcutPosition, 3);
    changed |= Keep(d.watchInterval, Within(d.watchInterval, 0, kMaxWatchInterval));
    changed |= Keep(d.startMenuMaxItems, Within(d.startMenuMaxItems, 1, kMaxStartMenuItems));
    changed |= Keep(d.wheelModifierKey, Within(d.wheelModifierKey, 0, 255));
    for (COLORREF* colour : {&d.headerActiveBack, &d.headerInactiveBack, &d.headerActiveText,
                             &d.headerInactiveText}) {
        changed |= Keep(*colour, *colour & 0x00FFFFFFu);
    }
    return changed;
}

void MakeUsable(WINDOWPLACEMENT& placement) {
    if (placement.showCmd > SW_MAX) placement.showCmd = SW_SHOWNORMAL;
}

SystemData& GetSystemData() {
    static SystemData data = DefaultSystemData();
    return data;
}

namespace {

// The stored placement is in 96-dpi units, as Windows gave it to the program
// while it was not DPI aware; the window's own rectangle is in pixels of the
// screen's scale.
void ScaleNormalPosition(WINDOWPLACEMENT& placement, int to, int from) {
    RECT& r = placement.rcNormalPosition;
    r = {MulDiv(r.left, to, from), MulDiv(r.top, to, from), MulDiv(r.right, to, from),
         MulDiv(r.bottom, to, from)};
}

}  // namespace

bool LoadSystemData(const char* systemIni, WINDOWPLACEMENT* placement) {
    SystemData& data = GetSystemData();
    data.headerActiveBack = GetSysColor(COLOR_ACTIVECAPTION);
    data.headerActiveText = GetSysColor(COLOR_CAPTIONTEXT);

    if (GetFileAttributesA(systemIni) == INVALID_FILE_ATTRIBUTES) {
        SetDefaultConditions();
        return false;
    }

    // An invalid record is refused as a whole; the defaults stay. A valid
    // one (an edited file's, say) is kept within what the program can use.
    profile_hex::ReadStruct(systemIni, settings_ids::kSystemSection, settings_ids::kStructKey,
                            &data, sizeof data);
    MakeUsable(data);

    WINDOWPLACEMENT stored{};
    const bool havePlacement =
        profile_hex::ReadStruct(systemIni, settings_ids::kSystemSection,
                                settings_ids::kPlacementKey, &stored, sizeof stored);
    MakeUsable(stored);
    ScaleNormalPosition(stored, dpi::ScreenDpi(), dpi::kDesign);
    if (havePlacement && placement) *placement = stored;

    AddConditions().Read(systemIni, settings_ids::kAddConditionSection);
    RemoveConditions().Read(systemIni, settings_ids::kRemoveConditionSection);
    return havePlacement;
}

bool SaveSystemData(const char* systemIni, HWND mainWindow) {
    const SystemData& data = GetSystemData();
    profile_hex::WriteStruct(systemIni, settings_ids::kSystemSection, settings_ids::kStructKey,
                             &data, sizeof data);

    if (mainWindow) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (GetWindowPlacement(mainWindow, &placement)) {
            if (!IsWindowVisible(mainWindow)) placement.showCmd = SW_SHOWMINIMIZED;
            ScaleNormalPosition(placement, dpi::kDesign, dpi::ScreenDpi());
            profile_hex::WriteStruct(systemIni, settings_ids::kSystemSection,
                                     settings_ids::kPlacementKey, &placement, sizeof placement);
        }
    }

    const bool addWritten = AddConditions().Write(systemIni, settings_ids::kAddConditionSection);
    const bool removeWritten =
        RemoveConditions().Write(systemIni, settings_ids::kRemoveConditionSection);
    return addWritten && removeWritten;
}
