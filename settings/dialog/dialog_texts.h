// The settings dialog's texts that its code (not its templates) shows: the
// labels of the page tree and the pages' own texts.
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

// The menu pages: the popups' names in the popup list, a separator's row,
// and what the pages say and ask.
inline constexpr char kPopupNameFormat[] = "メニュー%d";
inline constexpr char kSeparatorRow[] = "-----------------------";
inline constexpr char kNoMoreMenuItems[] = "これ以上メニューアイテムを追加できません";
inline constexpr char kAskDeletePopup[] = "現在選択されている項目を削除してもよろしいですか？";
inline constexpr char kAskInsertPopup[] = "最後尾の項目が削除されますが宜しいですか？";
inline constexpr char kQuestionCaption[] = "確認";

}  // namespace dialog_texts
