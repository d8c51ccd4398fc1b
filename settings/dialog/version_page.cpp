// The page "バージョン情報": the program's and the hook library's versions and
// a few words on what the program does. It shows and writes nothing else.
#include "base/version.h"
#include "inputtap/inputtap.h"
#include "settings/dialog/dialog_ids.h"
#include "settings/dialog/pages.h"
#include "settings/dialog/separator_lines.h"
#include "settings/dialog/version_page_ids.h"

#include <cstdio>

namespace {

constexpr char kVersionFormat[] = "Ver. %d.%d";

constexpr char kDescription[] =
    "Panelry は、ほかのアプリケーションのウィンドウを一つのメインウィンドウに"
    "集めて、タブで切り替えながら使うためのツールです。\r\n"
    "\r\n"
    "ペインは左右・上下に分割でき、タブはペインの間で移動できます。"
    "ウィンドウの追加・排除条件、メニューやアクセラレータキー、"
    "ツールプラグインは、この設定ダイアログで変更できます。\r\n"
    "\r\n"
    "解放したウィンドウは、元のスタイルと位置に戻ってデスクトップに帰ります。";

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
        SetDlgItemTextA(window_, IDC_VERSION_DESCRIPTION, kDescription);
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
        std::snprintf(text, sizeof text, kVersionFormat, major, minor);
        SetDlgItemTextA(window_, id, text);
    }

    SeparatorLines lines_;
};

}  // namespace

std::unique_ptr<SettingsPage> MakeVersionPage() { return std::make_unique<VersionPage>(); }
