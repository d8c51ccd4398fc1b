// The pages of the settings dialog, one factory each; the dialog makes them
// in the order of its page table.
#pragma once

#include "settings/dialog/settings_page.h"

#include <memory>

std::unique_ptr<SettingsPage> MakeBehaviourPage();  // "動作設定"
std::unique_ptr<SettingsPage> MakeWindowPage();     // "ウィンドウ"
std::unique_ptr<SettingsPage> MakeTabPage();        // "タブ"
std::unique_ptr<SettingsPage> MakeShortcutPage();   // "ショートカットウィンドウ"
std::unique_ptr<SettingsPage> MakeVersionPage();    // "バージョン情報"
std::unique_ptr<SettingsPage> MakeSplitbarPage();   // "スプリットバー"

// The pages of the conditions, the menus, the keys and the tools: for now
// they show their title and write nothing.
std::unique_ptr<SettingsPage> MakeTitlePage(int templateId);
