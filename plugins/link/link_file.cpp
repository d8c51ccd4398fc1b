// Reading and writing $link.
#include "plugins/link/link_file.h"

#include "base/handles.h"

#include <cstring>
#include <string>

namespace link_file {

namespace {

// A path's length is 4 bytes in the file, as a DWORD is for either width.
static_assert(sizeof(DWORD) == 4, "$link's path lengths are 4-byte little-endian numbers");

bool ReadExactly(HANDLE file, void* buffer, DWORD size) {
    DWORD read = 0;
    return ReadFile(file, buffer, size, &read, nullptr) && read == size;
}

}  // namespace

bool Read(const char* file, Contents* contents) {
    const UniqueFile in(CreateFileA(file, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!in) return false;
    for (auto& path : contents->paths) path[0] = '\0';
    BYTE autoTab = 0;
    if (!ReadExactly(in.get(), &autoTab, 1)) return true;
    contents->autoTab = autoTab != 0;
    for (auto& path : contents->paths) {
        DWORD length = 0;
        if (!ReadExactly(in.get(), &length, sizeof length) || length > kLongestPath) break;
        if (!ReadExactly(in.get(), path, length)) {
            path[0] = '\0';
            break;
        }
        path[length] = '\0';
    }
    return true;
}

bool Write(const char* file, const Contents& contents) {
    std::string bytes(1, contents.autoTab ? '\1' : '\0');
    for (const auto& path : contents.paths) {
        const DWORD length = static_cast<DWORD>(strnlen(path, kLongestPath));
        bytes.append(reinterpret_cast<const char*>(&length), sizeof length);
        bytes.append(path, length);
    }
    const UniqueFile out(CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) return false;
    DWORD written = 0;
    return WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

}  // namespace link_file
