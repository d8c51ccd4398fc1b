// Reading and writing classadd.ini. A file edited by hand or cut short
// loads as far as it makes sense: "COUNT" never reaches past the "ITEM n"
// sections the file holds (a huge count would otherwise mean billions of
// empty rows), and a "SELECTED" outside the entries selects none.
#include "plugins/classadd/class_list.h"

#include "plugins/classadd/classadd_texts.h"
#include "plugins/common/tool_paths.h"
#include "settings/profile_text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using namespace classadd_texts;

std::string ItemSection(int n) {
    char section[32];
    std::snprintf(section, sizeof section, kItemSectionFormat, n);
    return section;
}

// The n of a section named exactly as entry n's would be; -1 for any other
// section (the profile functions match names ignoring case).
int ItemNumber(const char* section) {
    const std::size_t prefix = std::strlen(kItemSectionPrefix);
    if (_strnicmp(section, kItemSectionPrefix, prefix) != 0) return -1;
    const char* digits = section + prefix;
    if (*digits < '0' || *digits > '9') return -1;
    char* end = nullptr;
    const long n = std::strtol(digits, &end, 10);
    if (*end != '\0' || n < 0 || n > 0x7FFFFFFE) return -1;
    return _stricmp(ItemSection(static_cast<int>(n)).c_str(), section) == 0 ? static_cast<int>(n)
                                                                            : -1;
}

// One more than the highest entry number whose section the file holds.
int SectionsHeld(const char* iniPath) {
    std::vector<char> names(4096);
    for (;;) {
        const DWORD got =
            GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), iniPath);
        if (got + 2 < names.size() || names.size() >= (1u << 24)) break;
        names.assign(names.size() * 2, '\0');
    }
    int held = 0;
    for (const char* name = names.data(); *name; name += std::strlen(name) + 1) {
        const int n = ItemNumber(name);
        if (n >= held) held = n + 1;
    }
    return held;
}

std::string ReadText(const char* iniPath, const std::string& section, const char* key) {
    char text[kEntryTextSize];
    ReadProfileText(iniPath, section.c_str(), key, "", text, sizeof text);
    return text;
}

ClassList BuiltInList() {
    ClassList list;
    for (const BuiltInEntry& entry : kBuiltInEntries) {
        list.entries.push_back({entry.name, entry.className});
    }
    list.builtIn = true;
    return list;
}

void WriteNumber(const char* iniPath, const char* key, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    WritePrivateProfileStringA(kStatusSection, key, text, iniPath);
}

}  // namespace

std::string ClassListPath(HMODULE self) { return PathBesideModule(self, kIniName, kIniExtension); }

ClassList LoadClassList(const char* iniPath) {
    const int stored =
        static_cast<int>(GetPrivateProfileIntA(kStatusSection, kCountKey, 0, iniPath));
    int count = stored > 0 ? stored : 0;
    if (count > 0) {
        const int held = SectionsHeld(iniPath);
        if (count > held) count = held;
    }
    if (count == 0) return BuiltInList();

    ClassList list;
    for (int n = 0; n < count; ++n) {
        const std::string section = ItemSection(n);
        list.entries.push_back(
            {ReadText(iniPath, section, kNameKey), ReadText(iniPath, section, kClassKey)});
    }
    const int selected =
        static_cast<int>(GetPrivateProfileIntA(kStatusSection, kSelectedKey, 0, iniPath));
    list.selected = selected >= 0 && selected < count ? selected : -1;
    return list;
}

void SaveClassList(const char* iniPath, const ClassList& list) {
    WriteNumber(iniPath, kCountKey, static_cast<int>(list.entries.size()));
    WriteNumber(iniPath, kSelectedKey, list.selected);
    for (std::size_t n = 0; n < list.entries.size(); ++n) {
        const std::string section = ItemSection(static_cast<int>(n));
        WritePrivateProfileStringA(section.c_str(), kNameKey, list.entries[n].name.c_str(),
                                   iniPath);
        WritePrivateProfileStringA(section.c_str(), kClassKey, list.entries[n].className.c_str(),
                                   iniPath);
    }
}
