// User texts of the tabs subsystem: failure messages, the header's title
// form and its buttons' tooltips.
#pragma once

namespace tab_texts {
inline constexpr char kRegisterClassError[] = "RegisterClass@cTab::Init";
inline constexpr char kSplitbarRegisterError[] = "RegisterClass@cSplitbar::Init";
// Captions of allocation failures, and their two texts.
inline constexpr char kAddNewWindowCaption[] = "new @ cTab::AddNewWindow";
inline constexpr char kSplitCaption[] = "new @ cTab::Split";
inline constexpr char kBadAllocText[] = "bad_alloc 例外を受け取りました";
inline constexpr char kOtherExceptionText[] = "bad_alloc 以外の例外を受け取りました";

inline constexpr char kHeaderTitleFormat[] = "■[ %s ]";
// Tooltips of the header's buttons.
inline constexpr char kHeaderCloseTip[] = "閉じる";
inline constexpr char kHeaderReleaseTip[] = "解放";
inline constexpr char kHeaderMinimizeTip[] = "最小化";
}  // namespace tab_texts
