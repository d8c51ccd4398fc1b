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
inline constexpr wchar_t kRestoreTitleCut[] = L"…";  // ends a title too long to show
inline constexpr wchar_t kRestoreProgramGone[] = L"プログラムが見つかりません";
inline constexpr wchar_t kRestoreNotStarted[] = L"プログラムを起動できません";
inline constexpr wchar_t kRestoreNoWindow[] = L"15 秒以内にウィンドウが現れませんでした";

// The notice of a session.ini that is not written: told once a run.
inline constexpr wchar_t kSessionNotWritten[] =
    L"session.ini に書き込めませんでした（フォルダが書き込み禁止か、ディスクがいっぱいです）。"
    L"「前回のウィンドウを復元する」の設定と今のウィンドウは、次の起動に残りません。";
inline constexpr wchar_t kSessionKept[] =
    L"session.ini にこのバージョンの知らない内容があるため、書き換えずにそのまま残します。"
    L"「前回のウィンドウを復元する」の変更と今のウィンドウは保存されません。";
}  // namespace app_texts
