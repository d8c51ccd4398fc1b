// Panes with real windows of another process: what is refused, the most
// recently used rule, the tab commands, what a pane asks of its host, and
// drag and drop.
#include "tabs/pane.h"

#include "base/base_ids.h"
#include "base/command_kinds.h"
#include "base/messages.h"
#include "inputtap/inputtap.h"
#include "settings/system_data.h"
#include "tabs/close_requests.h"
#include "tabs/split_bar.h"
#include "tests/support/on_screen.h"
#include "tests/support/open_menu.h"
#include "tests/support/test_pane_host.h"
#include "tests/support/wait.h"
#include "tests/support/window_snapshot.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>

using testing_support::HandleText;
using testing_support::MouseButton;
using testing_support::HostedPaneTest;
using testing_support::PlaceCursor;
using testing_support::PumpFor;
using testing_support::TabText;
using testing_support::WaitUntil;
using testing_support::WindowSpec;

namespace {

using Windows = std::vector<HWND>;

TEST_F(HostedPaneTest, RefusedWindowsChangeNothing) {
    const HWND plain = OpenWindow("plain");
    WindowSpec form;
    form.show = SW_HIDE;
    const HWND hidden = app.Open(form);
    form.show = SW_SHOWNORMAL;
    form.owner = plain;
    form.style = WS_POPUP | WS_CAPTION;
    const HWND owned = app.Open(form);
    form.owner = nullptr;
    form.parent = plain;
    form.style = WS_CHILD | WS_VISIBLE;
    const HWND child = app.Open(form);
    form.parent = nullptr;
    form.style = WS_OVERLAPPEDWINDOW;
    form.className = base_ids::kMainClassName;
    const HWND ownClass = app.Open(form);

    for (HWND refused : {hidden, owned, child, ownClass}) {
        const LONG style = GetWindowLongA(refused, GWL_STYLE);
        const HWND parent = GetAncestor(refused, GA_PARENT);
        EXPECT_FALSE(Add(refused));
        EXPECT_EQ(GetWindowLongA(refused, GWL_STYLE), style);
        EXPECT_EQ(GetAncestor(refused, GA_PARENT), parent);
    }
    EXPECT_EQ(Root().TabCount(), 0);

    ASSERT_TRUE(Add(plain));
    const LONG captured = GetWindowLongA(plain, GWL_STYLE);
    EXPECT_FALSE(Add(plain)) << "already held";
    EXPECT_EQ(GetWindowLongA(plain, GWL_STYLE), captured);
    EXPECT_EQ(Root().TabCount(), 1);
}

TEST_F(HostedPaneTest, CapturedWindowFillsTheDisplayAreaAndShowsOnlyWhenSelected) {
    const HWND a = OpenWindow("alpha");
    const HWND b = OpenWindow("beta");
    ASSERT_TRUE(Add(a));
    ASSERT_TRUE(Add(b));
    EXPECT_EQ(TabWindows(Root()), (Windows{a, b}));
    EXPECT_EQ(SelectedWindow(Root()), b);
    EXPECT_EQ(GetAncestor(a, GA_PARENT), Root().DisplayArea());
    RECT area{};
    GetClientRect(Root().DisplayArea(), &area);
    EXPECT_TRUE(WaitUntil([&] {
        RECT r{};
        GetWindowRect(b, &r);
        return r.right - r.left == area.right && r.bottom - r.top == area.bottom;
    })) << "sized to the display area";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(b) && !IsWindowVisible(a); }));

    Command(kSelectPrevTab);  // the tab to the left
    EXPECT_EQ(SelectedWindow(Root()), a);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(a) && !IsWindowVisible(b); }));
}

TEST_F(HostedPaneTest, TabDisappearsWhenItsApplicationDestroysTheWindow) {
    const HWND a = OpenWindow("alpha");
    const HWND b = OpenWindow("beta");
    Add(a);
    Add(b);
    ASSERT_TRUE(app.Destroy(b));
    EXPECT_TRUE(WaitUntil([&] { return Root().TabCount() == 1; }, 5000));
    EXPECT_EQ(TabWindows(Root()), (Windows{a}));
    EXPECT_EQ(SelectedWindow(Root()), a);
}

