// A fresh folder per test for settings files; removed with its contents.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace testing_support {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const char* name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Whole-file helpers for assertions on INI files.
std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
// One value of an INI file; fallback when the key is missing.
std::string IniValue(const std::string& ini, const char* section, const char* key,
                     const char* fallback = "");
// What IniValues reads for a key the file does not hold.
inline constexpr char kNoKey[] = "(no key)";
// The values of keys of one section, in the order given.
std::vector<std::string> IniValues(const std::string& ini, const char* section,
                                   std::initializer_list<const char*> keys);

}  // namespace testing_support
