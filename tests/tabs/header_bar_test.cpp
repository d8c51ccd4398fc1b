// The header bar in a real tab control: where it and its controls sit, the
// title of a real captured window, real clicks reaching the pane's tab
// control as commands, the colours it paints, its faces and its tooltips.
#include "tabs/header_bar.h"

#include "base/command_kinds.h"
#include "base/handles.h"
#include "base/messages.h"
#include "resources/resource_ids.h"
#include "tabs/captured_window.h"
#include "tabs/pane.h"
#include "tabs/tab_ids.h"
#include "tabs/tab_texts.h"
#include "tests/support/on_screen.h"
#include "tests/support/sample_app.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <mmsystem.h>

#include <map>
#include <string>
#include <vector>

using testing_support::CentreOnScreen;
using testing_support::ClickAt;
using testing_support::ExpectRect;
using testing_support::PixelOf;
using testing_support::RectIn;
using testing_support::SampleApp;
using testing_support::WaitUntil;
using testing_support::WindowSpec;

namespace {

constexpr COLORREF kActiveBack = RGB(180, 30, 40);
constexpr COLORREF kInactiveBack = RGB(30, 120, 60);
constexpr COLORREF kActiveText = RGB(255, 255, 0);
constexpr COLORREF kInactiveText = RGB(0, 0, 80);

// What the pane's tab control hears from its header.
struct Heard {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Heard> g_heard;
WNDPROC g_tabProc;

LRESULT CALLBACK TabSpy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND || message == PM_FOREGROUNDACTIVE || message == WM_RBUTTONDOWN ||
        message == WM_PARENTNOTIFY) {
        g_heard.push_back({message, wParam, lParam});
    }
    return CallWindowProcA(g_tabProc, window, message, wParam, lParam);
}

std::vector<WPARAM> CommandsHeard() {
    std::vector<WPARAM> commands;
    for (const Heard& h : g_heard) {
        if (h.message == WM_COMMAND) commands.push_back(h.wParam);
    }
    return commands;
}

int TimesHeard(UINT message) {
    int n = 0;
    for (const Heard& h : g_heard) n += h.message == message;
    return n;
}

// The header's window as it is destroyed: what its property list still
// holds once the header has handled WM_DESTROY.
WNDPROC g_headerProc;
bool g_sawNcDestroy;
HANDLE g_ownPropAtNcDestroy;
HANDLE g_panePropAtNcDestroy;

LRESULT CALLBACK HeaderSpy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        g_sawNcDestroy = true;
        g_ownPropAtNcDestroy = GetPropA(window, tab_ids::kHeaderProp);
        g_panePropAtNcDestroy = GetPropA(window, tab_ids::kPaneProperty);
    }
    return CallWindowProcA(g_headerProc, window, message, wParam, lParam);
}

std::string TextOf(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::vector<COLORREF> PixelsIn(HDC dc, int width, int height) {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc, x, y));
    }
    return pixels;
}

std::vector<COLORREF> PixelsOf(HWND window, int width, int height) {
    WindowDC dc(window);
    return PixelsIn(dc.get(), width, height);
}

UniqueIcon LoadFace(int id) {
    return UniqueIcon(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr),
                                                    MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0,
                                                    LR_DEFAULTCOLOR)));
}

int FaceHeight(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return 0;
    const UniqueBitmap color(info.hbmColor);
    const UniqueBitmap mask(info.hbmMask);
    BITMAP bitmap{};
    GetObjectA(color.get(), sizeof bitmap, &bitmap);
    return bitmap.bmHeight;
}

// A face as a button should show it: drawn by the system on the menu colour.
std::vector<COLORREF> FaceOnMenu(HICON icon, int size) {
    WindowDC screen(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), size, size));
    UniqueDC dc(CreateCompatibleDC(screen.get()));
    SelectObject(dc.get(), bitmap.get());
    RECT all{0, 0, size, size};
    FillRect(dc.get(), &all, GetSysColorBrush(COLOR_MENU));
    DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    return PixelsIn(dc.get(), size, size);
}

