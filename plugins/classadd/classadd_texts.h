// The add-windows-by-class tool's fixed strings: its name and maker, the
// keys of classadd.ini, the list's column titles and the entries a first
// use starts with. The dialogs' own captions and labels are in its
// resource script.
#pragma once

namespace classadd_texts {

inline constexpr char kName[] = "特定のクラス名を持つウィンドウを追加";
inline constexpr char kMaker[] = "Panelry";

// classadd.ini, beside the tool's file.
inline constexpr char kIniName[] = "classadd";
inline constexpr char kIniExtension[] = "ini";
inline constexpr char kStatusSection[] = "STATUS";
inline constexpr char kCountKey[] = "COUNT";
inline constexpr char kSelectedKey[] = "SELECTED";
inline constexpr char kItemSectionFormat[] = "ITEM %d";
inline constexpr char kItemSectionPrefix[] = "ITEM ";
inline constexpr char kNameKey[] = "NAME";
inline constexpr char kClassKey[] = "CLASS";

inline constexpr char kNameColumn[] = "Name";
inline constexpr char kClassColumn[] = "Class";

struct BuiltInEntry {
    const char* name;
    const char* className;
};
inline constexpr BuiltInEntry kBuiltInEntries[] = {
    {"エクスプローラ", "ExploreWClass"},
    {"フォルダ", "CabinetWClass"},
    {"秀丸", "Hidemaru32Class"},
    {"Word", "OpusApp"},
    {"Excel", "XLMAIN"},
};

}  // namespace classadd_texts
