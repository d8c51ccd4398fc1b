// Reading a plug-in file's headers and export names without loading it (see
// tool_file.h). Every offset is checked against the file's size: the file is
// whatever the user put in the tool folder.
#include "plugins/host/tool_file.h"

#include "base/handles.h"
#include "plugins/host/host_ids.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Plug-ins are small; a larger file is not read at all.
constexpr DWORD kLargestToolFile = 64 * 1024 * 1024;

#ifdef _WIN64
constexpr WORD kOtherMachine = IMAGE_FILE_MACHINE_I386;
#else
constexpr WORD kOtherMachine = IMAGE_FILE_MACHINE_AMD64;
#endif

class Image {
public:
    explicit Image(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    template <typename T>
    bool At(std::uint64_t offset, T& out) const {
        if (offset > bytes_.size() || bytes_.size() - offset < sizeof out) return false;
        std::memcpy(&out, bytes_.data() + offset, sizeof out);
        return true;
    }

    // A NUL-terminated name at offset, or empty.
    std::string NameAt(std::uint64_t offset) const {
        if (offset >= bytes_.size()) return "";
        const auto* first = reinterpret_cast<const char*>(bytes_.data() + offset);
        const std::size_t room = bytes_.size() - offset;
        const std::size_t length = strnlen(first, room);
        return length == room ? "" : std::string(first, length);
    }

private:
    std::vector<std::uint8_t> bytes_;
};

std::vector<std::uint8_t> ReadWhole(const char* path) {
    const HANDLE opened = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return {};
    UniqueHandle file(opened);
    const DWORD size = GetFileSize(file.get(), nullptr);
    if (size == INVALID_FILE_SIZE || size > kLargestToolFile) return {};
    std::vector<std::uint8_t> bytes(size);
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), size, &read, nullptr) || read != size) return {};
    return bytes;
}

// The file offset of a relative virtual address, through the section that
// holds it; 0 when none does.
std::uint64_t FileOffset(const Image& image, std::uint64_t sections, WORD sectionCount,
                         DWORD rva) {
    for (WORD i = 0; i < sectionCount; ++i) {
        IMAGE_SECTION_HEADER section{};
        if (!image.At(sections + i * sizeof section, section)) return 0;
        const DWORD size = section.Misc.VirtualSize ? section.Misc.VirtualSize
                                                    : section.SizeOfRawData;
        if (rva >= section.VirtualAddress && rva - section.VirtualAddress < size) {
            return std::uint64_t{section.PointerToRawData} + (rva - section.VirtualAddress);
        }
    }
    return 0;
}

}  // namespace

int OwnWidthBits() { return static_cast<int>(sizeof(void*) * 8); }

int OtherWidthBits() { return OwnWidthBits() == 64 ? 32 : 64; }

bool IsToolOfOtherWidth(const char* path) {
    const Image image(ReadWhole(path));
    IMAGE_DOS_HEADER dos{};
    if (!image.At(0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) return false;
    const std::uint64_t nt = static_cast<std::uint32_t>(dos.e_lfanew);
    DWORD signature = 0;
    IMAGE_FILE_HEADER header{};
    if (!image.At(nt, signature) || signature != IMAGE_NT_SIGNATURE ||
        !image.At(nt + sizeof signature, header) || header.Machine != kOtherMachine ||
        !(header.Characteristics & IMAGE_FILE_DLL)) {
        return false;
    }
    // The optional header's form follows the machine: its data directories
    // start at different places in the two.
    const std::uint64_t optional = nt + sizeof signature + sizeof header;
    IMAGE_DATA_DIRECTORY exports{};
    const bool wide = kOtherMachine == IMAGE_FILE_MACHINE_AMD64;
    const std::uint64_t directories =
        optional + (wide ? offsetof(IMAGE_OPTIONAL_HEADER64, DataDirectory)
                         : offsetof(IMAGE_OPTIONAL_HEADER32, DataDirectory));
    if (directories + sizeof exports > optional + header.SizeOfOptionalHeader ||
        !image.At(directories + IMAGE_DIRECTORY_ENTRY_EXPORT * sizeof exports, exports) ||
        !exports.VirtualAddress) {
        return false;
    }
    const std::uint64_t sections = optional + header.SizeOfOptionalHeader;
    const WORD count = header.NumberOfSections;
    IMAGE_EXPORT_DIRECTORY directory{};
    const std::uint64_t at = FileOffset(image, sections, count, exports.VirtualAddress);
    if (!at || !image.At(at, directory)) return false;
    const std::uint64_t names = FileOffset(image, sections, count, directory.AddressOfNames);
    if (!names) return false;

    const char* const wanted[] = {host_ids::kNameExport,    host_ids::kCopyrightExport,
                                  host_ids::kVersionExport, host_ids::kCheckedExport,
                                  host_ids::kEnabledExport, host_ids::kSelectedExport};
    bool found[sizeof wanted / sizeof wanted[0]] = {};
    for (DWORD i = 0; i < directory.NumberOfNames; ++i) {
        DWORD nameRva = 0;
        if (!image.At(names + std::uint64_t{i} * sizeof nameRva, nameRva)) return false;
        const std::string name = image.NameAt(FileOffset(image, sections, count, nameRva));
        for (std::size_t w = 0; w < sizeof wanted / sizeof wanted[0]; ++w) {
            if (name == wanted[w]) found[w] = true;
        }
    }
    for (bool each : found) {
        if (!each) return false;
    }
    return true;
}