int Differences(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
    return n;
}

// The tooltips of this thread, by the window they explain.
struct Tip {
    HWND tooltip;
    LONG style;
    UINT flags;
    LRESULT maxWidth;
    std::string text;
};

BOOL CALLBACK CollectTooltip(HWND window, LPARAM list) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
}

std::map<HWND, Tip> TipsByTool() {
    std::vector<HWND> tooltips;
    EnumThreadWindows(GetCurrentThreadId(), CollectTooltip, reinterpret_cast<LPARAM>(&tooltips));
    std::map<HWND, Tip> tips;
    for (HWND tooltip : tooltips) {
        const auto count = SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char text[256] = "";
            TTTOOLINFOA tool{};
            tool.cbSize = TTTOOLINFOA_V2_SIZE;
            tool.lpszText = text;
            if (!SendMessageA(tooltip, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool))) {
                continue;
            }
            text[0] = '\0';
            tool.lpszText = text;
            SendMessageA(tooltip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
            tips[reinterpret_cast<HWND>(tool.uId)] =
                Tip{tooltip, GetWindowLongA(tooltip, GWL_STYLE), tool.uFlags,
                    SendMessageA(tooltip, TTM_GETMAXTIPWIDTH, 0, 0), text};
        }
    }
    return tips;
}

// A visible top-level window holding a real tab control with one tab, the
// way a pane holds its header, and a display area for captured windows.
class HeaderFixture : public ::testing::Test {
protected:
    void SetUp() override {
        InitCommonControls();
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        ASSERT_TRUE(cHeader::Init(instance));
        ASSERT_TRUE(cHeader::Init(instance)) << "a second registration is no failure";
        frame_ = testing_support::OpenFrame("header_test_frame", DefWindowProcA, "header", 40, 40,
                                            660, 380);
        ASSERT_TRUE(frame_);
        tabControl_ = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE |
                                      WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 10, 10, 600, 240,
                                      frame_.get(), nullptr, instance, nullptr);
        ASSERT_NE(tabControl_, nullptr);
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>("sample");
        SendMessageA(tabControl_, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        g_tabProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(tabControl_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TabSpy)));
        displayArea_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                       10, 260, 600, 60, frame_.get(), nullptr, instance, nullptr);
        SetForegroundWindow(frame_.get());
        g_heard.clear();

        ASSERT_TRUE(CreateIn(header_, instance));
        created_ = timeGetTime();
        header_.Relayout();
        UpdateWindow(frame_.get());
    }

    bool CreateIn(cHeader& header, HINSTANCE faces) {
        return header.Create(tabControl_, faces, kActiveBack, kInactiveBack, kActiveText,
                             kInactiveText, paneStandIn_);
    }
    HWND Child(int id) const { return GetDlgItem(header_.Window(), id); }
    HWND Title() const { return Child(cHeader::kTitleId); }

    // The header counts a click soon after creation or after another click
    // as the second of a double click.
    void WaitOutDoubleClick(DWORD since) {
        const DWORD interval = GetDoubleClickTime();
        ASSERT_TRUE(WaitUntil([&] { return timeGetTime() - since > interval; }, interval + 5000));
    }

    // Paints everything pending and waits until the pixel shows colour.
    bool PaintsAs(HWND window, int x, int y, COLORREF colour) {
        UpdateWindow(header_.Window());
        return WaitUntil([&] { return PixelOf(window, x, y) == colour; }, 2000);
    }

    // The far right of the title, clear of its text, paints as colour.
    void ExpectTitleBack(COLORREF colour) {
        RECT r{};
        GetClientRect(Title(), &r);
        EXPECT_TRUE(PaintsAs(Title(), r.right - 3, r.bottom / 2, colour))
            << std::hex << PixelOf(Title(), r.right - 3, r.bottom / 2) << ", expected " << colour;
    }

    // Declared first, destroyed last: the header goes before its parent.
    UniqueWindow frame_;
    HWND tabControl_ = nullptr;
    HWND displayArea_ = nullptr;
    cTab paneStandIn_;  // never created: the header only keeps it
    cHeader header_;
    DWORD created_ = 0;
};

