// The menu item data list and its deferred release.
#include "base/menu_data.h"

#include "base/messages.h"

#include <deque>

namespace {

std::deque<void*>& Blocks() {
    static std::deque<void*> blocks;
    return blocks;
}

}  // namespace

namespace MenuDataList {

void* Allocate(std::size_t size) {
    void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
    if (!block) return nullptr;
    try {
        Blocks().push_back(block);
    } catch (...) {
        HeapFree(GetProcessHeap(), 0, block);
        return nullptr;
    }
    return block;
}

std::size_t Count() { return Blocks().size(); }

}  // namespace MenuDataList

void StartMenuDataTimer(HWND mainWindow) {
    SetTimer(mainWindow, kMenuDataTimer, 1000, FreeMenuData);
}

void CALLBACK FreeMenuData(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    auto& blocks = Blocks();
    while (!blocks.empty()) {
        HeapFree(GetProcessHeap(), 0, blocks.front());
        blocks.pop_front();
    }
}
