// The delivered executable-folder tool, loaded by the real host and chosen
// from the real tool list: the folder of the program behind each pane's
// window goes to the shell, seen by routing the tool's import of
// ShellExecuteA to the test.
#include "plugins/host/tool_slots.h"

#include "tests/plugins/tool_test_support.h"
#include "tests/support/import_route.h"
#include "tests/support/open_menu.h"
#include "tests/support/pane_fixture.h"
#include "tests/support/sample_app.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>
#include <vector>

using testing_support::PaneTest;

namespace {

std::vector<std::string> g_opened;

HINSTANCE WINAPI SeeShellExecute(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT) {
    g_opened.push_back(file ? file : "");
    return reinterpret_cast<HINSTANCE>(42);  // success, nothing opened
}

class ExeFolderTest : public PaneTest {
protected:
    void SetUp() override {
        PaneTest::SetUp();
        ASSERT_TRUE(testing_support::InstallDeliveredTool(settings.Dir().Path(), "exefolder.ttl"));
        void* shellExecute = reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("shell32.dll"), "ShellExecuteA"));
        ASSERT_EQ(testing_support::RouteImport(GetModuleHandleA("exefolder.ttl"), "shell32.dll",
                                               shellExecute,
                                               reinterpret_cast<void*>(&SeeShellExecute)),
                  1);
        g_opened.clear();
    }
    testing_support::MenuItems ToolMenu() {
        UniqueMenu menu(CreatePopupMenu());
        AppendToolList(menu.get());
        return testing_support::ItemsOf(menu.get());
    }
};

TEST_F(ExeFolderTest, TheFolderOfEachPanesProgramGoesToTheShellAndEmptyPanesAreSkipped) {
    ASSERT_EQ(ToolMenu().size(), 1u);
    EXPECT_EQ(ToolMenu()[0].text, "実行ファイルのフォルダを開く");
    EXPECT_TRUE(ToolMenu()[0].grey) << "every pane empty";

    ASSERT_TRUE(Add(OpenWindow("held")));
    ASSERT_TRUE(Root().Split(true));  // the child pane holds no tab
    if (Root().Child()->TabCount() > 0) Root().Child()->ReleaseEveryWindow();
    EXPECT_FALSE(ToolMenu()[0].grey);

    testing_support::ChooseTool(Main(), 23);
    // The sample application runs from the folder of this test program.
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string expected(self);
    expected.resize(expected.find_last_of('\\') + 1);
    ASSERT_EQ(g_opened.size(), 1u) << "the empty pane is skipped";
    EXPECT_EQ(_stricmp(g_opened[0].c_str(), expected.c_str()), 0)
        << g_opened[0] << " against " << expected;
}

// The program's file is asked of the system, which names it for a process of
// either width; a 32-bit process cannot list a 64-bit one's modules.
class ExeFolderOfEitherWidth : public ExeFolderTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        const std::string why = testing_support::SampleAppUnavailable(GetParam());
        if (!why.empty()) GTEST_SKIP() << why;
        ExeFolderTest::SetUp();
    }
};

TEST_P(ExeFolderOfEitherWidth, OpensTheFolderOfTheProgram) {
    testing_support::SampleApp program(false, "", GetParam());
    testing_support::WindowSpec form;
    form.title = "幅";
    ASSERT_TRUE(Add(program.Open(form)));
    testing_support::ChooseTool(Main(), 23);
    std::string expected = testing_support::SampleAppPath(GetParam());
    expected.resize(expected.find_last_of('\\') + 1);
    ASSERT_EQ(g_opened.size(), 1u);
    EXPECT_EQ(_stricmp(g_opened[0].c_str(), expected.c_str()), 0)
        << g_opened[0] << " against " << expected;
}

INSTANTIATE_TEST_SUITE_P(Widths, ExeFolderOfEitherWidth, testing_support::kBothWidths,
                         testing_support::WidthName);

}  // namespace