// ---------------------------------------------------------------------------

class HeaderLayout : public HeaderFixture {};

TEST_F(HeaderLayout, SitsAtTheDisplayRectangleWithFullWidthAndTheFaceHeight) {
    UniqueIcon close = LoadFace(IDI_CLOSE);
    ASSERT_TRUE(close) << "the tests' module holds the faces";
    const int s = FaceHeight(close.get());
    ASSERT_GT(s, 0);

    RECT display{};
    GetClientRect(tabControl_, &display);
    SendMessageA(tabControl_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    ASSERT_GT(display.top, 10) << "below the row of tabs";

    header_.SetExStyle(0);
    header_.Relayout();
    EXPECT_EQ(header_.ExStyle(), 0u);
    ExpectRect(RectIn(header_.Window(), tabControl_),
               {display.left, display.top, display.right, display.top + s}, "plain header");

    header_.SetExStyle(WS_EX_CLIENTEDGE);
    header_.Relayout();
    EXPECT_EQ(header_.ExStyle(), static_cast<DWORD>(WS_EX_CLIENTEDGE));
    const int edge = GetSystemMetrics(SM_CYEDGE);
    ExpectRect(RectIn(header_.Window(), tabControl_),
               {display.left, display.top, display.right, display.top + s + 2 * edge},
               "header with a client edge");
    RECT byApi{};
    header_.WindowRect(&byApi);
    RECT onScreen{};
    GetWindowRect(header_.Window(), &onScreen);
    ExpectRect(byApi, onScreen, "WindowRect");
}

TEST_F(HeaderLayout, PlacesTheTitleAndTheThreeButtonsFromTheRight) {
    for (DWORD exStyle : {DWORD{0}, DWORD{WS_EX_CLIENTEDGE}}) {
        header_.SetExStyle(exStyle);
        header_.Relayout();
        const int s = FaceHeight(LoadFace(IDI_CLOSE).get());
        RECT client{};
        GetClientRect(header_.Window(), &client);
        ASSERT_EQ(client.bottom, s);
        const int right = client.right;
        ExpectRect(RectIn(Title(), header_.Window()), {0, 0, right - 3 * s, s}, "title");
        ExpectRect(RectIn(Child(cHeader::kCloseId), header_.Window()), {right - s, 0, right, s},
                   "close");
        ExpectRect(RectIn(Child(cHeader::kReleaseId), header_.Window()),
                   {right - 2 * s, 0, right - s, s}, "release");
        ExpectRect(RectIn(Child(cHeader::kMinimizeId), header_.Window()),
                   {right - 3 * s, 0, right - 2 * s, s}, "minimise");
    }
}

TEST_F(HeaderLayout, FollowsTheTabControlWhenItsSizeChanges) {
    MoveWindow(tabControl_, 10, 10, 420, 200, TRUE);
    header_.Relayout();
    RECT display{};
    GetClientRect(tabControl_, &display);
    SendMessageA(tabControl_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    const RECT at = RectIn(header_.Window(), tabControl_);
    EXPECT_EQ(at.left, display.left);
    EXPECT_EQ(at.right, display.right);
    RECT client{};
    GetClientRect(header_.Window(), &client);
    EXPECT_EQ(RectIn(Child(cHeader::kCloseId), header_.Window()).right, client.right);
}

TEST_F(HeaderLayout, ControlsHaveTheirClassesStylesAndIds) {
    char name[64] = "";
    GetClassNameA(header_.Window(), name, sizeof name);
    EXPECT_STREQ(name, tab_ids::kHeaderClassName);
    EXPECT_EQ(GetParent(header_.Window()), tabControl_);
    EXPECT_EQ(GetDlgCtrlID(header_.Window()), -1);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(header_.Window(), GWL_STYLE)) &
                  (WS_CHILD | WS_VISIBLE | WS_POPUP),
              static_cast<DWORD>(WS_CHILD | WS_VISIBLE));

    GetClassNameA(Title(), name, sizeof name);
    EXPECT_EQ(lstrcmpiA(name, "static"), 0) << name;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(Title(), GWL_STYLE)), 0x50000200u);
    for (int id = cHeader::kCloseId; id <= cHeader::kMinimizeId; ++id) {
        GetClassNameA(Child(id), name, sizeof name);
        EXPECT_EQ(lstrcmpiA(name, "button"), 0) << name;
        // WS_DISABLED comes and goes with the title.
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(Child(id), GWL_STYLE)) & ~WS_DISABLED,
                  0x5000000Bu);
    }
}

