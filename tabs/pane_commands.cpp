// The commands a pane carries out itself, and which of them a menu offers:
// those that would do nothing in the pane's present state are greyed.
#include "tabs/pane.h"

#include "base/command_kinds.h"
#include "inputtap/inputtap.h"
#include "settings/system_data.h"
#include "tabs/split_bar.h"

#include <initializer_list>

namespace {

void Grey(HMENU menu, UINT id, bool grey) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | (grey ? MF_GRAYED : MF_ENABLED));
}

}  // namespace

bool cTab::ExecCommand(unsigned id) {
    const int kind = static_cast<int>(id & 0xFFFF);
    switch (kind) {
    case kSelectPrevTab: SelectPrevTab(); return true;
    case kSelectNextTab: SelectNextTab(); return true;
    case kReleaseTab: case kMinimizeTab: case kCloseTab:
    case kReleaseAllTabs: case kMinimizeAllTabs: case kCloseAllTabs:
    case kReleaseLeftTabs: case kMinimizeLeftTabs: case kCloseLeftTabs:
    case kReleaseRightTabs: case kMinimizeRightTabs: case kCloseRightTabs:
        RunOnTabs(kind);
        return true;
    case kUnsplit: Unsplit(); return true;
    case kSplitLeftRight: Split(false); return true;
    case kSplitTopBottom: Split(true); return true;
    default:
        return false;
    }
}

// The release, minimise and close commands: kinds 6..17 come in groups of
// three (release, minimise, close) for the selected tab, all tabs, the
// tabs left of the selection and those right of it.
enum class TabGroup { Selected, All, LeftOfSelection, RightOfSelection };
enum class TabAction { Release, Minimize, Close };

void cTab::RunOnTabs(int kind) {
    const auto group = static_cast<TabGroup>((kind - kReleaseTab) / 3);
    const auto action = static_cast<TabAction>((kind - kReleaseTab) % 3);
    auto apply = [&](int index) {
        if (action == TabAction::Close) CloseTab(index);
        else ReleaseTab(index, action == TabAction::Minimize);
    };
    const int count = TabCount();
    if (count == 0) return;
    const int selected = Selected();
    switch (group) {
    case TabGroup::Selected:
        apply(selected);
        break;
    case TabGroup::All:
        for (int i = count - 1; i >= 0; --i) apply(i);
        break;
    case TabGroup::LeftOfSelection:
        // Each release removes tab 0; a close leaves the tab where it is,
        // unless it releases the window first.
        for (int i = 0; i < selected; ++i) {
            const bool stays = action == TabAction::Close && !GetSystemData().releaseBeforeClose;
            apply(stays ? i : 0);
        }
        break;
    case TabGroup::RightOfSelection:
        for (int i = count - 1; i > selected; --i) apply(i);
        break;
    }
}

void cTab::EnableMenuCommands(HMENU menu) const {
    const cSplitbar* bar = SplitBar();
    const bool split = bar && Child();
    const bool topBottom = split && bar->IsHorizontal();
    Grey(menu, kUnsplit, !split);
    Grey(menu, kSplitLeftRight, split && !topBottom);
    Grey(menu, kSplitTopBottom, topBottom);

    const bool noTab = TabCount() == 0;
    for (UINT id : {kSelectPrevTab, kSelectNextTab}) Grey(menu, id, noTab);
    for (UINT id = kReleaseTab; id <= kCloseRightTabs; ++id) Grey(menu, id, noTab);

    const bool watching = INPUTTAP_IsAttached() != 0;
    Grey(menu, kWatchOn, watching);
    Grey(menu, kWatchOff, !watching);
}
