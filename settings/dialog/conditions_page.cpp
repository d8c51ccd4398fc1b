// The page "追加・排除条件": whether a window that both condition sets match
// is captured (the add conditions come first) or refused.
#include "settings/dialog/conditions_page_ids.h"
#include "settings/dialog/dialog_ids.h"
#include "settings/dialog/pages.h"
#include "settings/system_data.h"

namespace {

class ConditionsPage : public SettingsPage {
public:
    ConditionsPage() : SettingsPage(IDD_PAGE_CONDITIONS) {}

protected:
    void Fill() override {
        CheckRadioButton(window_, IDC_CONDITIONS_ADD_FIRST, IDC_CONDITIONS_REMOVE_FIRST,
                         GetSystemData().addConditionFirst ? IDC_CONDITIONS_ADD_FIRST
                                                           : IDC_CONDITIONS_REMOVE_FIRST);
    }

    void Write() override {
        GetSystemData().addConditionFirst = Checked(IDC_CONDITIONS_ADD_FIRST) ? 1 : 0;
    }
};

}  // namespace

std::unique_ptr<SettingsPage> MakeConditionsPage() { return std::make_unique<ConditionsPage>(); }
