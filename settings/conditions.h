// Which windows may be captured automatically: the add and remove condition
// sets, their sections of system.ini, and the decision CanAddWindow.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// An ordered list of distinct window class names; distinct ignoring case.
class cClassList {
public:
    static constexpr std::size_t kMaxName = 255;

    cClassList() = default;
    virtual ~cClassList() = default;

    void Clear();
    // Refuses a null or empty name and a name already listed (ignoring case).
    bool Add(const char* name);
    bool Contains(const char* name) const;

    std::size_t Size() const { return names_.size(); }
    const std::string& At(std::size_t i) const { return names_[i]; }

    // "SIZE" and "CLASS%d" of section. Reading stops at the first empty or
    // missing name (true) or at the first refused one (false).
    bool Read(const char* iniPath, const char* section);
    bool Write(const char* iniPath, const char* section) const;

    void FromListBox(HWND listBox);
    void ToListBox(HWND listBox) const;

private:
    std::vector<std::string> names_;
};

// One condition set: a window matches when a switched-on criterion matches.
class cWndCondition {
public:
    std::uint32_t styleMask = 0;
    bool styleOn = false;
    bool classOn = false;
    cClassList classes;

    void Reset();
    bool Read(const char* iniPath, const char* section);
    bool Write(const char* iniPath, const char* section) const;

    // Owned, child and own-class windows never match; with neither criterion
    // on the result is defaultResult.
    bool Match(HWND window, bool defaultResult) const;
};

// The two process-wide sets.
cWndCondition& AddConditions();
cWndCondition& RemoveConditions();

// Installs the conditions of a first start (no system.ini).
void SetDefaultConditions();

// Whether window may be captured automatically.
bool CanAddWindow(HWND window);
