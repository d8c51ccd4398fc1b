// The page "タブ用メニュー": the entries of every pane's tab menu. The list
// box is the page's copy; OK hands it to the menu model.
#include "commands/menu_settings.h"
#include "settings/dialog/dialog_ids.h"
#include "settings/dialog/menu_list_editor.h"
#include "settings/dialog/menu_page_ids.h"
#include "settings/dialog/pages.h"

namespace {

class TabMenuPage : public SettingsPage {
public:
    TabMenuPage() : SettingsPage(IDD_PAGE_TAB_MENU) {}

protected:
    // The model keeps its places after the last entry as they are: only OK
    // changes it.
    void Fill() override {
        editor_ = MenuListEditor(Item(IDC_MENU_LIST), MenuSettings::kTabEntries);
        editor_.Load(GetMenuSettings().tabMenuItems, MenuSettings::kTabEntries);
    }

    void Write() override {
        editor_.Store(GetMenuSettings().tabMenuItems, MenuSettings::kTabEntries);
    }

    bool OnCommand(WORD id, WORD code, HWND) override { return editor_.OnCommand(id, code); }

private:
    MenuListEditor editor_;
};

}  // namespace

std::unique_ptr<SettingsPage> MakeTabMenuPage() { return std::make_unique<TabMenuPage>(); }
