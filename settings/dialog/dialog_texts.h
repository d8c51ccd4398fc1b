// The settings dialog's texts that its code (not its templates) shows: the
// labels of the page tree.
#pragma once

namespace dialog_texts {

inline constexpr char kBehaviour[] = "動作設定";
inline constexpr char kWindow[] = "ウィンドウ";
inline constexpr char kConditions[] = "追加・排除条件";
inline constexpr char kTab[] = "タブ";
inline constexpr char kShortcut[] = "ショートカットウィンドウ";
inline constexpr char kAccelerators[] = "アクセラレータキー";
inline constexpr char kTools[] = "ツール";
inline constexpr char kTabMenu[] = "タブ用メニュー";
inline constexpr char kVersion[] = "バージョン情報";
inline constexpr char kSplitbar[] = "スプリットバー";
inline constexpr char kMenu[] = "メニュー";
inline constexpr char kAddClasses[] = "追加するレジスタクラス";
inline constexpr char kAddStyles[] = "追加するスタイル";
inline constexpr char kRemoveClasses[] = "排除するレジスタクラス";
inline constexpr char kRemoveStyles[] = "排除するスタイル";

}  // namespace dialog_texts
