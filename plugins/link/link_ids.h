/* The launcher panel's fixed names: its dialog template and check box, the
   property its slots carry, and the file beside the plug-in that keeps the
   slots. Plain defines first: the panel's resource script includes this
   file too. */
#pragma once

#define IDD_LINK_PANEL 101
#define IDC_LINK_AUTOTAB 1003

#ifndef RC_INVOKED
namespace link_ids {

// The window property that holds a slot object on its window.
inline constexpr char kSlotProp[] = "cAppIconClass";
// The data file, no extension, in the plug-in's own folder.
inline constexpr char kDataFile[] = "$link";

}  // namespace link_ids
#endif
