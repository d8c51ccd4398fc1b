// The condition pages of the settings dialog in the real dialog of the real
// main window: the priority page, the two style pages and the two class-name
// pages, each bound to its own condition set. What they show at opening,
// what OK stores and drops, what cancelling leaves, and what the decision on
// a real window of another application makes of the result.
#include "settings/conditions.h"
#include "settings/dialog/conditions_page_ids.h"
#include "settings/dialog/style_page_ids.h"
#include "settings/system_data.h"
#include "tests/settings/dialog/class_page_fixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using testing_support::ClassPageTest;
using testing_support::Press;

namespace {

struct StyleBox {
    int id;
    const char* label;
    std::uint32_t bit;
};
const StyleBox kStyleBoxes[] = {
    {IDC_STYLE_POPUP, "WS_POPUP", 0x80000000},
    {IDC_STYLE_THICKFRAME, "WS_THICKFRAME", 0x00040000},
    {IDC_STYLE_VSCROLL, "WS_VSCROLL", 0x00200000},
    {IDC_STYLE_HSCROLL, "WS_HSCROLL", 0x00100000},
    {IDC_STYLE_SYSMENU, "WS_SYSMENU", 0x00080000},
    {IDC_STYLE_BORDER, "WS_BORDER", 0x00800000},
    {IDC_STYLE_DLGFRAME, "WS_DLGFRAME", 0x00400000},
    {IDC_STYLE_MAXIMIZEBOX, "WS_MAXIMIZEBOX", 0x00010000},
    {IDC_STYLE_MINIMIZEBOX, "WS_MINIMIZEBOX", 0x00020000},
};

// A page design bound to one of the two sets.
struct Binding {
    int page;
    const char* label;
    cWndCondition& (*set)();
    cWndCondition& (*other)();
};
const Binding kStylePages[] = {
    {testing_support::kAddStylesPage, "追加するスタイル", &AddConditions, &RemoveConditions},
    {testing_support::kRemoveStylesPage, "排除するスタイル", &RemoveConditions, &AddConditions},
};
const Binding kClassPages[] = {
    {testing_support::kAddClassesPage, "追加するレジスタクラス", &AddConditions, &RemoveConditions},
    {testing_support::kRemoveClassesPage, "排除するレジスタクラス", &RemoveConditions,
     &AddConditions},
};

std::vector<std::string> StoredNames(const cWndCondition& set) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < set.classes.Size(); ++i) names.push_back(set.classes.At(i));
    return names;
}

class ConditionPagesTest : public ClassPageTest {
protected:
    static std::vector<std::string> CheckedStyles(HWND page) {
        std::vector<std::string> labels;
        for (const StyleBox& box : kStyleBoxes) {
            if (IsChecked(page, box.id)) labels.push_back(box.label);
        }
        return labels;
    }
    static int EnabledStyleBoxes(HWND page) {
        int enabled = 0;
        for (const StyleBox& box : kStyleBoxes) enabled += IsWindowEnabled(GetDlgItem(page, box.id)) ? 1 : 0;
        return enabled;
    }
    static bool ClassControlsEnabled(HWND page, bool on) {
        for (int id : {IDC_CLASSES_LIST, IDC_CLASSES_ADD, IDC_CLASSES_DELETE}) {
            if ((IsWindowEnabled(GetDlgItem(page, id)) != FALSE) != on) return false;
        }
        return true;
    }
    static RECT RectInPage(HWND page, int id) {
        RECT r{};
        GetWindowRect(GetDlgItem(page, id), &r);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
};

// ---- Style pages -------------------------------------------------------------

TEST_F(ConditionPagesTest, StylePagesShowTheirOwnSetsMaskAndStoreOnlyTheCheckedBits) {
    for (const Binding& binding : kStylePages) {
        SCOPED_TRACE(binding.label);
        binding.set().styleOn = true;
        binding.set().styleMask = 0x00010000;
        binding.other().styleOn = false;
        binding.other().styleMask = 0x80000000 | 0x00800000;

        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            const HWND page = ShowPage(dialog, binding.page, binding.label);
            EXPECT_TRUE(IsChecked(page, IDC_STYLES_ENABLED));
            EXPECT_EQ(CheckedStyles(page), std::vector<std::string>{"WS_MAXIMIZEBOX"});
            EXPECT_EQ(EnabledStyleBoxes(page), 9);
            SetChecked(page, IDC_STYLE_MAXIMIZEBOX, false);
            SetChecked(page, IDC_STYLE_MINIMIZEBOX, true);
            Ok(dialog);
        }));
        EXPECT_EQ(binding.set().styleMask, 0x00020000u);
        EXPECT_TRUE(binding.set().styleOn);
        // The other page wrote its own set back as it found it.
        EXPECT_EQ(binding.other().styleMask, 0x80000000u | 0x00800000u);
        EXPECT_FALSE(binding.other().styleOn);
    }
}

