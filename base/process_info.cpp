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
constexpr int kProcessWow64Information = 26;
constexpr int kProcessCommandLineInformation = 60;
// Longer command lines than the system allows are taken for garbage.
constexpr ULONG kLongestCommandLine = 32768 * sizeof(wchar_t);

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

// Where a process block keeps its parameters, where those keep the command
// line, and how wide the pointers on the way are: the layout follows the
// width of the process read, not of the one reading.
struct BlockLayout {
    std::uint32_t parametersOffset;
    std::uint32_t commandLineOffset;
    std::uint32_t pointerSize;
};
constexpr BlockLayout kBlock32{0x10, 0x40, 4};
constexpr BlockLayout kBlock64{0x20, 0x70, 8};

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

bool Read(HANDLE process, std::uint64_t address, void* out, std::size_t size) {
    if (address > UINTPTR_MAX - size) return false;
    SIZE_T done = 0;
    return ReadProcessMemory(process, reinterpret_cast<const void*>(
                                          static_cast<std::uintptr_t>(address)),
                             out, size, &done) &&
           done == size;
}

bool ReadPointer(HANDLE process, std::uint64_t address, const BlockLayout& layout,
                 std::uint64_t& out) {
    out = 0;  // a 4-byte pointer fills the low half, little-endian
    return Read(process, address, &out, layout.pointerSize);
}

// The process block of process and its layout; 0 when this process cannot
// reach it (a 32-bit program cannot address a 64-bit process's block).
std::uint64_t ProcessBlock(HANDLE process, BlockLayout& layout) {
    const QueryInformationProcess query = Query();
    if (!query) return 0;
    BOOL otherOnWow = FALSE;
    IsWow64Process(process, &otherOnWow);
#ifdef _WIN64
    if (otherOnWow) {
        // A 32-bit process on this 64-bit system: its own 32-bit block.
        ULONG_PTR block32 = 0;
        if (query(process, kProcessWow64Information, &block32, sizeof block32, nullptr) < 0) {
            return 0;
        }
        layout = kBlock32;
        return block32;
    }
    layout = kBlock64;
#else
    BOOL selfOnWow = FALSE;
    IsWow64Process(GetCurrentProcess(), &selfOnWow);
    if (selfOnWow && !otherOnWow) return 0;
    layout = kBlock32;
#endif
    BasicInformation basic{};
    if (query(process, kProcessBasicInformation, &basic, sizeof basic, nullptr) < 0) return 0;
    return reinterpret_cast<std::uintptr_t>(basic.peb);
}

// Older systems: from the process's own block.
std::wstring ReadCommandLine(HANDLE process) {
    BlockLayout layout{};
    const std::uint64_t block = ProcessBlock(process, layout);
    std::uint64_t parameters = 0, buffer = 0;
    std::uint16_t length = 0;
    if (!block || !ReadPointer(process, block + layout.parametersOffset, layout, parameters) ||
        !parameters ||
        !Read(process, parameters + layout.commandLineOffset, &length, sizeof length) ||
        // The counted text's buffer pointer follows its two lengths, aligned.
        !ReadPointer(process, parameters + layout.commandLineOffset + layout.pointerSize, layout,
                     buffer) ||
        !buffer || length % 2 != 0 || length > kLongestCommandLine) {
        return L"";
    }
    std::wstring line(length / sizeof(wchar_t), L'\0');
    if (!line.empty() && !Read(process, buffer, &line[0], length)) return L"";
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

// Each way asks only for the access it needs: an elevated program (or one
// of another user) refuses a lower program more than a limited query, and
// refuses reading its memory too.
std::wstring ProcessCommandLine(DWORD processId) {
    std::wstring line;
    if (UniqueHandle process{OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)}) {
        line = AskedCommandLine(process.get());
    }
    if (line.empty()) {
        UniqueHandle process(
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, processId));
        if (process) line = ReadCommandLine(process.get());
    }
    // What the start-up code keeps may end with the terminator.
    while (!line.empty() && line.back() == L'\0') line.pop_back();
    return line;
}