// ---------------------------------------------------------------------------

class HeaderTitle : public HeaderFixture {
protected:
    bool ButtonsEnabled(bool enabled) {
        for (int id = cHeader::kCloseId; id <= cHeader::kMinimizeId; ++id) {
            if ((IsWindowEnabled(Child(id)) != FALSE) != enabled) return false;
        }
        return true;
    }
    HWND Open(const std::string& title) {
        WindowSpec shape;
        shape.title = title;
        const HWND window = app.Open(shape);
        EXPECT_NE(window, nullptr);
        return window;
    }
    SampleApp app;
};

TEST_F(HeaderTitle, AnEmptyHeaderHasNoTitleAndDisabledButtons) {
    EXPECT_EQ(TextOf(Title()), "");
    EXPECT_TRUE(ButtonsEnabled(false));
}

TEST_F(HeaderTitle, ShowsACapturedWindowsTitleFramedAndEnablesTheButtons) {
    CapturedWindow record(Open("メモ帳 - Sample"), displayArea_);

    header_.ShowTitle(&record);
    EXPECT_EQ(TextOf(Title()), "■[ メモ帳 - Sample ]");
    EXPECT_TRUE(ButtonsEnabled(true));

    header_.ShowTitle(nullptr);
    EXPECT_EQ(TextOf(Title()), "");
    EXPECT_TRUE(ButtonsEnabled(false));
}

TEST_F(HeaderTitle, KeepsItsTextWhenOnlyLetterCaseChangesAndFollowsARealChange) {
    const HWND window = Open("Mixed Case Title");
    CapturedWindow record(window, displayArea_);
    header_.ShowTitle(&record);
    ASSERT_EQ(TextOf(Title()), "■[ Mixed Case Title ]");

    ASSERT_TRUE(app.SetTitle(window, "MIXED case TITLE"));
    header_.ShowTitle(&record);
    EXPECT_EQ(TextOf(Title()), "■[ Mixed Case Title ]");

    ASSERT_TRUE(app.SetTitle(window, "Mixed Case Title 2"));
    header_.ShowTitle(&record);
    EXPECT_EQ(TextOf(Title()), "■[ Mixed Case Title 2 ]");
}

TEST_F(HeaderTitle, ALongTitleIsCutAt255BytesAndKeepsItsClosingBracket) {
    CapturedWindow record(Open(std::string(300, 'x')), displayArea_);
    header_.ShowTitle(&record);
    EXPECT_EQ(TextOf(Title()), "■[ " + std::string(255, 'x') + " ]");
}

// ---------------------------------------------------------------------------

class HeaderClicks : public HeaderFixture {
protected:
    void EnableButtons() {
        for (int id = cHeader::kCloseId; id <= cHeader::kMinimizeId; ++id) {
            EnableWindow(Child(id), TRUE);
        }
    }
    POINT TitlePoint() {
        RECT r{};
        GetWindowRect(Title(), &r);
        return {r.left + (r.right - r.left) / 3, (r.top + r.bottom) / 2};
    }
};

TEST_F(HeaderClicks, TheThreeButtonsReachTheTabControlAsCloseReleaseAndMinimise) {
    EnableButtons();
    size_t clicks = 0;
    for (int id : {cHeader::kCloseId, cHeader::kReleaseId, cHeader::kMinimizeId}) {
        ClickAt(CentreOnScreen(Child(id)));
        ++clicks;
        ASSERT_TRUE(WaitUntil([&] { return CommandsHeard().size() == clicks; })) << id;
    }
    EXPECT_EQ(CommandsHeard(), (std::vector<WPARAM>{kCloseTab, kReleaseTab, kMinimizeTab}));
    for (const Heard& h : g_heard) {
        if (h.message == WM_COMMAND) {
            EXPECT_EQ(h.lParam, 0);
        }
    }
}

