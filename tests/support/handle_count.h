// Wine's GetGuiResources counts nothing, so the handles the program's code
// makes and frees are counted through this program's imports instead (the
// program's libraries are linked into each test program, so its calls go
// through them): GDI objects made with CreateFontIndirectA and
// CreateSolidBrush, icons the shell hands out, popup menus and windows; how
// many were made, and which still live.
#pragma once

#include <windows.h>

#include <cstddef>

namespace testing_support {

class HandleCount {
public:
    // Routes the imports and starts counting from zero.
    HandleCount();
    // Puts the imports back.
    ~HandleCount();
    HandleCount(const HandleCount&) = delete;
    HandleCount& operator=(const HandleCount&) = delete;

    // Whether every import was found and routed.
    bool Routed() const { return routed_; }

    int GdiMade() const;
    int IconsMade() const;
    int MenusMade() const;
    int WindowsMade() const;
    std::size_t GdiLive() const;
    std::size_t IconsLive() const;
    // Menus and windows made while counting that still exist.
    std::size_t MenusLive() const;
    std::size_t WindowsLive() const;

private:
    bool routed_ = true;
};

}  // namespace testing_support
