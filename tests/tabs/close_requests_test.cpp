// Close requests one after the other: at most one application's question on
// the screen at a time, each window asked only after the one before has been
// answered, and a hung application holding up nobody.
#include "tabs/close_requests.h"

#include "tests/support/sample_app.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <vector>

using testing_support::HandleText;
using testing_support::PumpFor;
using testing_support::SampleApp;
using testing_support::WaitUntil;
using testing_support::WindowSpec;

namespace {

class CloseRequestsTest : public ::testing::Test {
protected:
    HWND OpenAsking(const char* title) {
        WindowSpec form;
        form.title = title;
        const HWND window = app.Open(form);
        EXPECT_NE(window, nullptr) << title;
        EXPECT_TRUE(app.AskOnClose(window));
        return window;
    }
    bool Asked(HWND window) const { return app.Logged("question " + HandleText(window)); }

    SampleApp app;
};

TEST_F(CloseRequestsTest, OneQuestionAtATimeEachWindowClosingAfterItsAnswer) {
    const std::vector<HWND> windows{OpenAsking("first"), OpenAsking("second"),
                                    OpenAsking("third")};
    for (HWND window : windows) CloseRequests::Instance().Ask(window);
    for (size_t i = 0; i < windows.size(); ++i) {
        ASSERT_TRUE(WaitUntil([&] { return !app.Questions().empty(); })) << "question " << i;
        PumpFor(400);  // time enough for a second question, were one asked
        const std::vector<HWND> questions = app.Questions();
        ASSERT_EQ(questions.size(), 1u) << "while window " << i << " asks";
        EXPECT_TRUE(Asked(windows[i]));
        for (size_t later = i + 1; later < windows.size(); ++later) {
            EXPECT_FALSE(Asked(windows[later]))
                << later << " asked before " << i << " was answered";
        }
        EXPECT_FALSE(CloseRequests::Instance().Idle());
        SampleApp::Answer(questions[0]);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(windows[i]); })) << "closed once answered";
    }
    EXPECT_TRUE(WaitUntil([] { return CloseRequests::Instance().Idle(); }));
}

TEST_F(CloseRequestsTest, AHungApplicationHoldsUpNobody) {
    SampleApp hung(false);
    const HWND stuck = hung.Open(WindowSpec{});
    ASSERT_NE(stuck, nullptr);
    const HWND asking = OpenAsking("after the hung one");
    ASSERT_TRUE(hung.Hang(7000));
    // Hung as the system counts it: five seconds without taking a message.
    ASSERT_TRUE(WaitUntil([&] { return IsHungAppWindow(stuck) != FALSE; }, 15000));
    CloseRequests::Instance().Ask(stuck);
    CloseRequests::Instance().Ask(asking);
    EXPECT_TRUE(WaitUntil([&] { return !app.Questions().empty(); }, 3000))
        << "the next window waited for the hung application";
    for (HWND question : app.Questions()) SampleApp::Answer(question);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(asking); }));
    hung.End();
    EXPECT_TRUE(WaitUntil([] { return CloseRequests::Instance().Idle(); }, 15000));
}

}  // namespace