TEST_F(ConditionPagesTest, OkDropsStyleBitsThePageCannotShowEvenWithoutAChange) {
    AddConditions().styleMask = WS_CHILD | WS_POPUP | WS_CAPTION;
    RemoveConditions().styleMask = WS_CHILD | WS_DISABLED;

    ASSERT_TRUE(OpenSettings([&](HWND dialog) { Ok(dialog); }));

    EXPECT_EQ(AddConditions().styleMask, static_cast<std::uint32_t>(WS_POPUP | WS_CAPTION));
    EXPECT_EQ(RemoveConditions().styleMask, 0u);
}

TEST_F(ConditionPagesTest, TheCriterionBoxGreysTheStyleBoxesWhoseContentsAreStillStored) {
    AddConditions().styleOn = false;
    AddConditions().styleMask = WS_BORDER | WS_SYSMENU;

    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = ShowPage(dialog, testing_support::kAddStylesPage, "追加するスタイル");
        EXPECT_FALSE(IsChecked(page, IDC_STYLES_ENABLED));
        EXPECT_EQ(EnabledStyleBoxes(page), 0);
        EXPECT_EQ(CheckedStyles(page), (std::vector<std::string>{"WS_SYSMENU", "WS_BORDER"}));
        SetChecked(page, IDC_STYLES_ENABLED, true);
        EXPECT_EQ(EnabledStyleBoxes(page), 9);
        SetChecked(page, IDC_STYLES_ENABLED, false);
        EXPECT_EQ(EnabledStyleBoxes(page), 0);
        Ok(dialog);
    }));

    EXPECT_FALSE(AddConditions().styleOn);
    EXPECT_EQ(AddConditions().styleMask, static_cast<std::uint32_t>(WS_BORDER | WS_SYSMENU));
}

// ---- Class-name pages --------------------------------------------------------

TEST_F(ConditionPagesTest, ClassPagesShowTheirOwnSetsAndStoreTheNamesSorted) {
    for (const Binding& binding : kClassPages) {
        SCOPED_TRACE(binding.label);
        binding.set().classOn = true;
        binding.set().classes.Clear();
        binding.set().classes.Add("Mango");
        binding.other().classes.Clear();
        binding.other().classes.Add("OtherSet");

        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            const HWND page = ShowPage(dialog, binding.page, binding.label);
            EXPECT_EQ(Names(page), std::vector<std::string>{"Mango"});
            EXPECT_EQ(Selected(page), 0);
            EXPECT_TRUE(ClassControlsEnabled(page, true));
            ASSERT_TRUE(AddByTyping(page, "Zucchini"));
            ASSERT_TRUE(AddByTyping(page, "Apple"));
            // The new name is selected where the sorted list put it.
            EXPECT_EQ(Selected(page), 0);
            ASSERT_TRUE(AddByTyping(page, "Kiwi"));
            EXPECT_EQ(Selected(page), 1);
            EXPECT_EQ(Names(page), (std::vector<std::string>{"Apple", "Kiwi", "Mango", "Zucchini"}));
            Ok(dialog);
        }));
        EXPECT_TRUE(binding.set().classOn);
        EXPECT_EQ(StoredNames(binding.set()),
                  (std::vector<std::string>{"Apple", "Kiwi", "Mango", "Zucchini"}));
        EXPECT_EQ(StoredNames(binding.other()), std::vector<std::string>{"OtherSet"});
    }
}

