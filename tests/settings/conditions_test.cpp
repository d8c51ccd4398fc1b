// Window conditions: the class list's file rules, and CanAddWindow decided
// on real windows of another process.
#include "settings/conditions.h"

#include "settings/settings_ids.h"
#include "settings/system_data.h"
#include "tests/support/fresh_settings.h"
#include "tests/support/sample_app.h"

#include <gtest/gtest.h>

using testing_support::FreshSettings;
using testing_support::ReadFileText;
using testing_support::SampleApp;
using testing_support::WindowSpec;
using testing_support::WriteFileText;

namespace {

std::vector<std::string> Names(const cClassList& list) {
    std::vector<std::string> names;
    for (size_t i = 0; i < list.Size(); ++i) names.push_back(list.At(i));
    return names;
}

using Strings = std::vector<std::string>;

TEST(ClassList, KeepsDistinctNamesIgnoringCaseInOrder) {
    cClassList list;
    EXPECT_FALSE(list.Add(nullptr));
    EXPECT_FALSE(list.Add(""));
    EXPECT_TRUE(list.Add("Notepad"));
    EXPECT_TRUE(list.Add(settings_ids::kDefaultRemoveClass1));
    EXPECT_FALSE(list.Add("NOTEPAD"));
    EXPECT_TRUE(list.Contains("progMAN"));
    EXPECT_FALSE(list.Contains("Prog"));
    EXPECT_EQ(Names(list), (Strings{"Notepad", settings_ids::kDefaultRemoveClass1}));
    EXPECT_TRUE(list.Add(std::string(300, 'a').c_str()));
    EXPECT_EQ(list.At(2).size(), 255u) << "names are at most 255 characters";
}

class ClassListFile : public ::testing::Test {
protected:
    FreshSettings settings;
    std::string ini = settings.SystemIni();
    cClassList list;
};

TEST_F(ClassListFile, ReadingStopsAtAMissingNameADuplicateOrSize) {
    const struct {
        const char* file;
        bool read;
        Strings names;
    } cases[] = {
        {"SIZE=3\r\nCLASS0=Alpha\r\nCLASS2=Gamma\r\n", true, {"Alpha"}},
        {"SIZE=3\r\nCLASS0=Alpha\r\nCLASS1=ALPHA\r\nCLASS2=Gamma\r\n", false, {"Alpha"}},
        {"SIZE=1\r\nCLASS0=Alpha\r\nCLASS1=Beta\r\n", true, {"Alpha"}},
        // A SIZE that is not a number reads as 0.
        {"SIZE=many\r\nCLASS0=Alpha\r\n", true, {}},
    };
    for (const auto& c : cases) {
        WriteFileText(ini, std::string("[S]\r\n") + c.file);
        list.Add("Old");  // the list is cleared first
        EXPECT_EQ(list.Read(ini.c_str(), "S"), c.read) << c.file;
        EXPECT_EQ(Names(list), c.names) << c.file;
    }
}

TEST_F(ClassListFile, SavingTwoNamesOverFiveLeavesTheRestUnread) {
    WriteFileText(ini,
                  "[S]\r\nSIZE=5\r\nCLASS0=A\r\nCLASS1=B\r\nCLASS2=C\r\nCLASS3=D\r\nCLASS4=E\r\n");
    list.Add("X");
    list.Add("Y");
    ASSERT_TRUE(list.Write(ini.c_str(), "S"));
    const std::string text = ReadFileText(ini);
    EXPECT_NE(text.find("SIZE=2"), std::string::npos);
    EXPECT_NE(text.find("CLASS4=E"), std::string::npos) << "saving does not delete keys";
    cClassList back;
    back.Read(ini.c_str(), "S");
    EXPECT_EQ(Names(back), (Strings{"X", "Y"}));
}

TEST_F(ClassListFile, ConditionKeysAreWrittenInTheirOrder) {
    cWndCondition condition;
    condition.styleOn = true;
    condition.styleMask = 0x80000000u;
    condition.classOn = false;
    condition.classes.Add("Alpha");
    condition.Write(ini.c_str(), settings_ids::kAddConditionSection);
    EXPECT_EQ(ReadFileText(ini),
              "[ADDWNDCONDITION]\r\nSTYLEFLAG=1\r\nSTYLE=2147483648\r\nCLASSFLAG=0\r\n"
              "SIZE=1\r\nCLASS0=Alpha\r\n");

    cWndCondition back;
    back.Read(ini.c_str(), settings_ids::kAddConditionSection);
    EXPECT_TRUE(back.styleOn);
    EXPECT_FALSE(back.classOn);
    EXPECT_EQ(back.styleMask, 0x80000000u);
    EXPECT_EQ(Names(back.classes), (Strings{"Alpha"}));
}

TEST(ClassListBox, ListBoxRoundTripDropsDuplicatesAndSelectsTheFirst) {
    HWND box = CreateWindowExA(0, "LISTBOX", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                               nullptr, nullptr);
    ASSERT_NE(box, nullptr);
    for (const char* text : {"Beta", "Alpha", "ALPHA"}) {
        SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    cClassList list;
    list.FromListBox(box);
    EXPECT_EQ(Names(list), (Strings{"Beta", "Alpha"}));
    list.ToListBox(box);
    EXPECT_EQ(SendMessageA(box, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(box, LB_GETCURSEL, 0, 0), 0);
    DestroyWindow(box);
}

// CanAddWindow on windows of a separate process.
class CanAddWindowTest : public ::testing::Test {
protected:
    void SetUp() override { SetDefaultConditions(); }

    HWND Open(const char* className, DWORD style = WS_OVERLAPPEDWINDOW, HWND owner = nullptr,
              HWND parent = nullptr) {
        WindowSpec form;
        form.className = className;
        form.style = style;
        form.owner = owner;
        form.parent = parent;
        HWND window = app.Open(form);
        EXPECT_NE(window, nullptr) << className;
        return window;
    }

    FreshSettings settings;
    SampleApp app{false};
};

TEST_F(CanAddWindowTest, DefaultConditionsTakeOrdinaryWindowsOnly) {
    const HWND plain = Open("SampleFrame");
    EXPECT_TRUE(CanAddWindow(plain));
    EXPECT_FALSE(CanAddWindow(Open("SampleFrame", WS_OVERLAPPEDWINDOW, plain))) << "owned";
    EXPECT_FALSE(CanAddWindow(Open("SampleChild", WS_CHILD | WS_VISIBLE, nullptr, plain)))
        << "child";
    // Class names are one per process whatever their case, so each spelling
    // here is the only one of its name in the sample application.
    EXPECT_FALSE(CanAddWindow(Open("PanelryClass"))) << "the main window's own class";
    EXPECT_FALSE(CanAddWindow(Open("ideOWNER")));
    EXPECT_FALSE(CanAddWindow(Open(settings_ids::kDefaultRemoveClass1)));
    EXPECT_FALSE(CanAddWindow(Open(settings_ids::kDefaultRemoveClass2)));
    EXPECT_FALSE(CanAddWindow(nullptr));
}

TEST_F(CanAddWindowTest, IdeOwnerIsRefusedEvenWhenAddConditionsComeFirst) {
    GetSystemData().addConditionFirst = 1;
    AddConditions().classOn = true;
    AddConditions().classes.Add(settings_ids::kExcludedClass);
    EXPECT_FALSE(CanAddWindow(Open(settings_ids::kExcludedClass)));
}

TEST_F(CanAddWindowTest, ClassNamesMatchIgnoringCase) {
    RemoveConditions().classes.Add("SAMPLEFRAME");
    EXPECT_FALSE(CanAddWindow(Open("SampleFrame")));
    EXPECT_TRUE(CanAddWindow(Open("OtherFrame")));
}

TEST_F(CanAddWindowTest, PopupStyleMaskTakesEveryPopup) {
    RemoveConditions().Reset();
    AddConditions().styleOn = true;
    AddConditions().styleMask = WS_POPUP;
    EXPECT_TRUE(CanAddWindow(Open("SampleFrame", WS_POPUP | WS_CAPTION)));
    EXPECT_TRUE(CanAddWindow(Open("SampleFrame", WS_POPUP)));
    EXPECT_FALSE(CanAddWindow(Open("SampleFrame", WS_OVERLAPPEDWINDOW)));
}

TEST_F(CanAddWindowTest, AnAddClassCriterionWithNoNamesTakesNothing) {
    AddConditions().classOn = true;
    EXPECT_FALSE(CanAddWindow(Open("SampleFrame")));
}

TEST_F(CanAddWindowTest, BothSetsOffTakeEveryUnownedTopLevelWindow) {
    RemoveConditions().Reset();
    EXPECT_TRUE(CanAddWindow(Open(settings_ids::kDefaultRemoveClass1)));
    EXPECT_TRUE(CanAddWindow(Open("SampleFrame", WS_POPUP)));
}

TEST_F(CanAddWindowTest, PriorityDecidesAWindowMatchingBothSets) {
    AddConditions().classOn = true;
    AddConditions().classes.Add("SampleFrame");
    RemoveConditions().styleOn = true;
    RemoveConditions().styleMask = WS_CAPTION;
    const HWND both = Open("SampleFrame");

    GetSystemData().addConditionFirst = 1;
    EXPECT_TRUE(CanAddWindow(both));
    GetSystemData().addConditionFirst = 0;
    EXPECT_FALSE(CanAddWindow(both));
}

}  // namespace
