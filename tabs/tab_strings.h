// Fixed strings of the tabs subsystem: window classes, window properties and
// the texts the user sees, in one place.
#pragma once

namespace tabs {
// The pane.
inline constexpr char kBaseClass[] = "panelry_tab_base_class";
inline constexpr char kDisplayAreaClass[] = "panelry_tab_static_class";
// On a pane's base window, tab control, display area and header: the pane.
inline constexpr char kPaneProperty[] = "panelry_tab_class";
inline constexpr char kPaneFontFace[] = "ＭＳ Ｐゴシック";
inline constexpr char kRegisterClassError[] = "RegisterClass@cTab::Init";
inline constexpr char kAddNewWindowCaption[] = "new @ cTab::AddNewWindow";
inline constexpr char kBadAllocText[] = "bad_alloc 例外を受け取りました";
inline constexpr char kSplitCaption[] = "new @ cTab::Split";
inline constexpr char kOtherExceptionText[] = "bad_alloc 以外の例外を受け取りました";

// The header bar.
inline constexpr char kHeaderClassName[] = "panelry_header_base_class";
// On the header window: the cHeader that runs it.
inline constexpr char kHeaderProp[] = "panelry_header_prop";
inline constexpr char kHeaderTitleFormat[] = "■[ %s ]";
// Tooltips of the header's buttons.
inline constexpr char kHeaderCloseTip[] = "閉じる";
inline constexpr char kHeaderReleaseTip[] = "解放";
inline constexpr char kHeaderMinimizeTip[] = "最小化";

// The split bar.
inline constexpr char kSplitHBarClass[] = "panelry_split_hbar_class";
inline constexpr char kSplitVBarClass[] = "panelry_split_vbar_class";
// On a split bar's window: the cSplitbar that runs it.
inline constexpr char kSplitbarProp[] = "panelry_splitbar_class";
inline constexpr char kSplitbarButtonClass[] = "button";
inline constexpr char kSplitbarRegisterError[] = "RegisterClass@cSplitbar::Init";
// Keys of the SYSTEMDATA section of system.ini.
inline constexpr char kSplitbarFlagKey[] = "SBARFLAG";
inline constexpr char kSplitbarRateKey[] = "SBARRATE";

// The split layout of the pane chain in system.ini.
inline constexpr char kLayoutSection[] = "TAB";
inline constexpr char kSplitRateKey[] = "SPLITRATE";
inline constexpr char kHorizontalLetter[] = "H";
inline constexpr char kVerticalLetter[] = "V";
}  // namespace tabs