TEST_F(ConditionPagesTest, NamesDifferingOnlyInCaseBothShowUntilOkAndOneRemains) {
    RemoveConditions().classes.Clear();
    RemoveConditions().classes.Add("Notepad");
    std::vector<std::string> shown;

    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = RemoveClassesPage(dialog);
        ASSERT_TRUE(AddByTyping(page, "NOTEPAD"));
        shown = Names(page);
        Ok(dialog);
    }));

    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(_stricmp(shown[0].c_str(), "notepad"), 0);
    EXPECT_EQ(_stricmp(shown[1].c_str(), "notepad"), 0);
    // The first of the two in the list's order is the one kept.
    EXPECT_EQ(StoredNames(RemoveConditions()), std::vector<std::string>{shown[0]});
}

TEST_F(ConditionPagesTest, TheCriterionBoxGreysTheListAndButtonsWhoseNamesAreStillStored) {
    AddConditions().classOn = false;
    AddConditions().classes.Add("Beta");
    AddConditions().classes.Add("Alpha");

    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = AddClassesPage(dialog);
        EXPECT_FALSE(IsChecked(page, IDC_CLASSES_ENABLED));
        EXPECT_TRUE(ClassControlsEnabled(page, false));
        SetChecked(page, IDC_CLASSES_ENABLED, true);
        EXPECT_TRUE(ClassControlsEnabled(page, true));
        SetChecked(page, IDC_CLASSES_ENABLED, false);
        EXPECT_TRUE(ClassControlsEnabled(page, false));
        Ok(dialog);
    }));

    EXPECT_FALSE(AddConditions().classOn);
    EXPECT_EQ(StoredNames(AddConditions()), (std::vector<std::string>{"Alpha", "Beta"}));
}

TEST_F(ConditionPagesTest, DeleteKeepsTheSelectionInPlaceOrOnTheLastName) {
    for (const char* name : {"Alpha", "Beta", "Gamma", "Delta"}) AddConditions().classes.Add(name);
    AddConditions().classOn = true;

    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = AddClassesPage(dialog);
        ASSERT_EQ(Names(page), (std::vector<std::string>{"Alpha", "Beta", "Delta", "Gamma"}));

        Select(page, 1);  // a middle one: the next takes its place
        Press(page, IDC_CLASSES_DELETE);
        EXPECT_EQ(Names(page), (std::vector<std::string>{"Alpha", "Delta", "Gamma"}));
        EXPECT_EQ(Selected(page), 1);

        Select(page, 2);  // the last: the new last is selected
        Press(page, IDC_CLASSES_DELETE);
        EXPECT_EQ(Names(page), (std::vector<std::string>{"Alpha", "Delta"}));
        EXPECT_EQ(Selected(page), 1);

        Select(page, -1);  // nothing selected: nothing goes
        Press(page, IDC_CLASSES_DELETE);
        EXPECT_EQ(Names(page).size(), 2u);

        Select(page, 0);
        Press(page, IDC_CLASSES_DELETE);
        Press(page, IDC_CLASSES_DELETE);
        EXPECT_TRUE(Names(page).empty());
        EXPECT_EQ(Selected(page), LB_ERR);
        Press(page, IDC_CLASSES_DELETE);  // an empty list stays as it is
        Ok(dialog);
    }));

    EXPECT_TRUE(AddConditions().classes.Size() == 0);
}

TEST_F(ConditionPagesTest, TheListFillsThePageUnderTheCheckBoxWheneverThePageIsSized) {
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = AddClassesPage(dialog);
        const RECT box = RectInPage(page, IDC_CLASSES_ENABLED);
        RECT client{};
        GetClientRect(page, &client);
        const RECT first = RectInPage(page, IDC_CLASSES_LIST);
        EXPECT_EQ(first.left, 0);
        EXPECT_EQ(first.top, box.bottom + 4);
        EXPECT_EQ(first.bottom, client.bottom);
        const LONG width = first.right - first.left;

        for (const SIZE size : {SIZE{420, 380}, SIZE{200, 90}}) {
            MoveWindow(page, 0, 0, size.cx, size.cy, TRUE);
            const RECT list = RectInPage(page, IDC_CLASSES_LIST);
            EXPECT_EQ(list.left, 0) << size.cx;
            EXPECT_EQ(list.top, box.bottom + 4) << size.cx;
            EXPECT_EQ(list.bottom, size.cy) << size.cx;
            EXPECT_EQ(list.right - list.left, width) << size.cx;
        }
        Cancel(dialog);
    }));
}

