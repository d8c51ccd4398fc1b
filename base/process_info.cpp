// Process paths and command lines (see process_info.h).
#include "base/process_info.h"

#include "base/handles.h"

#include <cstdint>
#include <vector>

namespace {

// Of ntdll, looked up at run time: the import library's names vary between
// tool chains, and a missing function only means no command line.
using QueryInformationProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
constexpr int kProcessBasicInformation = 0;
constexpr int kProcessCommandLineInformation = 60;
// Longer command lines than the system allows are taken for garbage.
constexpr ULONG kLongestCommandLine = 32768 * sizeof(wchar_t);

struct CountedText32 {
    std::uint16_t length;
    std::uint16_t maximumLength;
    std::uint32_t buffer;
};

// A counted text as this process's own width lays it out.
struct CountedText {
    USHORT length;
    USHORT maximumLength;
    const wchar_t* buffer;
};

struct BasicInformation {
    LONG exitStatus;
    void* peb;
    ULONG_PTR affinityMask;
    LONG basePriority;
    ULONG_PTR processId;
    ULONG_PTR parentProcessId;
};

// Where the 32-bit process block keeps its parameters, and where those keep
// the command line.
constexpr std::uint32_t kParametersOffset = 0x10;
constexpr std::uint32_t kCommandLineOffset = 0x40;

QueryInformationProcess Query() {
    static const auto query = reinterpret_cast<QueryInformationProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    return query;
}

// Newer systems answer directly, for any process.
std::wstring AskedCommandLine(HANDLE process) {
    const QueryInformationProcess query = Query();
    if (!query) return L"";
    ULONG needed = 0;
    query(process, kProcessCommandLineInformation, nullptr, 0, &needed);
    if (needed < sizeof(CountedText) || needed > kLongestCommandLine + sizeof(CountedText)) {
        return L"";
    }
    std::vector<std::uint8_t> buffer(needed);
    if (query(process, kProcessCommandLineInformation, buffer.data(), needed, &needed) < 0) {
        return L"";
    }
    const auto* text = reinterpret_cast<const CountedText*>(buffer.data());
    // The text lies in the same buffer, after its count.
    const auto* first = reinterpret_cast<const std::uint8_t*>(text->buffer);
    if (first < buffer.data() || first + text->length > buffer.data() + buffer.size()) return L"";
    return std::wstring(text->buffer, text->length / sizeof(wchar_t));
}

bool Read(HANDLE process, std::uint32_t address, void* out, std::size_t size) {
    SIZE_T done = 0;
    return ReadProcessMemory(process, reinterpret_cast<const void*>(
                                          static_cast<std::uintptr_t>(address)),
                             out, size, &done) &&
           done == size;
}

// Older ones: from the process's own block, which only a process of the
// same width can read.
std::wstring ReadCommandLine(HANDLE process) {
    BOOL selfOnWow = FALSE, otherOnWow = FALSE;
    IsWow64Process(GetCurrentProcess(), &selfOnWow);
    IsWow64Process(process, &otherOnWow);
    if (selfOnWow != otherOnWow) return L"";
    const QueryInformationProcess query = Query();
    BasicInformation basic{};
    if (!query || query(process, kProcessBasicInformation, &basic, sizeof basic, nullptr) < 0 ||
        !basic.peb) {
        return L"";
    }
    const auto block = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(basic.peb));
    std::uint32_t parameters = 0;
    CountedText32 text{};
    if (!Read(process, block + kParametersOffset, &parameters, sizeof parameters) || !parameters ||
        !Read(process, parameters + kCommandLineOffset, &text, sizeof text) || !text.buffer ||
        text.length % 2 != 0 || text.length > kLongestCommandLine) {
        return L"";
    }
    std::wstring line(text.length / sizeof(wchar_t), L'\0');
    if (!line.empty() && !Read(process, text.buffer, &line[0], text.length)) return L"";
    return line;
}

}  // namespace

std::wstring ProcessImagePath(DWORD processId) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return L"";
    wchar_t path[MAX_PATH * 4];
    DWORD size = sizeof path / sizeof path[0];
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &size)) return L"";
    return std::wstring(path, size);
}

std::wstring ProcessCommandLine(DWORD processId) {
    UniqueHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process) return L"";
    std::wstring line = AskedCommandLine(process.get());
    if (line.empty()) line = ReadCommandLine(process.get());
    // What the start-up code keeps may end with the terminator.
    while (!line.empty() && line.back() == L'\0') line.pop_back();
    return line;
}
