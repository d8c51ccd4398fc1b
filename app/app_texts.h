// User texts of the application core: captions, messages and the
// notification-area menu.
#pragma once

namespace app_texts {
inline constexpr char kMainTitle[] = "Panelry";
inline constexpr char kRegisterClassError[] = "RegisterClass@cMain::Init";
inline constexpr char kPaneCreationFailed[] = "タブの作成に失敗しました";

// The notification-area menu.
inline constexpr char kTrayHide[] = "隠す";
inline constexpr char kTrayShow[] = "表示する";
inline constexpr char kTrayExit[] = "終了する";
}  // namespace app_texts