// ---- Priority, and the pages together ------------------------------------------

TEST_F(ConditionPagesTest, AddConditionsFirstLetsAWindowMatchingBothSetsQualify) {
    const HWND window = [&] {
        testing_support::WindowSpec form;
        form.className = "PanelryBothSets";
        form.title = "in both sets";
        return app.Open(form);
    }();
    ASSERT_NE(window, nullptr);
    for (cWndCondition* set : {&AddConditions(), &RemoveConditions()}) {
        set->classOn = true;
        set->classes.Add("PanelryBothSets");
    }
    GetSystemData().addConditionFirst = 0;
    ASSERT_FALSE(CanAddWindow(window));

    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page =
            ShowPage(dialog, testing_support::kConditionsPage, "追加・排除条件");
        EXPECT_FALSE(IsChecked(page, IDC_CONDITIONS_ADD_FIRST));
        EXPECT_TRUE(IsChecked(page, IDC_CONDITIONS_REMOVE_FIRST));
        SetChecked(page, IDC_CONDITIONS_ADD_FIRST, true);
        EXPECT_FALSE(IsChecked(page, IDC_CONDITIONS_REMOVE_FIRST));
        Ok(dialog);
    }));
    EXPECT_EQ(GetSystemData().addConditionFirst, 1);
    EXPECT_TRUE(CanAddWindow(window));

    // And back: the page shows the stored choice and OK refuses the window again.
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page =
            ShowPage(dialog, testing_support::kConditionsPage, "追加・排除条件");
        EXPECT_TRUE(IsChecked(page, IDC_CONDITIONS_ADD_FIRST));
        SetChecked(page, IDC_CONDITIONS_REMOVE_FIRST, true);
        Ok(dialog);
    }));
    EXPECT_EQ(GetSystemData().addConditionFirst, 0);
    EXPECT_FALSE(CanAddWindow(window));
}

TEST_F(ConditionPagesTest, CancelLeavesEveryConditionAsItWas) {
    GetSystemData().addConditionFirst = 0;
    AddConditions().styleOn = true;
    AddConditions().styleMask = WS_CHILD | WS_BORDER;
    AddConditions().classOn = false;
    AddConditions().classes.Add("Kept");
    RemoveConditions().styleOn = false;
    RemoveConditions().classOn = true;
    RemoveConditions().classes.Add("Progman");

    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND priority =
            ShowPage(dialog, testing_support::kConditionsPage, "追加・排除条件");
        SetChecked(priority, IDC_CONDITIONS_ADD_FIRST, true);
        const HWND addStyles = ShowPage(dialog, testing_support::kAddStylesPage, "追加するスタイル");
        SetChecked(addStyles, IDC_STYLES_ENABLED, false);
        SetChecked(addStyles, IDC_STYLE_POPUP, true);
        const HWND removeStyles =
            ShowPage(dialog, testing_support::kRemoveStylesPage, "排除するスタイル");
        SetChecked(removeStyles, IDC_STYLES_ENABLED, true);
        const HWND addClasses = AddClassesPage(dialog);
        SetChecked(addClasses, IDC_CLASSES_ENABLED, true);
        EXPECT_TRUE(AddByTyping(addClasses, "Added"));
        const HWND removeClasses = RemoveClassesPage(dialog);
        Select(removeClasses, 0);
        Press(removeClasses, IDC_CLASSES_DELETE);
        EXPECT_TRUE(Names(removeClasses).empty());
        Cancel(dialog);
    }));

    EXPECT_EQ(GetSystemData().addConditionFirst, 0);
    EXPECT_TRUE(AddConditions().styleOn);
    EXPECT_EQ(AddConditions().styleMask, static_cast<std::uint32_t>(WS_CHILD | WS_BORDER));
    EXPECT_FALSE(AddConditions().classOn);
    EXPECT_EQ(StoredNames(AddConditions()), std::vector<std::string>{"Kept"});
    EXPECT_FALSE(RemoveConditions().styleOn);
    EXPECT_TRUE(RemoveConditions().classOn);
    EXPECT_EQ(StoredNames(RemoveConditions()), std::vector<std::string>{"Progman"});
}

}  // namespace
