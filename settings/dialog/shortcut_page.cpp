// The settings dialog's "ショートカットウィンドウ" page: whether the strip is
// shown, its icon size and the side it docks on, and the button to the
// editor of its registered applications.
#include "launcher/shortcut_window.h"
#include "settings/dialog/dialog_ids.h"
#include "settings/dialog/pages.h"
#include "settings/dialog/shortcut_editor.h"
#include "settings/dialog/shortcut_page_ids.h"
#include "settings/system_data.h"

namespace {

// By shortcutPosition: top, bottom, left, right.
constexpr int kSideButtons[] = {IDC_SHORTCUT_TOP, IDC_SHORTCUT_BOTTOM, IDC_SHORTCUT_LEFT,
                                IDC_SHORTCUT_RIGHT};
static_assert(sizeof kSideButtons / sizeof kSideButtons[0] == cShortcutWnd::kRight + 1);

class ShortcutPage : public SettingsPage {
public:
    ShortcutPage() : SettingsPage(IDD_PAGE_SHORTCUT) {}

protected:
    void Fill() override {
        SystemData& settings = GetSystemData();
        Check(IDC_SHORTCUT_SHOW, settings.showShortcutWindow != 0);
        CheckRadioButton(window_, IDC_SHORTCUT_LARGE_ICONS, IDC_SHORTCUT_SMALL_ICONS,
                         settings.shortcutSmallIcons ? IDC_SHORTCUT_SMALL_ICONS
                                                     : IDC_SHORTCUT_LARGE_ICONS);
        // A side the strip does not know is the right, where the strip would
        // dock anyway; the record says so from now on, OK or not.
        if (settings.shortcutPosition < cShortcutWnd::kTop ||
            settings.shortcutPosition > cShortcutWnd::kRight) {
            settings.shortcutPosition = cShortcutWnd::kRight;
        }
        CheckRadioButton(window_, IDC_SHORTCUT_TOP, IDC_SHORTCUT_RIGHT,
                         kSideButtons[settings.shortcutPosition]);
    }

    void Write() override {
        SystemData& settings = GetSystemData();
        settings.showShortcutWindow = Checked(IDC_SHORTCUT_SHOW) ? 1 : 0;
        settings.shortcutSmallIcons = Checked(IDC_SHORTCUT_SMALL_ICONS) ? 1 : 0;
        for (int side = cShortcutWnd::kTop; side <= cShortcutWnd::kRight; ++side) {
            if (Checked(kSideButtons[side])) settings.shortcutPosition = side;
        }
    }

    bool OnCommand(WORD id, WORD code, HWND) override {
        if (id != IDC_SHORTCUT_EDIT_ENTRIES || code != BN_CLICKED) return false;
        EditShortcutEntries(window_);
        return true;
    }
};

}  // namespace

std::unique_ptr<SettingsPage> MakeShortcutPage() { return std::make_unique<ShortcutPage>(); }
