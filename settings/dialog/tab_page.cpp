// The settings page "タブ": where the tabs sit and how they look, how long a
// tab's text may be, and what dropping files on a tab or dragging a tab does.
#include "settings/dialog/dialog_ids.h"
#include "settings/dialog/pages.h"
#include "settings/dialog/tab_page_ids.h"
#include "settings/system_data.h"

#include <commctrl.h>

#include <cstdint>

namespace {

// A flag of the record and its check box.
struct FlagBox {
    int id;
    Flag SystemData::*field;
};
constexpr FlagBox kFlagBoxes[] = {
    {IDC_TAB_ICONS, &SystemData::showTabIcons},
    {IDC_TAB_DROP_TO_ACTIVE, &SystemData::dropToActiveChild},
    {IDC_TAB_DROP_TO_ALL, &SystemData::dropToAllChildren},
    {IDC_TAB_DRAG_SWAP, &SystemData::dragSwapTabs},
};

constexpr int kMinTextLength = 2;
constexpr int kMaxTextLength = 128;
constexpr int kMaxTabWidth = 1024;

class TabPage : public SettingsPage {
public:
    TabPage() : SettingsPage(IDD_PAGE_TAB) {}

private:
    void Fill() override {
        const SystemData& settings = GetSystemData();
        const std::uint32_t style = settings.tabStyle;
        // With TCS_VERTICAL, TCS_BOTTOM is TCS_RIGHT.
        const bool vertical = (style & TCS_VERTICAL) != 0, bottom = (style & TCS_BOTTOM) != 0;
        const int position = vertical ? (bottom ? IDC_TAB_POS_RIGHT : IDC_TAB_POS_LEFT)
                                      : (bottom ? IDC_TAB_POS_BOTTOM : IDC_TAB_POS_TOP);
        CheckRadioButton(window_, IDC_TAB_POS_TOP, IDC_TAB_POS_RIGHT, position);
        CheckRadioButton(window_, IDC_TAB_MULTILINE_ON, IDC_TAB_MULTILINE_OFF,
                         (style & TCS_MULTILINE) ? IDC_TAB_MULTILINE_ON : IDC_TAB_MULTILINE_OFF);
        SetUpSpin(IDC_TAB_TEXT_LENGTH_SPIN, kMinTextLength, kMaxTextLength,
                  settings.tabTextLength);
        Check(IDC_TAB_HOTTRACK, (style & TCS_HOTTRACK) != 0);
        Check(IDC_TAB_FIXED_WIDTH, (style & TCS_FIXEDWIDTH) != 0);
        SetUpSpin(IDC_TAB_WIDTH_SPIN, 0, kMaxTabWidth, settings.fixedTabWidth);
        Enable(IDC_TAB_WIDTH, Checked(IDC_TAB_FIXED_WIDTH));
        for (const FlagBox& box : kFlagBoxes) Check(box.id, settings.*box.field != 0);
    }

    void Write() override {
        SystemData& settings = GetSystemData();
        // From scratch: no bit of the old style survives that the page does
        // not show.
        std::uint32_t style = 0;
        if (Checked(IDC_TAB_POS_RIGHT)) style |= TCS_VERTICAL | TCS_RIGHT;
        else if (Checked(IDC_TAB_POS_LEFT)) style |= TCS_VERTICAL;
        else if (Checked(IDC_TAB_POS_BOTTOM)) style |= TCS_BOTTOM;
        if (Checked(IDC_TAB_MULTILINE_ON)) style |= TCS_MULTILINE;
        if (Checked(IDC_TAB_HOTTRACK)) style |= TCS_HOTTRACK;
        if (Checked(IDC_TAB_FIXED_WIDTH)) style |= TCS_FIXEDWIDTH;
        settings.tabStyle = style;
        // As typed, cut to the field's width: the spin ranges only guide.
        settings.tabTextLength = static_cast<std::uint8_t>(Number(IDC_TAB_TEXT_LENGTH));
        settings.fixedTabWidth = static_cast<std::uint16_t>(Number(IDC_TAB_WIDTH));
        for (const FlagBox& box : kFlagBoxes) settings.*box.field = Checked(box.id) ? 1 : 0;
    }

    bool OnCommand(WORD id, WORD code, HWND) override {
        if (id != IDC_TAB_FIXED_WIDTH || code != BN_CLICKED) return false;
        // The width means something only while tabs have a fixed width.
        Enable(IDC_TAB_WIDTH, Checked(IDC_TAB_FIXED_WIDTH));
        return true;
    }
};

}  // namespace

std::unique_ptr<SettingsPage> MakeTabPage() { return std::make_unique<TabPage>(); }
