// The settings dialog's texts that its code (not its templates) shows: the
// labels of the page tree, and what the pages' lists and messages say.
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

// The accelerator-key page's columns, and its row editor's stroke and held-key
// choices and its refusal.
inline constexpr char kMenuItemColumn[] = "Menu Item";
inline constexpr char kHotkeyColumn[] = "Hotkey";
inline constexpr char kGestureColumn[] = "Gesture";
inline constexpr char kStrokeUp[] = "↑";
inline constexpr char kStrokeDown[] = "↓";
inline constexpr char kStrokeLeft[] = "←";
inline constexpr char kStrokeRight[] = "→";
inline constexpr char kHoldNone[] = "なし";
inline constexpr char kHoldShift[] = "SHIFT";
inline constexpr char kHoldControl[] = "CONTROL";
inline constexpr char kHoldAlt[] = "ALT";
inline constexpr char kHoldLeftButton[] = "左クリック";
inline constexpr char kHoldRightButton[] = "右クリック";
inline constexpr char kRepeatedStroke[] = "同じ動作を連続して登録する事は出来ません";

// The tools page's columns, the version's form (major and minor, the high and
// the low byte of pluginVersion), "↓" with every slot taken, and a row that
// would not load on OK (captioned with its path).
inline constexpr char kNameColumn[] = "Name";
inline constexpr char kCopyrightColumn[] = "Copyright";
inline constexpr char kVersionColumn[] = "Ver.";
inline constexpr char kPathColumn[] = "Path";
inline constexpr char kVersionFormat[] = "%d.%d";
inline constexpr char kNoMoreTools[] = "これ以上ツールは登録できません";
inline constexpr char kLoadFailed[] = "ツールプラグインの読み込みに失敗しました";
// A plug-in file built for a Panelry of the other width: its row's name (the
// other width's bits), and "↓" on it (the other width's bits, then this
// one's), captioned with its path.
inline constexpr char kOtherWidthToolName[] = "(%d ビット版用のツール)";
inline constexpr char kOtherWidthToolRefused[] =
    "%d ビット版の Panelry 用のツールです。この %d ビット版の Panelry では使えません";

// The version page: the program's and the hook library's versions (major and
// minor), and what it says of the program.
inline constexpr char kVersionPageFormat[] = "Ver. %d.%d";
inline constexpr char kVersionDescription[] =
    "Panelry は、ほかのアプリケーションのウィンドウを一つのメインウィンドウに"
    "集めて、タブで切り替えながら使うためのツールです。\r\n"
    "\r\n"
    "ペインは左右・上下に分割でき、タブはペインの間で移動できます。"
    "ウィンドウの追加・排除条件、メニューやアクセラレータキー、"
    "ツールプラグインは、この設定ダイアログで変更できます。\r\n"
    "\r\n"
    "解放したウィンドウは、元のスタイルと位置に戻ってデスクトップに帰ります。";

}  // namespace dialog_texts