TEST_F(HeaderClicks, AClickOnADisabledButtonIsAClickOnTheBar) {
    // A disabled window is skipped by hit-testing: the header gets the click.
    WaitOutDoubleClick(created_);
    ClickAt(CentreOnScreen(Child(cHeader::kCloseId)));
    ASSERT_TRUE(WaitUntil([] { return TimesHeard(PM_FOREGROUNDACTIVE) == 1; }));
    EXPECT_TRUE(CommandsHeard().empty());

    EnableButtons();
    WaitOutDoubleClick(timeGetTime());
    ClickAt(CentreOnScreen(Child(cHeader::kCloseId)));
    ASSERT_TRUE(WaitUntil([] { return !CommandsHeard().empty(); }));
    EXPECT_EQ(CommandsHeard(), std::vector<WPARAM>{kCloseTab});
    EXPECT_EQ(TimesHeard(PM_FOREGROUNDACTIVE), 1);
}

TEST_F(HeaderClicks, OnlyPlainClicksOfTheButtonsBecomeCommands) {
    const HWND release = Child(cHeader::kReleaseId);
    const LPARAM from = reinterpret_cast<LPARAM>(release);
    SendMessageA(header_.Window(), WM_COMMAND, MAKEWPARAM(cHeader::kReleaseId, BN_DOUBLECLICKED),
                 from);
    SendMessageA(header_.Window(), WM_COMMAND, MAKEWPARAM(cHeader::kTitleId, BN_CLICKED), 0);
    EXPECT_TRUE(CommandsHeard().empty()) << "a double click releases one window, not two";
    SendMessageA(header_.Window(), WM_COMMAND, MAKEWPARAM(cHeader::kReleaseId, BN_CLICKED), from);
    EXPECT_EQ(CommandsHeard(), std::vector<WPARAM>{kReleaseTab});
}

TEST_F(HeaderClicks, ASingleClickOnTheTitleBringsThePaneForward) {
    WaitOutDoubleClick(created_);
    ClickAt(TitlePoint());
    ASSERT_TRUE(WaitUntil([] { return TimesHeard(PM_FOREGROUNDACTIVE) == 1; }));
    EXPECT_TRUE(CommandsHeard().empty());
}

TEST_F(HeaderClicks, ADoubleClickOnTheTitleReleasesTheWindow) {
    WaitOutDoubleClick(created_);
    ClickAt(TitlePoint());
    ClickAt(TitlePoint());
    ASSERT_TRUE(WaitUntil([] { return !CommandsHeard().empty(); }));
    EXPECT_EQ(CommandsHeard(), std::vector<WPARAM>{kReleaseTab});
    EXPECT_TRUE(WaitUntil([] { return TimesHeard(PM_FOREGROUNDACTIVE) == 1; }))
        << "the first click of the two brings the pane forward";

    // A third click after the interval is a single click again.
    const DWORD second = timeGetTime();
    WaitOutDoubleClick(second);
    ClickAt(TitlePoint());
    ASSERT_TRUE(WaitUntil([] { return TimesHeard(PM_FOREGROUNDACTIVE) == 2; }));
    EXPECT_EQ(CommandsHeard().size(), 1u);
}

