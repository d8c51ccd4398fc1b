// Identifiers every layer shares: names that other processes, stored files
// or several subsystems rely on, spelled as they know them.
#pragma once

namespace base_ids {
// The main window's class. A second instance finds the first by it, every
// process that sends PM_ADDWINDOW finds the main window by it, and no window
// of this class is ever captured, automatically or not.
inline constexpr char kMainClassName[] = "panelryclass";
}  // namespace base_ids
