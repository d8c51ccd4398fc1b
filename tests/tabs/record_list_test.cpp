// A pane's records: captured and held, handed over to another pane or given
// back when they leave, sized and shown together.
#include "tabs/record_list.h"

#include "tests/support/strip_fixture.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

using testing_support::StripTest;
using testing_support::WaitUntil;
using testing_support::WindowSpec;

namespace {

class RecordListTest : public StripTest {
protected:
    HWND OpenWindow(const char* title) {
        WindowSpec form;
        form.title = title;
        const HWND window = app.Open(form);
        EXPECT_NE(window, nullptr) << title;
        return window;
    }
    static bool OnDesktop(HWND window) {
        return GetAncestor(window, GA_PARENT) == GetDesktopWindow();
    }

    RecordList list;
};

TEST_F(RecordListTest, ACapturedWindowIsHeldUntilItsRecordLeavesAndGoes) {
    const HWND window = OpenWindow("held");
    const CapturedWindow* record = list.Capture(window, DisplayArea());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(GetAncestor(window, GA_PARENT), DisplayArea());
    EXPECT_TRUE(list.Holds(window));
    EXPECT_EQ(list.Size(), 1u);

    std::unique_ptr<CapturedWindow> taken = list.Take(record);
    ASSERT_EQ(taken.get(), record);
    EXPECT_FALSE(list.Holds(window));
    EXPECT_FALSE(OnDesktop(window)) << "still captured while the record lives";
    EXPECT_EQ(list.Take(record), nullptr) << "taken once";
    taken.reset();
    EXPECT_TRUE(OnDesktop(window));
}

TEST_F(RecordListTest, AnotherPaneAdoptsARecordAndClearingGivesEveryWindowBack) {
    const HWND first = OpenWindow("first"), second = OpenWindow("second");
    const CapturedWindow* moved = list.Capture(first, DisplayArea());
    list.Capture(second, DisplayArea());
    RecordList other;
    other.Adopt(list.Take(moved));
    other.Adopt(nullptr);
    EXPECT_TRUE(other.Holds(first));
    EXPECT_EQ(other.Size(), 1u);
    EXPECT_FALSE(list.Holds(first));

    list.Clear();
    other.Clear();
    EXPECT_TRUE(OnDesktop(first));
    EXPECT_TRUE(OnDesktop(second));
    EXPECT_EQ(list.Size(), 0u);
}

TEST_F(RecordListTest, ContainsKnowsItsOwnRecordsByAddressOnly) {
    const HWND a = OpenWindow("a"), b = OpenWindow("b");
    const CapturedWindow* first = list.Capture(a, DisplayArea());
    const CapturedWindow* second = list.Capture(b, DisplayArea());
    EXPECT_TRUE(list.Contains(first));
    EXPECT_TRUE(list.Contains(second));
    EXPECT_FALSE(list.Contains(nullptr));
    list.Take(first);  // deleted here
    EXPECT_FALSE(list.Contains(first)) << "asked after its record went";
    EXPECT_EQ(list.At(0), second);
}

}  // namespace
