// Fixed strings of the application core: class names, captions and texts.
#pragma once

namespace app {
// Found by a second instance and by every process that sends PM_ADDWINDOW.
inline constexpr char kMainClassName[] = "panelryclass";
inline constexpr char kMainTitle[] = "Panelry";
inline constexpr char kErrorCaption[] = "Error";
inline constexpr char kPaneCreationFailed[] = "タブの作成に失敗しました";

// The notification-area menu.
inline constexpr char kTrayHide[] = "隠す";
inline constexpr char kTrayShow[] = "表示する";
inline constexpr char kTrayExit[] = "終了する";
}  // namespace app
