// The texts of the command table, as menus and editors show them.
#include "commands/command_kinds.h"

namespace {

const char* const kTexts[kCommandKindCount + 1] = {
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

}  // namespace

const char* CommandText(int kind) {
    return kind >= 1 && kind <= kCommandKindCount ? kTexts[kind] : "";
}
