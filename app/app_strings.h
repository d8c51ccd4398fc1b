// Fixed strings of the application core: class names, captions and texts.
#pragma once

namespace app {
// Found by a second instance and by every process that sends PM_ADDWINDOW.
inline constexpr char kMainClassName[] = "panelryclass";
inline constexpr char kMainTitle[] = "Panelry";
inline constexpr char kErrorCaption[] = "Error";
}  // namespace app