TEST_F(HeaderClicks, RightClicksGoOnToTheTabControlUnchanged) {
    const POINT at = TitlePoint();
    ClickAt(at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(WaitUntil([] { return TimesHeard(WM_RBUTTONDOWN) == 1; }));
    POINT inHeader = at;
    ScreenToClient(header_.Window(), &inHeader);
    for (const Heard& h : g_heard) {
        if (h.message != WM_RBUTTONDOWN) continue;
        EXPECT_EQ(static_cast<short>(LOWORD(h.lParam)), inHeader.x);
        EXPECT_EQ(static_cast<short>(HIWORD(h.lParam)), inHeader.y);
        EXPECT_EQ(h.wParam & MK_RBUTTON, static_cast<WPARAM>(MK_RBUTTON));
    }
}

TEST_F(HeaderClicks, ARightButtonNoticeFromAButtonGoesOnAndOthersDoNot) {
    const auto noticesFromHeader = [] {
        int n = 0;
        for (const Heard& h : g_heard) {
            n += h.message == WM_PARENTNOTIFY && h.lParam == MAKELPARAM(123, 7);
        }
        return n;
    };
    SendMessageA(header_.Window(), WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, 0),
                 MAKELPARAM(123, 7));
    EXPECT_EQ(noticesFromHeader(), 0);
    SendMessageA(header_.Window(), WM_PARENTNOTIFY, MAKEWPARAM(WM_RBUTTONDOWN, 0),
                 MAKELPARAM(123, 7));
    EXPECT_EQ(noticesFromHeader(), 1);
}

// ---------------------------------------------------------------------------

class HeaderColours : public HeaderFixture {};

TEST_F(HeaderColours, TheTitlePaintsInTheColoursOfTheActiveState) {
    ASSERT_NE(kActiveBack, GetSysColor(COLOR_ACTIVECAPTION));
    ASSERT_NE(kInactiveBack, GetSysColor(COLOR_INACTIVECAPTION));
    EXPECT_FALSE(header_.Active());
    ExpectTitleBack(kInactiveBack);
    header_.SetActive(true);
    EXPECT_TRUE(header_.Active());
    ExpectTitleBack(kActiveBack);
    header_.SetActive(false);
    ExpectTitleBack(kInactiveBack);
}

TEST_F(HeaderColours, NewColoursRepaintBothStates) {
    constexpr COLORREF back = RGB(90, 60, 200), otherBack = RGB(220, 200, 40);
    header_.SetColors(back, otherBack, RGB(1, 2, 3), RGB(4, 5, 6));
    EXPECT_EQ(header_.ActiveBack(), back);
    EXPECT_EQ(header_.InactiveBack(), otherBack);
    EXPECT_EQ(header_.ActiveText(), RGB(1, 2, 3));
    EXPECT_EQ(header_.InactiveText(), RGB(4, 5, 6));
    ExpectTitleBack(otherBack);
    header_.SetActive(true);
    ExpectTitleBack(back);
}

TEST_F(HeaderColours, TheTextTakesTheTextColourOfTheState) {
    SetWindowTextA(Title(), "■■■■■■");
    RECT r{};
    GetClientRect(Title(), &r);
    const auto shows = [&](COLORREF colour) {
        UpdateWindow(header_.Window());
        return WaitUntil([&] {
            for (COLORREF pixel : PixelsOf(Title(), r.right / 2, r.bottom)) {
                if (pixel == colour) return true;
            }
            return false;
        }, 2000);
    };
    EXPECT_TRUE(shows(kInactiveText));
    header_.SetActive(true);
    EXPECT_TRUE(shows(kActiveText));
}

TEST_F(HeaderColours, TheSameStateAgainDoesNotRepaint) {
    UpdateWindow(header_.Window());
    ASSERT_FALSE(GetUpdateRect(header_.Window(), nullptr, FALSE));
    header_.SetActive(false);
    EXPECT_FALSE(GetUpdateRect(header_.Window(), nullptr, FALSE));
    EXPECT_FALSE(GetUpdateRect(Title(), nullptr, FALSE));

    header_.SetActive(true);
    EXPECT_TRUE(GetUpdateRect(header_.Window(), nullptr, FALSE)) << "a change repaints";
    UpdateWindow(header_.Window());
    header_.SetActive(true);
    EXPECT_FALSE(GetUpdateRect(header_.Window(), nullptr, FALSE));
    EXPECT_FALSE(GetUpdateRect(Title(), nullptr, FALSE));
}

