#include "tests/support/temp_dir.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testing_support {
namespace {

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                // A link to a folder is removed, not followed: it may lead
                // back up.
                RemoveDirectoryA(path.c_str());
            } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

TempDir::TempDir() {
    char base[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, base);
    static unsigned counter;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%spanelry-test-%lu-%u", base,
                      GetCurrentProcessId(), ++counter);
        if (CreateDirectoryA(name, nullptr)) {
            path_ = name;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() { RemoveTree(path_); }

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFileText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string IniValue(const std::string& ini, const char* section, const char* key,
                     const char* fallback) {
    char text[4096] = "";
    GetPrivateProfileStringA(section, key, fallback, text, sizeof text, ini.c_str());
    return text;
}

std::vector<std::string> IniValues(const std::string& ini, const char* section,
                                   std::initializer_list<const char*> keys) {
    std::vector<std::string> values;
    for (const char* key : keys) values.push_back(IniValue(ini, section, key, kNoKey));
    return values;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace testing_support
