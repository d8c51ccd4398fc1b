// The launcher panel's texts as the tool list shows them. The panel's own
// title and check box live in its dialog template.
#pragma once

namespace link_texts {

inline constexpr char kToolName[] = "登録アプリの起動";
inline constexpr char kMaker[] = "Panelry";

}  // namespace link_texts