TEST_F(HeaderColours, TheFontGoesToTheTitle) {
    UniqueFont font(CreateFontA(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                                "MS UI Gothic"));
    header_.SetFont(static_cast<HFONT>(font.get()));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(Title(), WM_GETFONT, 0, 0)), font.get());
    header_.SetFont(nullptr);  // the font goes before the header does
}

// ---------------------------------------------------------------------------

class HeaderFaces : public HeaderFixture {
protected:
    void SetUp() override {
        HeaderFixture::SetUp();
        close_ = Child(cHeader::kCloseId);
        s_ = FaceHeight(LoadFace(IDI_CLOSE).get());
        ASSERT_GT(s_, 0);
    }
    std::vector<COLORREF> Shown(HWND button) {
        UpdateWindow(header_.Window());
        return PixelsOf(button, s_, s_);
    }
    bool Shows(HWND button, const std::vector<COLORREF>& expected) {
        UpdateWindow(header_.Window());
        return WaitUntil([&] { return Differences(PixelsOf(button, s_, s_), expected) == 0; },
                         2000);
    }
    HWND close_ = nullptr;
    int s_ = 0;
};

TEST_F(HeaderFaces, EachButtonShowsItsFaceAndItsPressedFaceWhenPushed) {
    const int ids[] = {cHeader::kCloseId, cHeader::kReleaseId, cHeader::kMinimizeId};
    const int faces[] = {IDI_CLOSE, IDI_RELEASE, IDI_MINIMIZE};
    for (int i = 0; i < 3; ++i) {
        const HWND button = Child(ids[i]);
        EnableWindow(button, TRUE);
        const std::vector<COLORREF> normal = FaceOnMenu(LoadFace(faces[i]).get(), s_);
        const std::vector<COLORREF> pressed = FaceOnMenu(LoadFace(faces[i] + 1).get(), s_);
        ASSERT_GT(Differences(normal, pressed), 0) << "the two faces differ";
        EXPECT_TRUE(Shows(button, normal)) << "button " << ids[i] << ": "
                                           << Differences(Shown(button), normal);
        SendMessageA(button, BM_SETSTATE, TRUE, 0);
        EXPECT_TRUE(Shows(button, pressed)) << "button " << ids[i] << " pushed: "
                                            << Differences(Shown(button), pressed);
        SendMessageA(button, BM_SETSTATE, FALSE, 0);
        EXPECT_TRUE(Shows(button, normal)) << "button " << ids[i] << " let go";
    }
}

TEST_F(HeaderFaces, ADisabledButtonShowsItsFaceGreyedOut) {
    const std::vector<COLORREF> normal = FaceOnMenu(LoadFace(IDI_CLOSE).get(), s_);
    const std::vector<COLORREF> disabled = Shown(close_);
    EXPECT_GT(Differences(disabled, normal), 0);
    const std::vector<COLORREF> blank(disabled.size(), GetSysColor(COLOR_MENU));
    EXPECT_GT(Differences(disabled, blank), 0) << "something is drawn";
}

TEST_F(HeaderFaces, AFaceLargerThanItsButtonKeepsItsSizeCentred) {
    EnableWindow(close_, TRUE);
    const RECT at = RectIn(close_, header_.Window());
    const int small = s_ - 6;
    MoveWindow(close_, at.left, at.top, small, small, TRUE);
    const std::vector<COLORREF> whole = FaceOnMenu(LoadFace(IDI_CLOSE).get(), s_);
    std::vector<COLORREF> middle;
    for (int y = 3; y < 3 + small; ++y) {
        for (int x = 3; x < 3 + small; ++x) middle.push_back(whole[y * s_ + x]);
    }
    UpdateWindow(header_.Window());
    EXPECT_TRUE(WaitUntil([&] {
        return Differences(PixelsOf(close_, small, small), middle) == 0;
    }, 2000)) << Differences(PixelsOf(close_, small, small), middle);
}

// ---------------------------------------------------------------------------

class HeaderWindow : public HeaderFixture {};

