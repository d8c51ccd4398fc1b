// Identifiers of the tabs subsystem: window classes, window properties, the
// pane's font and the keys of system.ini that panes and split bars keep.
#pragma once

namespace tab_ids {
// The pane.
inline constexpr char kBaseClass[] = "panelry_tab_base_class";
inline constexpr char kDisplayAreaClass[] = "panelry_tab_static_class";
// On a pane's base window, tab control, display area and header: the pane.
inline constexpr char kPaneProperty[] = "panelry_tab_class";
inline constexpr char kPaneFontFace[] = "ＭＳ Ｐゴシック";

// The header bar.
inline constexpr char kHeaderClassName[] = "panelry_header_base_class";
// On the header window: the cHeader that runs it.
inline constexpr char kHeaderProp[] = "panelry_header_prop";

// The split bar.
inline constexpr char kSplitHBarClass[] = "panelry_split_hbar_class";
inline constexpr char kSplitVBarClass[] = "panelry_split_vbar_class";
// On a split bar's window: the cSplitbar that runs it.
inline constexpr char kSplitbarProp[] = "panelry_splitbar_class";
// Keys of the SYSTEMDATA section of system.ini.
inline constexpr char kSplitbarFlagKey[] = "SBARFLAG";
inline constexpr char kSplitbarRateKey[] = "SBARRATE";

// The section "TAB": in system.ini the split layout of the pane chain, in
// menu.ini the tab's menu (commands keeps its key).
inline constexpr char kLayoutSection[] = "TAB";
inline constexpr char kSplitRateKey[] = "SPLITRATE";
inline constexpr char kHorizontalLetter[] = "H";
inline constexpr char kVerticalLetter[] = "V";
}  // namespace tab_ids
