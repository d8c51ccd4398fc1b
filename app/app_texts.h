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

// The notice of windows of the last session that did not come back: the
// heading, then a line for each, "・title (file): reason".
inline constexpr wchar_t kRestoreNoticeHeading[] =
    L"前回のウィンドウのうち、次のものを復元できませんでした。";
inline constexpr wchar_t kRestoreLineStart[] = L"・";
inline constexpr wchar_t kRestoreProgramGone[] = L"プログラムが見つかりません";
inline constexpr wchar_t kRestoreNotStarted[] = L"プログラムを起動できません";
inline constexpr wchar_t kRestoreNoWindow[] = L"15 秒以内にウィンドウが現れませんでした";
}  // namespace app_texts
