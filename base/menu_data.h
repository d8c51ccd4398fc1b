// Heap blocks that menus carry as item data (paths of listed files).
//
// A menu's WM_COMMAND arrives after its menu loop has ended, and the list
// commands still read the chosen item's data then. So the blocks are not
// freed when a menu closes but one second after the last menu loop ended.
#pragma once

#include <windows.h>

#include <cstddef>

namespace MenuDataList {

// A zeroed block of size bytes on the process heap, owned by the list;
// null when it cannot be allocated (the caller then skips the item).
void* Allocate(std::size_t size);
std::size_t Count();

}  // namespace MenuDataList

// Arms (or re-arms) timer 1000 on the main window.
void StartMenuDataTimer(HWND mainWindow);

// Timer procedure: kills timer id on hwnd, then frees every block, front first.
void CALLBACK FreeMenuData(HWND hwnd, UINT message, UINT_PTR id, DWORD time);
