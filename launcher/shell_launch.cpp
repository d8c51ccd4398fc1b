// The shell's default action with the user told of failures, and shell links.
#include "launcher/shell_launch.h"

#include "launcher/launcher_texts.h"

#include <objbase.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>

bool ShellLaunch(HWND owner, const char* path) {
    const auto result = static_cast<unsigned>(reinterpret_cast<UINT_PTR>(
        ShellExecuteA(owner, nullptr, path, nullptr, nullptr, SW_SHOWNORMAL)));
    for (const auto& failure : launcher_texts::kShellFailures) {
        if (failure.value == result) {
            MessageBoxA(owner, failure.text, path, MB_ICONERROR);
            return false;
        }
    }
    return true;
}

bool ResolveShortcut(const char* path, char* target, char* arguments, char* iconLocation,
                     int* iconIndex) {
    CoInitialize(nullptr);  // left as it is: the thread may use COM again
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link)))) {
        return false;
    }
    IPersistFile* file = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        link->Release();
        return false;
    }
    WCHAR widePath[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH);
    widePath[MAX_PATH - 1] = L'\0';
    HRESULT last = file->Load(widePath, STGM_READ);
    if (SUCCEEDED(last) && target) {
        WIN32_FIND_DATAA found{};
        last = link->GetPath(target, MAX_PATH, &found, SLGP_UNCPRIORITY);
    }
    if (SUCCEEDED(last) && arguments) last = link->GetArguments(arguments, MAX_PATH);
    if (SUCCEEDED(last) && iconLocation && iconIndex) {
        last = link->GetIconLocation(iconLocation, MAX_PATH, iconIndex);
    }
    file->Release();
    link->Release();
    return SUCCEEDED(last);
}
