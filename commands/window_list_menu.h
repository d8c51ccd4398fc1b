// The window list of the menus (kind 22): one owner-drawn item per window
// that could be captured now, drawn with its icon and title; choosing one
// captures it into the active pane.
#pragma once

#include "commands/menus.h"

#include <windows.h>

// Appends the visible top-level windows without owner or parent that have a
// title and are not Panelry's own, in z-order: id n * 32 + 22, data the
// window. With none, a greyed placeholder with id 22.
void AppendWindowList(HMENU menu);
// Captures the window in the item's data into the context's pane.
bool CaptureListedWindow(const MenuContext& context, const MenuListItem& item);
bool MeasureWindowItem(MEASUREITEMSTRUCT& item);
bool DrawWindowItem(const DRAWITEMSTRUCT& item);