TEST_F(HeaderWindow, EachButtonHasItsTooltip) {
    const std::map<HWND, Tip> tips = TipsByTool();
    const std::pair<int, const char*> expected[] = {
        {cHeader::kCloseId, tab_texts::kHeaderCloseTip},
        {cHeader::kReleaseId, tab_texts::kHeaderReleaseTip},
        {cHeader::kMinimizeId, tab_texts::kHeaderMinimizeTip}};
    for (const auto& [id, text] : expected) {
        const auto found = tips.find(Child(id));
        ASSERT_NE(found, tips.end()) << "button " << id;
        const Tip& tip = found->second;
        EXPECT_EQ(tip.text, text) << "button " << id;
        EXPECT_TRUE(tip.style & TTS_ALWAYSTIP);
        EXPECT_EQ(tip.flags & (TTF_IDISHWND | TTF_SUBCLASS),
                  static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS));
        EXPECT_EQ(tip.maxWidth, 640);
        for (const auto& [otherId, otherText] : expected) {
            if (otherId != id) {
                EXPECT_NE(tips.at(Child(otherId)).tooltip, tip.tooltip);
            }
        }
    }
    EXPECT_EQ(tips.count(Title()), 0u) << "the title has no tooltip";
}

TEST_F(HeaderWindow, TheTooltipsGoWithTheHeader) {
    std::vector<HWND> tooltips;
    for (const auto& [tool, tip] : TipsByTool()) tooltips.push_back(tip.tooltip);
    ASSERT_EQ(tooltips.size(), 3u);
    header_.DestroyWindow();
    for (HWND tooltip : tooltips) EXPECT_FALSE(IsWindow(tooltip));
}

TEST_F(HeaderWindow, PropertiesAreSetAndTakenOffBeforeTheWindowGoes) {
    const HWND window = header_.Window();
    EXPECT_EQ(GetPropA(window, tab_ids::kHeaderProp), static_cast<void*>(&header_));
    EXPECT_EQ(GetPropA(window, tab_ids::kPaneProperty), static_cast<void*>(&paneStandIn_));
    EXPECT_EQ(header_.Pane(), &paneStandIn_);

    g_sawNcDestroy = false;
    g_headerProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HeaderSpy)));
    header_.DestroyWindow();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(header_.Window(), nullptr);
    ASSERT_TRUE(g_sawNcDestroy);
    EXPECT_EQ(g_ownPropAtNcDestroy, nullptr);
    EXPECT_EQ(g_panePropAtNcDestroy, nullptr);
}

TEST_F(HeaderWindow, CreatingAgainReplacesTheEarlierWindow) {
    const HWND first = header_.Window();
    ASSERT_TRUE(CreateIn(header_, GetModuleHandleA(nullptr)));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_NE(header_.Window(), nullptr);
    EXPECT_EQ(TipsByTool().size(), 3u) << "the earlier tooltips went with the earlier window";
    header_.Relayout();
    EXPECT_TRUE(PaintsAs(Title(), 5, 5, kInactiveBack)) << "its brushes came back";
}

TEST_F(HeaderWindow, WithoutItsFacesTheButtonsShowTheirBackground) {
    // The hook library is a module of ours that holds no faces.
    const HMODULE faceless = GetModuleHandleA("inputtap.dll");
    ASSERT_NE(faceless, nullptr);
    ASSERT_TRUE(cHeader::Init(faceless));
    header_.DestroyWindow();
    cHeader bare;
    ASSERT_TRUE(CreateIn(bare, faceless));
    bare.Relayout();
    const RECT at = RectIn(bare.Window(), tabControl_);
    EXPECT_EQ(at.bottom - at.top, 16) << "buttons of 16 when there is no face to measure";
    const HWND close = GetDlgItem(bare.Window(), cHeader::kCloseId);
    EnableWindow(close, TRUE);
    UpdateWindow(bare.Window());
    const std::vector<COLORREF> blank(16 * 16, GetSysColor(COLOR_MENU));
    EXPECT_TRUE(WaitUntil([&] { return Differences(PixelsOf(close, 16, 16), blank) == 0; },
                          2000)) << Differences(PixelsOf(close, 16, 16), blank);
}

}  // namespace
