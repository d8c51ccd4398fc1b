// Unix links made and removed through the Unix programs, started from Wine.
#include "tests/support/unix_link.h"

#include "tests/support/process_start.h"
#include "tests/support/wait.h"

#include <windows.h>

namespace testing_support {

namespace {

constexpr DWORD kUnixProgramMs = 10000;

// The Unix path of a Windows one, through Wine's own export; empty off Wine.
std::string UnixPath(const std::string& path) {
    using ToUnix = char*(CDECL*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
    wchar_t wide[MAX_PATH] = L"";
    if (!toUnix || !MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH)) return "";
    char* unix = toUnix(wide);
    if (!unix) return "";
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Wine gives no handle for a Unix program, so its work is waited for.
bool RunUnix(const std::string& commandLine, bool (*done)(const std::string&),
             const std::string& path) {
    if (!StartProcess(commandLine)) return false;
    return WaitUntil([&] { return done(path); }, kUnixProgramMs);
}

}  // namespace

bool MakeUnixLink(const std::string& link, const std::string& target) {
    const std::string unix = UnixPath(link);
    if (unix.empty()) return false;
    return RunUnix("/bin/ln -s \"" + target + "\" \"" + unix + "\"", Exists, link);
}

bool RemoveUnixTree(const std::string& folder) {
    const std::string unix = UnixPath(folder);
    if (unix.empty()) return false;
    return RunUnix("/bin/rm -rf \"" + unix + "\"",
                   [](const std::string& path) { return !Exists(path); }, folder);
}

UnixFolderLink::UnixFolderLink(const std::string& link, const std::string& target)
    : link_(link) {
    MakeUnixLink(link, target);
}

bool UnixFolderLink::Made() const {
    const DWORD attributes = GetFileAttributesA(link_.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace testing_support
