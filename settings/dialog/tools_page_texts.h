// The texts the tools page's code shows: its lists' column titles, the
// version's form and its two messages. The labels of its controls are in
// its template.
#pragma once

namespace tools_page_texts {

inline constexpr char kNameColumn[] = "Name";
inline constexpr char kCopyrightColumn[] = "Copyright";
inline constexpr char kVersionColumn[] = "Ver.";
inline constexpr char kPathColumn[] = "Path";

// Major and minor, the high and the low byte of pluginVersion.
inline constexpr char kVersionFormat[] = "%d.%d";

// "↓" with every slot taken.
inline constexpr char kNoMoreTools[] = "これ以上ツールは登録できません";
// A registered row that would not load on OK, captioned with its path.
inline constexpr char kLoadFailed[] = "ツールプラグインの読み込みに失敗しました";

}  // namespace tools_page_texts
