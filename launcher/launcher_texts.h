// The launcher's texts: why the shell could not open a file, the launcher
// icons' and the shortcut window's menus and messages, the start menu's,
// the window picker's.
#pragma once

namespace launcher_texts {

// ShellExecuteA's failure values 0 to 32 and what the user is told of each.
struct ShellFailure {
    unsigned value;
    const char* text;
};
inline constexpr ShellFailure kShellFailures[] = {
    {0, "ＯＳのメモリまたはリソースが足りませんでした．"},
    {2, "ファイルが見つかりませんでした．"},
    {3, "パスが見つかりませんでした．"},
    {5, "ＯＳが指定したファイルへのアクセスを拒否しました．"},
    {8, "処理を完了するのに十分なメモリがありませんでした．"},
    {11, ".exeのファイルが利用できませんでした．"},
    {26, "共有違反が発生しました．"},
    {27, "ファイルに関連づけられた物が不完全かまたは無効です．"},
    {28, "DDE通信でタイムアウトが発生しました．"},
    {29, "DDE通信が失敗しました．"},
    {30, "他のDDEプロセスが通信中だったので、DDE通信が完了できませんでした．"},
    {31, "指定したファイルに関連づけられたアプリケーションが見つかりませんでした．"},
    {32, "指定したDLLファイルが見つからりませんでした．"},
};

// Launcher icons: the context menu's items, the messages, the dialogs.
inline constexpr char kAppIconRegisterError[] = "RegisterClass@cTab::cAppIcon::Init";
inline constexpr char kMenuOpen[] = "開く";
inline constexpr char kMenuFolder[] = "フォルダ";
inline constexpr char kMenuUnregister[] = "登録解除";
inline constexpr char kMenuRegister[] = "新規登録";
inline constexpr char kMenuInformation[] = "情報";
inline constexpr char kNoIcon[] = "アイコンの取得に失敗しました";
inline constexpr char kRegisterTitle[] = "ファイルの登録";
// The open-file dialog's filter: pairs of label and pattern, ending in two
// terminators.
inline constexpr char kRegisterFilter[] =
    "実行ファイル(*.exe)\0*.exe\0All files(*.*)\0*.*\0";
inline constexpr char kInformationCaption[] = "ファイル情報";
inline constexpr char kInformationFormat[] = "場所：\t%s\n表示名：\t%s\nタイプ：\t%s";
inline constexpr char kLaunchFailed[] = "登録ファイルの起動に失敗しました";
// The second line of the tooltip of a slot whose file is registered but
// cannot be used now: out of reach (a drive unplugged, a share away), or
// without an icon.
inline constexpr char kUnavailableUnreachable[] =
    "使用できません：ファイルに届きません（ドライブやネットワークの接続を確認してください）";
inline constexpr char kUnavailableNoIcon[] = "使用できません：アイコンの取得に失敗しました";

// The shortcut window.
inline constexpr char kShortcutRegisterError[] = "RegisterClass@cTab::cShortcutWnd::Init";
inline constexpr char kNoShortcut[] = "ショートカットが登録されていません";

// The start-menu list: the greyed item of a folder that holds nothing.
inline constexpr char kStartMenuEmpty[] = "(なし)";

// The window picker's column headings.
inline constexpr char kPickerTitleColumn[] = "Title";
inline constexpr char kPickerClassColumn[] = "Class";

}  // namespace launcher_texts
