#include "tests/support/unix_link.h"

#include "tests/support/process_start.h"
#include "tests/support/wait.h"

#include <windows.h>

namespace testing_support {
namespace {

// Wine's kernel32 tells the Unix path of a Windows one; the answer lies on
// the process heap.
std::string UnixPathOf(const std::string& path) {
    using UnixName = char*(__cdecl*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return "";
    wchar_t wide[MAX_PATH] = L"";
    if (!MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH)) return "";
    char* answer = unixName(wide);
    if (!answer) return "";
    std::string text = answer;
    HeapFree(GetProcessHeap(), 0, answer);
    return text;
}

bool ShowsAsLink(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

UnixFolderLink::UnixFolderLink(const std::string& link, const std::string& target) : link_(link) {
    const std::size_t cut = link.find_last_of('\\');
    const std::string folder = UnixPathOf(link.substr(0, cut));
    if (folder.empty()) return;
    unixPath_ = folder + "/" + link.substr(cut + 1);
    if (StartProcess("/bin/ln -s \"" + target + "\" \"" + unixPath_ + "\"")) {
        WaitUntil([&] { return ShowsAsLink(link_); }, 10000);
    }
}

UnixFolderLink::~UnixFolderLink() {
    if (unixPath_.empty() || !StartProcess("/bin/rm \"" + unixPath_ + "\"")) return;
    WaitUntil([&] { return GetFileAttributesA(link_.c_str()) == INVALID_FILE_ATTRIBUTES; },
              10000);
}

bool UnixFolderLink::Made() const { return ShowsAsLink(link_); }

}  // namespace testing_support
