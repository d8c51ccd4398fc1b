// The shell's default action with the user told of failures, and shell links.
#include "launcher/shell_launch.h"

#include "base/handles.h"
#include "launcher/launcher_texts.h"

#include <objbase.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>

namespace {

constexpr wchar_t kSystemFolder[] = L"\\System32\\";
constexpr wchar_t kNativeSystemFolder[] = L"\\Sysnative\\";

bool SeesRedirectedSystemFolder() {
#ifdef _WIN64
    return false;
#else
    BOOL onWow = FALSE;
    return IsWow64Process(GetCurrentProcess(), &onWow) && onWow;
#endif
}

}  // namespace

std::wstring UnredirectedPath(const std::wstring& path) {
    if (!SeesRedirectedSystemFolder()) return path;
    wchar_t windows[MAX_PATH] = L"";
    const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return path;
    std::wstring folder(windows, length);
    if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    const std::wstring system = folder + kSystemFolder;
    if (path.size() <= system.size() ||
        CompareStringOrdinal(path.c_str(), static_cast<int>(system.size()), system.c_str(),
                             static_cast<int>(system.size()), TRUE) != CSTR_EQUAL) {
        return path;
    }
    const std::wstring native = folder + kNativeSystemFolder + path.substr(system.size());
    // A file only the 32-bit folder holds is started from there.
    return GetFileAttributesW(native.c_str()) == INVALID_FILE_ATTRIBUTES ? path : native;
}

std::string UnredirectedPath(const char* path) {
    if (!SeesRedirectedSystemFolder()) return path;
    wchar_t wide[MAX_PATH * 2] = L"";
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH * 2)) return path;
    const std::wstring native = UnredirectedPath(std::wstring(wide));
    char narrow[MAX_PATH * 4] = "";
    BOOL lost = FALSE;
    if (!WideCharToMultiByte(CP_ACP, 0, native.c_str(), -1, narrow, sizeof narrow, nullptr,
                             &lost) ||
        lost) {
        return path;
    }
    return narrow;
}

namespace {

// Whether result is one of the failures the user is told of; told if so.
bool Refused(HWND owner, const char* path, unsigned result) {
    for (const auto& failure : launcher_texts::kShellFailures) {
        if (failure.value == result) {
            MessageBoxA(owner, failure.text, path, MB_ICONERROR);
            return true;
        }
    }
    return false;
}

}  // namespace

bool ShellLaunch(HWND owner, const char* path) {
    const std::string started = UnredirectedPath(path);
    const auto result = static_cast<unsigned>(reinterpret_cast<UINT_PTR>(
        ShellExecuteA(owner, nullptr, started.c_str(), nullptr, nullptr, SW_SHOWNORMAL)));
    return !Refused(owner, path, result);
}

bool ShellLaunch(HWND owner, const char* path, DWORD* processId) {
    if (!processId) return ShellLaunch(owner, path);
    *processId = 0;
    const std::string started = UnredirectedPath(path);
    // What ShellExecuteA does, keeping the process it started; its result
    // comes back in hInstApp as ShellExecuteA's does.
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpFile = started.c_str();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExA(&info);
    const UniqueHandle process(info.hProcess);
    const auto result = static_cast<unsigned>(reinterpret_cast<UINT_PTR>(info.hInstApp));
    if (Refused(owner, path, result)) return false;
    if (process) *processId = GetProcessId(process.get());
    return true;
}

bool ResolveShortcut(const char* path, char* target, char* arguments, char* iconLocation,
                     int* iconIndex) {
    CoInitialize(nullptr);  // left as it is: the thread may use COM again
    UniqueCom<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.put_void()))) {
        return false;
    }
    UniqueCom<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void()))) return false;
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
    return SUCCEEDED(last);
}