TEST_F(HostedPaneTest, PreviousAndNextWrapAround) {
    const HWND a = OpenWindow("a"), b = OpenWindow("b"), c = OpenWindow("c");
    Add(a), Add(b), Add(c);
    ASSERT_EQ(SelectedWindow(Root()), c);
    Command(kSelectNextTab);
    EXPECT_EQ(SelectedWindow(Root()), a) << "next after the last is the first";
    Command(kSelectPrevTab);
    EXPECT_EQ(SelectedWindow(Root()), c) << "previous before the first is the last";
    Command(kSelectPrevTab);
    EXPECT_EQ(SelectedWindow(Root()), b);
}

TEST_F(HostedPaneTest, RemovalSelectsTheMostRecentlyUsedTab) {
    struct Case {
        std::vector<DWORD> times;  // of tabs 0..3; tab 3 is selected and released
        int expected;
    };
    const Case cases[] = {
        {{100, 300, 200, 400}, 1},  // the most recent, not the neighbour
        {{300, 300, 300, 400}, 0},  // all equal: tab 0
        {{100, 300, 300, 400}, 2},  // equal later tabs: the highest index
        {{500, 300, 300, 400}, 0},
    };
    for (const Case& c : cases) {
        std::vector<HWND> w;
        for (const char* t : {"t0", "t1", "t2", "t3"}) {
            w.push_back(OpenWindow(t));
            ASSERT_TRUE(Add(w.back()));
        }
        for (int i = 0; i < 4; ++i) Root().RecordAt(i)->SetLastActivated(c.times[i]);
        ASSERT_EQ(Root().Selected(), 3);
        Command(kReleaseTab);
        EXPECT_TRUE(OnDesktop(w[3]));
        EXPECT_EQ(SelectedWindow(Root()), w[c.expected]) << "case expecting " << c.expected;
        Command(kReleaseAllTabs);  // release all before the next case
        ASSERT_EQ(Root().TabCount(), 0);
    }
}

// Four tabs, the third selected; which windows each command affects.
class PaneCommandTest : public HostedPaneTest {
protected:
    void SetUp() override {
        HostedPaneTest::SetUp();
        for (const char* t : {"k", "l", "m", "n"}) {
            w.push_back(OpenWindow(t));
            ASSERT_TRUE(Add(w.back()));
        }
        SendMessageA(Root().TabControl(), TCM_SETCURFOCUS, 2, 0);
        ASSERT_EQ(SelectedWindow(Root()), w[2]);
    }
    // The indices of the four windows for which holds() is true.
    std::vector<int> Which(const std::function<bool(HWND)>& holds) {
        std::vector<int> out;
        for (int i = 0; i < 4; ++i) {
            if (holds(w[i])) out.push_back(i);
        }
        return out;
    }
    Windows w;
};

// Every window refuses to close, so that its tab stays and can be counted.
struct CommandCase {
    const char* name;
    unsigned id;
    bool releaseBeforeClose;
    std::vector<int> released, iconic, closeRequested, tabsLeft;
};

void PrintTo(const CommandCase& c, std::ostream* out) { *out << c.name; }

const CommandCase kCommands[] = {
    {"ReleaseSelected", kReleaseTab, false, {2}, {}, {}, {0, 1, 3}},
    {"MinimiseSelected", kMinimizeTab, false, {2}, {2}, {}, {0, 1, 3}},
    {"CloseSelected", kCloseTab, false, {}, {}, {2}, {0, 1, 2, 3}},
    {"ReleaseAndMinimiseAll", kMinimizeAllTabs, false, {0, 1, 2, 3}, {0, 1, 2, 3}, {}, {}},
    {"ReleaseLeft", kReleaseLeftTabs, false, {0, 1}, {}, {}, {2, 3}},
    {"MinimiseLeft", kMinimizeLeftTabs, false, {0, 1}, {0, 1}, {}, {2, 3}},
    {"CloseLeft", kCloseLeftTabs, false, {}, {}, {0, 1}, {0, 1, 2, 3}},
    {"CloseLeftReleasingFirst", kCloseLeftTabs, true, {0, 1}, {}, {0, 1}, {2, 3}},
    {"ReleaseRight", kReleaseRightTabs, false, {3}, {}, {}, {0, 1, 2}},
    {"MinimiseRight", kMinimizeRightTabs, false, {3}, {3}, {}, {0, 1, 2}},
    {"CloseRight", kCloseRightTabs, false, {}, {}, {3}, {0, 1, 2, 3}},
};

class PaneCommandCase : public PaneCommandTest,
                        public ::testing::WithParamInterface<CommandCase> {};

