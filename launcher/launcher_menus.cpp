// The start-menu and shortcut lists as the menu model calls them.
#include "launcher/launcher_menus.h"

#include "base/command_kinds.h"
#include "commands/menus.h"
#include "launcher/launch_capture.h"
#include "launcher/shell_launch.h"
#include "launcher/shortcut_window.h"
#include "launcher/start_menu.h"
#include "settings/system_data.h"

namespace {

struct Registration {
    HWND owner = nullptr;
    LaunchCapture* capture = nullptr;
};

Registration& Registered() {
    static Registration registration;
    return registration;
}

void AppendStartMenu(HMENU menu, int kind) {
    BuildStartMenu(menu, static_cast<UINT>(kind), Registered().owner,
                   GetSystemData().startMenuMaxItems);
}

// A folder item opens its submenu; only a shortcut item launches.
bool LaunchStartMenuItem(const MenuContext& context, const MenuListItem& item) {
    if (item.submenu || !item.data) return false;
    LaunchCapture* capture = Registered().capture;
    if (capture) capture->ArmLaunchCapture();
    DWORD process = 0;
    const bool started = ShellLaunch(context.owner, reinterpret_cast<const char*>(item.data), &process);
    if (capture) capture->LaunchFinished(started, process);
    return true;
}

bool MeasureStartMenu(MEASUREITEMSTRUCT& item) {
    return MeasureStartMenuItem(Registered().owner, item);
}

void AppendShortcuts(HMENU menu, int kind) {
    ShortcutWindow().AppendMenuItems(menu, static_cast<UINT>(kind));
}

bool LaunchShortcut(const MenuContext& context, const MenuListItem& item) {
    ShortcutWindow().LaunchEntry(context.owner, static_cast<int>(item.data));
    return true;
}

bool MeasureShortcut(MEASUREITEMSTRUCT& item) {
    ShortcutWindow().MeasureMenuItem(Registered().owner, item);
    return true;
}

bool DrawShortcut(const DRAWITEMSTRUCT& item) {
    ShortcutWindow().DrawMenuItem(item);
    return true;
}

}  // namespace

void RegisterLauncherMenus(HWND owner, LaunchCapture* capture) {
    Registered() = {owner, capture};
    RegisterMenuList(kStartMenuList,
                     {&AppendStartMenu, &LaunchStartMenuItem, &MeasureStartMenu, &DrawStartMenuItem});
    RegisterMenuList(kShortcutList, {&AppendShortcuts, &LaunchShortcut, &MeasureShortcut,
                                     &DrawShortcut});
    ShortcutWindow().SetLaunchCapture(capture);
}

void UnregisterLauncherMenus() {
    RegisterMenuList(kStartMenuList, {});
    RegisterMenuList(kShortcutList, {});
    ShortcutWindow().SetLaunchCapture(nullptr);
    Registered() = {};
}
