// Walking a module's import table.
#include "tests/support/import_route.h"

namespace testing_support {

int RouteImport(HMODULE module, const char* dll, void* from, void* to) {
    auto* base = reinterpret_cast<BYTE*>(module);
    if (!base) return 0;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return 0;
    int changed = 0;
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         entry->Name; ++entry) {
        if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), dll) != 0) continue;
        for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
             slot->u1.Function; ++slot) {
            if (reinterpret_cast<void*>(slot->u1.Function) != from) continue;
            DWORD old = 0;
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &old);
            slot->u1.Function = reinterpret_cast<decltype(slot->u1.Function)>(to);
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, old, &old);
            ++changed;
        }
    }
    return changed;
}

}  // namespace testing_support
