// Fixed strings of the tabs subsystem: window classes, window properties and
// the texts the user sees, in one place.
#pragma once

namespace tabs {
// The header bar.
inline constexpr char kHeaderClassName[] = "panelry_header_base_class";
// On the header window: the cHeader that runs it.
inline constexpr char kHeaderProp[] = "panelry_header_prop";
inline constexpr char kHeaderTitleFormat[] = "■[ %s ]";
// Tooltips of the header's buttons.
inline constexpr char kHeaderCloseTip[] = "閉じる";
inline constexpr char kHeaderReleaseTip[] = "解放";
inline constexpr char kHeaderMinimizeTip[] = "最小化";
}  // namespace tabs
