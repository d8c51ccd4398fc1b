// The page "バージョン情報": the program's and the hook library's versions and
// a few words on what the program does. It shows and writes nothing else.
#include "base/version.h"
#include "inputtap/inputtap.h"
#include "settings/dialog/dialog_ids.h"
#include "settings/dialog/dialog_texts.h"
#include "settings/dialog/pages.h"
#include "settings/dialog/separator_lines.h"
#include "settings/dialog/version_page_ids.h"

#include <cstdio>

namespace {

constexpr SeparatorLines::Between kLines[] = {
    {IDC_VERSION_HOOK_LIBRARY, IDC_VERSION_DESCRIPTION},
};

class VersionPage : public SettingsPage {
public:
    VersionPage() : SettingsPage(IDD_PAGE_VERSION) {}

protected:
    void Fill() override {
        ShowVersion(IDC_VERSION_PROGRAM, PANELRY_VERSION_MAJOR, PANELRY_VERSION_MINOR);
        const WORD hook = INPUTTAP_GetVersion();
        ShowVersion(IDC_VERSION_HOOK_LIBRARY, hook >> 8, hook & 0xFF);
        SetDlgItemTextA(window_, IDC_VERSION_DESCRIPTION, dialog_texts::kVersionDescription);
        lines_.Create(window_, kLines, sizeof kLines / sizeof kLines[0]);
    }

    void OnSize(int, int) override { lines_.Layout(); }

    bool OnMessage(UINT message, WPARAM, LPARAM, INT_PTR*) override {
        if (message == WM_DESTROY) lines_.Destroy();
        return false;
    }

private:
    void ShowVersion(int id, int major, int minor) const {
        char text[32];
        std::snprintf(text, sizeof text, dialog_texts::kVersionPageFormat, major, minor);
        SetDlgItemTextA(window_, id, text);
    }

    SeparatorLines lines_;
};

}  // namespace

std::unique_ptr<SettingsPage> MakeVersionPage() { return std::make_unique<VersionPage>(); }
