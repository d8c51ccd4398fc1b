// User texts every layer shares.
#pragma once

namespace base_texts {
// The caption of every failure the user must know of.
inline constexpr char kErrorCaption[] = "Error";
}  // namespace base_texts
