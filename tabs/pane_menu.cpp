// Which of a pane's commands a menu offers: those that would do nothing in
// the pane's present state are greyed.
#include "tabs/pane.h"

#include "base/command_kinds.h"
#include "inputtap/inputtap.h"
#include "tabs/split_bar.h"

#include <initializer_list>

namespace {

void Grey(HMENU menu, UINT id, bool grey) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | (grey ? MF_GRAYED : MF_ENABLED));
}

}  // namespace

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
