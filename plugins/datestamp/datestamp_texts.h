// The date stamp tool's fixed strings: its name and maker and the form of
// the date it pastes.
#pragma once

namespace datestamp_texts {

inline constexpr char kName[] = "日付をクリップボードに貼り付ける";
inline constexpr char kMaker[] = "Panelry";

// "yyyy/mm/dd" from the year, month and day.
inline constexpr char kDateFormat[] = "%.4d/%.2d/%.2d";

}  // namespace datestamp_texts
