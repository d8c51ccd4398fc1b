// User texts of the commands subsystem: the command table, the menus' own
// texts, and the way keys and gestures are shown.
#pragma once

#include "base/command_kinds.h"

namespace command_texts {
// By command kind; index 0 unused.
inline constexpr const char* kCommands[kCommandKindCount + 1] = {
    "",
    "左隣のタブを選択",
    "右隣のタブを選択",
    "全てのウィンドウを追加",
    "自動追加 ON",
    "自動追加 OFF",
    "タブ項目を解放",
    "タブ項目を最小化",
    "タブ項目を閉じる",
    "全てのタブ項目を解放",
    "全てのタブ項目を最小化",
    "全てのタブ項目を閉じる",
    "左側のタブ項目を解放",
    "左側のタブ項目を最小化",
    "左側のタブ項目を閉じる",
    "右側のタブ項目を解放",
    "右側のタブ項目を最小化",
    "右側のタブ項目を閉じる",
    "分割しない",
    "左右に分割",
    "上下に分割",
    "設定",
    "追加するウィンドウのリスト",
    "ツールのリスト",
    "スタートメニュー",
    "ショートカット",
};

// Titles of the four popups of the built-in menu model.
inline constexpr const char* kDefaultPopupTitles[] = {
    "タブ(&T)",
    "操作(&E)",
    "スタート(&S)",
    "追加(&A)",
};

// Greyed in place of the window list when no window can be captured.
inline constexpr char kNoWindowToAdd[] = "追加可能なウィンドウはありません";
// Greyed in place of the tool list when no plug-in could be listed.
inline constexpr char kNoToolRegistered[] = "有効なツールが登録されていません";

// Key texts of accelerators, in this order before the key's name.
inline constexpr char kCtrlPrefix[] = "Ctrl + ";
inline constexpr char kAltPrefix[] = "Alt + ";
inline constexpr char kShiftPrefix[] = "Shift + ";

// Gesture strokes up, down, left, right as shown, and the held key or
// button after them: "(左)", "(右)", "(Shift)".
inline constexpr char kShownUp[] = "↑";
inline constexpr char kShownDown[] = "↓";
inline constexpr char kShownLeft[] = "←";
inline constexpr char kShownRight[] = "→";
inline constexpr char kShownLeftButton[] = "(左)";
inline constexpr char kShownRightButton[] = "(右)";
inline constexpr char kShownHoldKeyOpen[] = "(";
inline constexpr char kShownHoldKeyClose[] = ")";
}  // namespace command_texts

// The command table's text of kind; empty outside 1 to 25.
inline const char* CommandText(int kind) {
    return kind >= 1 && kind <= kCommandKindCount ? command_texts::kCommands[kind] : "";
}
