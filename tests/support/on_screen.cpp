#include "tests/support/on_screen.h"

#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace testing_support {

RECT RectIn(HWND window, HWND reference) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string RectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

void ExpectRect(const RECT& actual, const RECT& expected, const std::string& what) {
    EXPECT_TRUE(EqualRect(&actual, &expected))
        << what << " at " << RectText(actual) << ", expected " << RectText(expected);
}

COLORREF PixelOf(HWND window, int x, int y) {
    WindowDC dc(window);
    return GetPixel(dc.get(), x, y);
}

POINT ScreenPoint(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

POINT CentreOnScreen(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::string TabText(HWND tabControl, int index) {
    char text[512] = "";
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tabControl, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::wstring TabTextW(HWND tabControl, int index) {
    wchar_t text[512] = L"";
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 512;
    SendMessageW(tabControl, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

UniqueWindow OpenFrame(const char* className, WNDPROC proc, const char* title, int x, int y,
                       int width, int height) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    RegisterClassA(&wc);  // fails harmlessly for the second test of a program
    return UniqueWindow(CreateWindowExA(0, className, title,
                                        WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, x, y,
                                        width, height, nullptr, nullptr, instance, nullptr));
}

void MouseButton(DWORD flag) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    SendInput(1, &input, sizeof input);
}

bool PlaceCursor(POINT at) {
    SetCursorPos(at.x, at.y);
    return WaitUntil([&] {
        POINT now{};
        GetCursorPos(&now);
        return now.x == at.x && now.y == at.y;
    });
}

void ClickAt(POINT at, DWORD down, DWORD up) {
    PlaceCursor(at);
    MouseButton(down);
    MouseButton(up);
}

namespace {

struct TopLevelSearch {
    DWORD process;
    const std::string& className;
    const std::string& title;
    std::vector<HWND> found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<TopLevelSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[256] = "", title[256] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    if ((search.process == 0 || process == search.process) && IsWindowVisible(window) && search.className == className &&
        (search.title.empty() || search.title == title)) {
        search.found.push_back(window);
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> ShownTopLevelWindows(DWORD process, const std::string& className,
                                       const std::string& title) {
    TopLevelSearch search{process, className, title, {}};
    EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace testing_support
