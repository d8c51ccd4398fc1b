// Window add and remove conditions.
#include "settings/conditions.h"

#include "base/base_ids.h"
#include "settings/profile_text.h"
#include "settings/settings_ids.h"
#include "settings/system_data.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace {

bool SameName(const char* a, const char* b) { return _stricmp(a, b) == 0; }

std::string ClassNameOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

void WriteInt(const char* iniPath, const char* section, const char* key,
              const char* format, unsigned long long value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    WritePrivateProfileStringA(section, key, text, iniPath);
}

}  // namespace

void cClassList::Clear() { names_.clear(); }

bool cClassList::Add(const char* name) {
    if (!name || !*name || Contains(name)) return false;
    try {
        names_.emplace_back(name, strnlen(name, kMaxName));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool cClassList::Contains(const char* name) const {
    if (!name) return false;
    for (const auto& entry : names_) {
        if (SameName(entry.c_str(), name)) return true;
    }
    return false;
}

bool cClassList::Read(const char* iniPath, const char* section) {
    Clear();
    const int size = static_cast<int>(
        GetPrivateProfileIntA(section, settings_ids::kSizeKey, 0, iniPath));
    for (int i = 0; i < size; ++i) {
        char key[32];
        std::snprintf(key, sizeof key, settings_ids::kClassKeyFormat, i);
        char name[kMaxName + 1] = "";
        ReadProfileText(iniPath, section, key, "", name, sizeof name);
        if (!*name) return true;
        if (!Add(name)) return false;
    }
    return true;
}

bool cClassList::Write(const char* iniPath, const char* section) const {
    WriteInt(iniPath, section, settings_ids::kSizeKey, "%llu", names_.size());
    for (std::size_t i = 0; i < names_.size(); ++i) {
        char key[32];
        std::snprintf(key, sizeof key, settings_ids::kClassKeyFormat, static_cast<int>(i));
        WritePrivateProfileStringA(section, key, names_[i].c_str(), iniPath);
    }
    return true;
}

void cClassList::FromListBox(HWND listBox) {
    Clear();
    const int count = static_cast<int>(SendMessageA(listBox, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(listBox, LB_GETTEXTLEN, i, 0);
        if (length <= 0) continue;
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        SendMessageA(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        Add(text.c_str());
    }
}

void cClassList::ToListBox(HWND listBox) const {
    SendMessageA(listBox, LB_RESETCONTENT, 0, 0);
    for (const auto& entry : names_) {
        SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    SendMessageA(listBox, LB_SETCURSEL, 0, 0);
}

void cWndCondition::Reset() {
    styleMask = 0;
    styleOn = false;
    classOn = false;
    classes.Clear();
}

bool cWndCondition::Read(const char* iniPath, const char* section) {
    styleMask = GetPrivateProfileIntA(section, settings_ids::kStyleKey, 0, iniPath);
    styleOn = GetPrivateProfileIntA(section, settings_ids::kStyleFlagKey, 0, iniPath) != 0;
    classOn = GetPrivateProfileIntA(section, settings_ids::kClassFlagKey, 0, iniPath) != 0;
    return classes.Read(iniPath, section);
}

bool cWndCondition::Write(const char* iniPath, const char* section) const {
    WritePrivateProfileStringA(section, settings_ids::kStyleFlagKey,
                               styleOn ? settings_ids::kFlagOn : settings_ids::kFlagOff, iniPath);
    WriteInt(iniPath, section, settings_ids::kStyleKey, "%llu", styleMask);
    WritePrivateProfileStringA(section, settings_ids::kClassFlagKey,
                               classOn ? settings_ids::kFlagOn : settings_ids::kFlagOff, iniPath);
    return classes.Write(iniPath, section);
}

bool cWndCondition::Match(HWND window, bool defaultResult) const {
    if (!window) return false;
    if (GetWindow(window, GW_OWNER)) return false;
    if (GetParent(window)) return false;
    const std::string className = ClassNameOf(window);
    if (SameName(className.c_str(), base_ids::kMainClassName)) return false;
    if (!styleOn && !classOn) return defaultResult;
    if (styleOn && (static_cast<std::uint32_t>(GetWindowLongA(window, GWL_STYLE)) & styleMask))
        return true;
    if (classOn && classes.Contains(className.c_str())) return true;
    return false;
}

cWndCondition& AddConditions() {
    static cWndCondition conditions;
    return conditions;
}

cWndCondition& RemoveConditions() {
    static cWndCondition conditions;
    return conditions;
}

void SetDefaultConditions() {
    AddConditions().Reset();
    cWndCondition& remove = RemoveConditions();
    remove.Reset();
    remove.classOn = true;
    remove.classes.Add(settings_ids::kDefaultRemoveClass1);
    remove.classes.Add(settings_ids::kDefaultRemoveClass2);
}

bool CanAddWindow(HWND window) {
    if (SameName(ClassNameOf(window).c_str(), settings_ids::kExcludedClass)) return false;
    if (!AddConditions().Match(window, true)) return false;
    if (GetSystemData().addConditionFirst) return true;
    return !RemoveConditions().Match(window, false);
}