TEST_P(PaneCommandCase, AffectsItsWindowsOnly) {
    const CommandCase& c = GetParam();
    GetSystemData().releaseBeforeClose = c.releaseBeforeClose;
    for (HWND h : w) app.RefuseClose(h);
    Command(c.id);
    // Close requests go out one after the other, without the pane waiting.
    ASSERT_TRUE(WaitUntil([] { return CloseRequests::Instance().Idle(); }));
    EXPECT_EQ(Which([&](HWND h) { return OnDesktop(h); }), c.released);
    EXPECT_EQ(Which([](HWND h) { return IsIconic(h) != FALSE; }), c.iconic);
    EXPECT_EQ(Which([&](HWND h) { return app.Logged("close " + HandleText(h)); }),
              c.closeRequested);
    const Windows tabs = TabWindows(Root());
    EXPECT_EQ(Which([&](HWND h) { return std::count(tabs.begin(), tabs.end(), h) > 0; }),
              c.tabsLeft);
}

INSTANTIATE_TEST_SUITE_P(Commands, PaneCommandCase, ::testing::ValuesIn(kCommands),
                         [](const ::testing::TestParamInfo<CommandCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(PaneCommandTest, CloseAll) {
    Command(kCloseAllTabs);
    EXPECT_TRUE(WaitUntil([&] { return Root().TabCount() == 0; }));
    for (HWND h : w) EXPECT_FALSE(IsWindow(h));
}

TEST_F(PaneCommandTest, CommandsOnAnEmptyPaneDoNothingButSplit) {
    Command(kReleaseAllTabs);
    ASSERT_EQ(Root().TabCount(), 0);
    // The windows just given back, as they are now: no command of the empty
    // pane may reach them.
    std::vector<testing_support::WindowSnapshot> before;
    for (HWND h : w) before.push_back(testing_support::TakeSnapshot(app, h));
    for (unsigned id = kSelectPrevTab; id <= kUnsplit; ++id) {
        if (id >= kAddAllWindows && id <= kWatchOff) continue;  // the main window's
        EXPECT_EQ(Command(id), 1) << id;
    }
    ASSERT_TRUE(WaitUntil([] { return CloseRequests::Instance().Idle(); }));
    EXPECT_EQ(Root().TabCount(), 0);
    EXPECT_EQ(Root().Child(), nullptr) << "nothing to unsplit";
    for (size_t i = 0; i < w.size(); ++i) {
        EXPECT_TRUE(OnDesktop(w[i])) << i;
        testing_support::ExpectSameSnapshot(before[i], testing_support::TakeSnapshot(app, w[i]));
        EXPECT_FALSE(app.Logged("close " + HandleText(w[i]))) << i;
    }
    // An empty pane splits all the same.
    EXPECT_EQ(Command(kSplitLeftRight), 1);
    ASSERT_NE(Root().SplitBar(), nullptr);
    EXPECT_FALSE(Root().SplitBar()->IsHorizontal());
    EXPECT_EQ(Command(kSplitTopBottom), 1);
    EXPECT_TRUE(Root().SplitBar()->IsHorizontal());
    EXPECT_EQ(Root().Child()->TabCount(), 0);
}

// Drag and drop within the pane: K L M N.
class PaneDragTest : public PaneCommandTest {
protected:
    void Drag(int from, int to, bool swap) {
        GetSystemData().dragSwapTabs = swap;
        SendMessageA(Main(), PM_APPLYSETTINGS, 0, 0);
        SendMessageA(Root().TabControl(), TCM_SETCURFOCUS, from, 0);
        Root().DropTab(from, TabCentre(Root(), to));
    }
};

struct DropCase {
    const char* name;
    int from, to;
    bool swap;
    int order[4];  // of K L M N after the drop
    int selected;
};

// Named in test output by its name, not its bytes.
void PrintTo(const DropCase& c, std::ostream* out) { *out << c.name; }

const DropCase kDrops[] = {
    {"MoveKOntoM", 0, 2, false, {1, 0, 2, 3}, 1},
    {"MoveNOntoL", 3, 1, false, {0, 3, 1, 2}, 1},
    {"SwapKAndM", 0, 2, true, {2, 1, 0, 3}, 2},
};

class PaneDropTest : public PaneDragTest, public ::testing::WithParamInterface<DropCase> {};

TEST_P(PaneDropTest, ReordersTheTabs) {
    const DropCase& c = GetParam();
    Drag(c.from, c.to, c.swap);
    EXPECT_EQ(TabWindows(Root()), (Windows{w[c.order[0]], w[c.order[1]], w[c.order[2]],
                                           w[c.order[3]]}));
    EXPECT_EQ(Root().Selected(), c.selected);
}

INSTANTIATE_TEST_SUITE_P(Drops, PaneDropTest, ::testing::ValuesIn(kDrops),
                         [](const ::testing::TestParamInfo<DropCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(PaneDragTest, DroppingOnItselfOrOnAWindowOfTheProgramThatIsNoPaneChangesNothing) {
    Drag(1, 1, false);
    EXPECT_EQ(TabWindows(Root()), w);
    RECT frame{};
    GetWindowRect(Main(), &frame);
    const POINT caption{frame.left + 60, frame.top + 8};
    ASSERT_EQ(GetAncestor(WindowFromPoint(caption), GA_ROOT), Main());
    Root().DropTab(1, caption);
    EXPECT_EQ(TabWindows(Root()), w);
}

TEST_F(PaneDragTest, RealMouseDragMovesTheTab) {
    GetSystemData().dragSwapTabs = 0;
    SendMessageA(Main(), PM_APPLYSETTINGS, 0, 0);
    SetForegroundWindow(Main());
    const POINT from = TabCentre(Root(), 0);
    const POINT to = TabCentre(Root(), 2);
    // The wheel hook is a low-level mouse hook: the pointer moves by
    // SetCursorPos only.
    ASSERT_TRUE(PlaceCursor(from));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    SetCursorPos((from.x + to.x) / 2, from.y);
    SetCursorPos(to.x, to.y);
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitUntil([&] { return TabWindows(Root()) == Windows{w[1], w[0], w[2], w[3]}; }))
        << "the order is now L K M N";
}

TEST_F(PaneCommandTest, FilesDroppedOnAnotherTabSelectItAndReachItsWindow) {
    // Where the drop lands, in the tab control's client coordinates.
    RECT tab{};
    SendMessageA(Root().TabControl(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
    const char files[] = "C:\\report.txt\0";
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + sizeof files);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = {(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2};
    memcpy(drop + 1, files, sizeof files);
    GlobalUnlock(block);
    SendMessageA(Root().TabControl(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    EXPECT_EQ(SelectedWindow(Root()), w[0]) << "the tab under the drop is selected first";
    const std::string prefix = "dropmsg " + HandleText(w[0]) + " ";
    EXPECT_TRUE(WaitUntil([&] {
        for (const auto& line : app.Log()) {
            if (line.compare(0, prefix.size(), prefix) == 0) return true;
        }
        return false;
    })) << "the drop reaches the window of that tab";
}

TEST_F(HostedPaneTest, FilesDroppedReachTheWindowAndEveryWindowInsideItWhenAsked) {
    const HWND window = OpenWindow("with children");
    WindowSpec form;
    form.parent = window;
    form.style = WS_CHILD | WS_VISIBLE;
    form.x = form.y = 10;
    form.width = form.height = 50;
    const HWND child = app.Open(form);
    form.parent = child;
    const HWND grandchild = app.Open(form);
    ASSERT_TRUE(child && grandchild);
    ASSERT_TRUE(Add(window));
    GetSystemData().dropToActiveChild = 0;
    GetSystemData().dropToAllChildren = 1;
    SendMessageA(Main(), PM_APPLYSETTINGS, 0, 0);

    const char files[] = "C:\\notes.txt\0";
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + sizeof files);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = {2, 2};
    memcpy(drop + 1, files, sizeof files);
    GlobalUnlock(block);
    SendMessageA(Root().TabControl(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    for (HWND reached : {window, child, grandchild}) {
        const std::string prefix = "dropmsg " + HandleText(reached) + " ";
        EXPECT_TRUE(WaitUntil([&] {
            for (const auto& line : app.Log()) {
                if (line.compare(0, prefix.size(), prefix) == 0) return true;
            }
            return false;
        })) << HandleText(reached);
    }
}

// A right press makes its pane the active one and asks the host for that
// pane's menu; the pane carries out its own commands and passes any other
// to the host, for itself, once.
TEST_F(HostedPaneTest, APanesMenuChoiceActsOnThatPaneAndTheRestGoesToTheHostOnce) {
    using Asked = testing_support::TestPaneHost::Asked;
    HWND upper = nullptr, lower = nullptr;
    ASSERT_TRUE(SplitWithOneWindowEach(&upper, &lower));
    cTab& child = *Root().Child();
    const auto rightPress = [&](cTab& pane) {
        POINT at = TabCentre(pane, 0);
        ScreenToClient(pane.TabControl(), &at);
        SendMessageA(pane.TabControl(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    };

    host.menuChoice = kReleaseTab;
    rightPress(child);
    EXPECT_EQ(ActivePane(), &child);
    EXPECT_TRUE(OnDesktop(lower));
    EXPECT_EQ(TabWindows(Root()), (Windows{upper}));
    ASSERT_EQ(host.requests.size(), 1u);
    EXPECT_EQ(host.requests[0].what, Asked::TabMenu);
    EXPECT_EQ(host.requests[0].pane, &child);

    host.requests.clear();
    host.menuChoice = kSettings;
    rightPress(Root());
    EXPECT_EQ(ActivePane(), &Root());
    ASSERT_EQ(host.requests.size(), 2u);
    EXPECT_EQ(host.requests[1].what, Asked::Command);
    EXPECT_EQ(host.requests[1].pane, &Root());
    EXPECT_EQ(host.requests[1].id, static_cast<unsigned>(kSettings));
    EXPECT_EQ(TabWindows(Root()), (Windows{upper}));
}

TEST_F(HostedPaneTest, HeaderShowsTheSelectedTitleAndItsDoubleClickReleases) {
    const HWND a = OpenWindow("Alpha Title");
    Add(a);
    const HWND header = Root().Header().Window();
    const auto title = [&] {
        char text[300] = "";
        GetDlgItemTextA(header, cHeader::kTitleId, text, sizeof text);
        return std::string(text);
    };
    EXPECT_EQ(title(), "■[ Alpha Title ]");
    app.SetTitle(a, "ALPHA TITLE");
    PumpFor(300);  // several refreshes
    EXPECT_EQ(title(), "■[ Alpha Title ]") << "a change of letter case only is not shown";
    app.SetTitle(a, "Beta");
    EXPECT_TRUE(WaitUntil([&] { return title() == "■[ Beta ]"; }));

    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    EXPECT_TRUE(OnDesktop(a)) << "a double click releases";
    EXPECT_EQ(Root().TabCount(), 0);
    for (int id : {cHeader::kCloseId, cHeader::kReleaseId, cHeader::kMinimizeId}) {
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(header, id))) << id;
    }
}

TEST_F(HostedPaneTest, ApplyingSettingsGivesEveryPaneItsLook) {
    Add(OpenWindow("one"));
    Add(OpenWindow("two"));
    SystemData& settings = GetSystemData();
    settings.tabStyle = TCS_BOTTOM | TCS_FIXEDWIDTH;
    settings.tabExStyle = WS_EX_CLIENTEDGE;
    settings.fixedTabWidth = 150;
    settings.dropToActiveChild = 0;
    settings.dropToAllChildren = 0;
    settings.headerExStyle = 0;
    SendMessageA(Main(), PM_APPLYSETTINGS, 0, 0);
    const HWND tabs = Root().TabControl();
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(tabs, GWL_STYLE)),
              static_cast<DWORD>(TCS_BOTTOM | TCS_FIXEDWIDTH | 0x52010020));
    EXPECT_EQ(GetWindowLongA(tabs, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES),
              WS_EX_CLIENTEDGE) << "no drops accepted while both drop options are off";
    RECT item{};
    SendMessageA(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.right - item.left, 150);
    EXPECT_EQ(Root().Header().ExStyle() & WS_EX_CLIENTEDGE, 0u);
    const HIMAGELIST icons =
        reinterpret_cast<HIMAGELIST>(SendMessageA(tabs, TCM_GETIMAGELIST, 0, 0));
    ASSERT_NE(icons, nullptr);
    for (int i = 0; i < 2; ++i) {
        TCITEMA tab{};
        tab.mask = TCIF_IMAGE;
        SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&tab));
        EXPECT_GE(tab.iImage, 0) << "tab " << i << " shows an icon";
        EXPECT_LT(tab.iImage, ImageList_GetImageCount(icons));
    }

    settings.dropToAllChildren = 1;
    settings.showTabIcons = 0;
    SendMessageA(Main(), PM_APPLYSETTINGS, 0, 0);
    EXPECT_TRUE(GetWindowLongA(tabs, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETIMAGELIST, 0, 0), 0) << "no icons without showTabIcons";
    EXPECT_EQ(TabText(tabs, 1), "two");
}

TEST_F(HostedPaneTest, TabTextsAreCutToTheSetLength) {
    GetSystemData().tabTextLength = 5;
    Add(OpenWindow("abcdefghij"));
    EXPECT_EQ(TabText(Root().TabControl(), 0), "abcd") << "at most tabTextLength - 1 characters";
}

}  // namespace
