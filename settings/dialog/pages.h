// The pages of the settings dialog, one factory each; the dialog makes them
// in the order of its page table.
#pragma once

#include "settings/dialog/settings_page.h"

#include <memory>

// The pages by their place in the dialog's page table, the order they are
// made and written in: page n is the page frame's child IDC_FIRST_PAGE + n,
// which is how other programs (and the tests) find a page.
enum SettingsPageIndex : int {
    kBehaviourPage,
    kWindowPage,
    kConditionsPage,
    kTabPage,
    kShortcutPage,
    kAcceleratorsPage,
    kToolsPage,
    kTabMenuPage,
    kVersionPage,
    kSplitbarPage,
    kMenuPage,
    kAddClassesPage,
    kAddStylesPage,
    kRemoveClassesPage,
    kRemoveStylesPage,
    kPageCount
};

std::unique_ptr<SettingsPage> MakeBehaviourPage();  // "動作設定"
std::unique_ptr<SettingsPage> MakeWindowPage();     // "ウィンドウ"
std::unique_ptr<SettingsPage> MakeTabPage();        // "タブ"
std::unique_ptr<SettingsPage> MakeShortcutPage();   // "ショートカットウィンドウ"
std::unique_ptr<SettingsPage> MakeVersionPage();    // "バージョン情報"
std::unique_ptr<SettingsPage> MakeSplitbarPage();   // "スプリットバー"

std::unique_ptr<SettingsPage> MakeConditionsPage();     // "追加・排除条件"
std::unique_ptr<SettingsPage> MakeAddStylesPage();      // "追加するスタイル"
std::unique_ptr<SettingsPage> MakeRemoveStylesPage();   // "排除するスタイル"
std::unique_ptr<SettingsPage> MakeAddClassesPage();     // "追加するレジスタクラス"
std::unique_ptr<SettingsPage> MakeRemoveClassesPage();  // "排除するレジスタクラス"
std::unique_ptr<SettingsPage> MakeAcceleratorsPage();   // "アクセラレータキー"
std::unique_ptr<SettingsPage> MakeToolsPage();          // "ツール"
std::unique_ptr<SettingsPage> MakeTabMenuPage();        // "タブ用メニュー"
std::unique_ptr<SettingsPage> MakeMenuPage();           // "メニュー"

