// The "ショートカットウィンドウ" page and its editor of the registered
// applications, opened as the user opens them: command 21 of the real main
// window, the page's controls, the editor behind its button and the
// open-file dialog behind a row's "参照". The strip they set up is the
// program's own, looked at where the main window docks it.
#include "base/messages.h"
#include "launcher/shortcut_window.h"
#include "settings/dialog/shortcut_page_ids.h"
#include "settings/system_data.h"
#include "tests/settings/dialog/dialog_fixture.h"
#include "tests/support/sample_app.h"
#include "tests/support/temp_dir.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using testing_support::FindOwnDialog;
using testing_support::IniValue;
using testing_support::Press;
using testing_support::SampleAppPath;
using testing_support::SettingsDialogTest;
using testing_support::WriteFileText;

namespace {

constexpr char kEditorTitle[] = "ショートカットの登録内容の編集";
constexpr char kFileDialogTitle[] = "ファイルの登録";
constexpr char kSection[] = "SHORTCUT PATH";
constexpr int kSlots = cShortcutWnd::kSlots;
constexpr int kSides[] = {IDC_SHORTCUT_TOP, IDC_SHORTCUT_BOTTOM, IDC_SHORTCUT_LEFT,
                          IDC_SHORTCUT_RIGHT};

// What the page shows; side is the place in kSides of the one checked
// position button, -1 for none and -2 for more than one.
struct PageState {
    bool show = false, large = false, small = false;
    int side = -1;
};

// window's rectangle in the client coordinates of other.
RECT RectIn(HWND window, HWND other) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, other, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string TextOf(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string Key(int slot) { return "No." + std::to_string(slot); }

// Clicks button of window with act run in the modal dialog titled title that
// the click opens; act ends it. Whether act ran.
bool ClickInto(const char* title, HWND window, int button, std::function<void(HWND)> act) {
    return testing_support::WithNestedDialog(title, std::move(act),
                                             [&] { Press(window, button); });
}

// The page's "登録アプリケーションの編集" with act run in the editor.
bool WithEditor(HWND page, std::function<void(HWND)> act) {
    return ClickInto(kEditorTitle, page, IDC_SHORTCUT_EDIT_ENTRIES, std::move(act));
}

HWND Row(HWND editor, int n) { return GetDlgItem(editor, IDC_SHORTCUT_FIRST_ROW + n); }

class ShortcutPageTest : public SettingsDialogTest {
protected:
    static PageState StateOf(HWND page) {
        PageState state;
        state.show = IsChecked(page, IDC_SHORTCUT_SHOW);
        state.large = IsChecked(page, IDC_SHORTCUT_LARGE_ICONS);
        state.small = IsChecked(page, IDC_SHORTCUT_SMALL_ICONS);
        for (int side = 0; side < 4; ++side) {
            if (!IsChecked(page, kSides[side])) continue;
            state.side = state.side == -1 ? side : -2;
        }
        return state;
    }
    static std::string RowPath(HWND editor, int n) {
        return Text(Row(editor, n), IDC_SHORTCUT_ROW_PATH);
    }

    std::string Ini() const { return settings.Dir().File("shortcut.ini"); }

    // shortcut.ini with slot n holding paths[n].
    void WriteEntries(const std::vector<std::string>& paths) const {
        std::string text = "[SHORTCUT PATH]\r\n";
        for (std::size_t n = 0; n < paths.size(); ++n) {
            text += Key(static_cast<int>(n)) + "=" + paths[n] + "\r\n";
        }
        WriteFileText(Ini(), text);
    }
    std::vector<std::string> FileEntries() const {
        std::vector<std::string> values;
        for (int n = 0; n < kSlots; ++n) values.push_back(IniValue(Ini(), kSection, Key(n).c_str()));
        return values;
    }

    // The page brought up through the tree, as the user does.
    static HWND ShowPage(HWND dialog) {
        return SettingsDialogTest::ShowPage(dialog, testing_support::kShortcutPage,
                                            "ショートカットウィンドウ");
    }

    void Apply() { SendMessageA(Main(), PM_APPLYSETTINGS, 0, 0); }

    // The page set as given and the dialog closed with OK.
    void ChooseOnPage(bool show, bool small, int side) {
        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            const HWND page = ShowPage(dialog);
            SetChecked(page, IDC_SHORTCUT_SHOW, show);
            SetChecked(page, small ? IDC_SHORTCUT_SMALL_ICONS : IDC_SHORTCUT_LARGE_ICONS, true);
            SetChecked(page, kSides[side], true);
            Ok(dialog);
        }));
    }
    RECT StripRect() const { return RectIn(ShortcutWindow().Window(), Main()); }
    RECT MainClient() const {
        RECT client{};
        GetClientRect(Main(), &client);
        return client;
    }
};

using ShortcutEditorTest = ShortcutPageTest;

// Each field both ways: the page shows what the record holds, and OK, not
// the clicks before it, puts what the page shows into the record.
TEST_F(ShortcutPageTest, ShowsTheRecordAndWritesItOnlyOnOk) {
    struct Round {
        bool show, small;
        int side;
        bool newShow, newSmall;
        int newSide;
    };
    const Round rounds[] = {{true, false, 0, false, true, 2}, {false, true, 1, true, false, 3},
                            {true, true, 2, false, false, 0}, {false, false, 3, true, true, 1}};
    for (const Round& round : rounds) {
        SystemData& record = GetSystemData();
        record.showShortcutWindow = round.show;
        record.shortcutSmallIcons = round.small;
        record.shortcutPosition = round.side;
        const SystemData before = record;
        PageState shown, cancelled;
        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            const HWND page = ShowPage(dialog);
            shown = StateOf(page);
            SetChecked(page, IDC_SHORTCUT_SHOW, round.newShow);
            SetChecked(page, round.newSmall ? IDC_SHORTCUT_SMALL_ICONS : IDC_SHORTCUT_LARGE_ICONS,
                       true);
            SetChecked(page, kSides[round.newSide], true);
            cancelled = StateOf(page);
            Cancel(dialog);
        }));
        EXPECT_EQ(shown.show, round.show) << round.side;
        EXPECT_EQ(shown.large, !round.small) << round.side;
        EXPECT_EQ(shown.small, round.small) << round.side;
        EXPECT_EQ(shown.side, round.side);
        EXPECT_EQ(cancelled.side, round.newSide) << "the position buttons are one group";
        EXPECT_NE(cancelled.small, cancelled.large) << "the icon buttons are one group";
        EXPECT_EQ(GetSystemData().showShortcutWindow, before.showShortcutWindow);
        EXPECT_EQ(GetSystemData().shortcutSmallIcons, before.shortcutSmallIcons);
        EXPECT_EQ(GetSystemData().shortcutPosition, before.shortcutPosition);

        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            const HWND page = ShowPage(dialog);
            SetChecked(page, IDC_SHORTCUT_SHOW, round.newShow);
            SetChecked(page, round.newSmall ? IDC_SHORTCUT_SMALL_ICONS : IDC_SHORTCUT_LARGE_ICONS,
                       true);
            SetChecked(page, kSides[round.newSide], true);
            Ok(dialog);
        }));
        EXPECT_EQ(GetSystemData().showShortcutWindow, round.newShow ? 1 : 0);
        EXPECT_EQ(GetSystemData().shortcutSmallIcons, round.newSmall ? 1 : 0);
        EXPECT_EQ(GetSystemData().shortcutPosition, round.newSide);
    }
}

// A side the strip does not know is the right one, in the record as soon as
// the dialog opens, whatever closes it; a known side stays as it is.
TEST_F(ShortcutPageTest, APositionOutsideTheFourSidesBecomesRightAtOnce) {
    for (const int stored : {7, 4, -1, 3, 2}) {
        GetSystemData().shortcutPosition = stored;
        int side = -1;
        std::int32_t whileOpen = -100;
        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            side = StateOf(ShowPage(dialog)).side;
            whileOpen = GetSystemData().shortcutPosition;
            Cancel(dialog);
        }));
        const int expected = stored == 2 ? 2 : 3;
        EXPECT_EQ(side, expected) << stored;
        EXPECT_EQ(whileOpen, expected) << stored;
        EXPECT_EQ(GetSystemData().shortcutPosition, expected) << stored;
    }
}

// OK of the dialog reaches the strip without a restart: it comes and goes
// with the check box, docks on the chosen side, and is thinner with small
// icons.
TEST_F(ShortcutPageTest, OkShowsDocksAndHidesTheStripAtOnce) {
    ASSERT_FALSE(ShortcutWindow().IsShown());
    RECT client{};

    ChooseOnPage(true, false, 0);
    ASSERT_TRUE(ShortcutWindow().IsShown());
    client = MainClient();
    RECT r = StripRect();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, client.right);
    EXPECT_LT(r.bottom, client.bottom / 2) << "a row along the top";

    ChooseOnPage(true, false, 1);
    client = MainClient();
    r = StripRect();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.bottom, client.bottom);
    EXPECT_EQ(r.right, client.right);
    EXPECT_GT(r.top, client.bottom / 2) << "a row along the bottom";

    ChooseOnPage(true, false, 2);
    client = MainClient();
    r = StripRect();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.bottom, client.bottom);
    EXPECT_LT(r.right, client.right / 2) << "a column along the left";
    const int largeWidth = r.right - r.left;

    ChooseOnPage(true, true, 3);
    client = MainClient();
    r = StripRect();
    EXPECT_EQ(r.right, client.right);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.bottom, client.bottom);
    EXPECT_GT(r.left, client.right / 2) << "a column along the right";
    EXPECT_LT(r.right - r.left, largeWidth) << "small icons make a thinner strip";

    ChooseOnPage(false, true, 3);
    EXPECT_FALSE(ShortcutWindow().IsShown());
}

// The editor's rows are the sixteen entries, stacked from the top; OK and
// CANCEL meet under them at their middle, and the editor is just that big,
// in the middle of the screen, modal over the settings dialog.
TEST_F(ShortcutEditorTest, SixteenStackedRowsOverOkAndCancel) {
    std::vector<std::string> entries;
    for (int n = 0; n < kSlots; ++n) entries.push_back("C:\\apps\\tool" + std::to_string(n) + ".exe");
    WriteEntries(entries);
    std::vector<std::string> paths, browse, clear;
    std::vector<RECT> rows;
    std::vector<bool> childDialogs;
    RECT ok{}, cancel{}, client{}, frame{};
    HWND owner = nullptr, settingsDialog = nullptr;
    bool settingsEnabled = true;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        settingsDialog = dialog;
        EXPECT_TRUE(WithEditor(ShowPage(dialog), [&](HWND editor) {
            for (int n = 0; n < kSlots; ++n) {
                const HWND row = Row(editor, n);
                char className[16] = "";
                GetClassNameA(row, className, sizeof className);
                childDialogs.push_back(std::string(className) == "#32770" &&
                                       (GetWindowLongA(row, GWL_STYLE) & WS_CHILD) != 0 &&
                                       IsWindowVisible(row));
                rows.push_back(RectIn(row, editor));
                paths.push_back(RowPath(editor, n));
                browse.push_back(TextOf(GetDlgItem(row, IDC_SHORTCUT_ROW_BROWSE)));
                clear.push_back(TextOf(GetDlgItem(row, IDC_SHORTCUT_ROW_CLEAR)));
            }
            ok = RectIn(GetDlgItem(editor, IDOK), editor);
            cancel = RectIn(GetDlgItem(editor, IDCANCEL), editor);
            GetClientRect(editor, &client);
            GetWindowRect(editor, &frame);
            owner = GetWindow(editor, GW_OWNER);
            settingsEnabled = IsWindowEnabled(dialog) != FALSE;
            Press(editor, IDCANCEL);
        }));
        Cancel(dialog);
    }));
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kSlots));
    EXPECT_EQ(owner, settingsDialog);
    EXPECT_FALSE(settingsEnabled);
    EXPECT_EQ(paths, entries);
    int top = 0;
    for (int n = 0; n < kSlots; ++n) {
        EXPECT_TRUE(childDialogs[n]) << n;
        EXPECT_EQ(browse[n], "参照") << n;
        EXPECT_EQ(clear[n], "クリア") << n;
        EXPECT_EQ(rows[n].top, top) << n;
        EXPECT_GT(rows[n].bottom, rows[n].top) << n;
        EXPECT_EQ(rows[n].left, 0) << n;
        EXPECT_EQ(rows[n].right, client.right) << n;
        top = rows[n].bottom;
    }
    const int middle = (rows[0].right - rows[0].left) / 2;
    EXPECT_GE(ok.top, top) << "below the last row";
    EXPECT_EQ(ok.right, middle);
    EXPECT_EQ(cancel.left, middle);
    EXPECT_EQ(cancel.top, ok.top);
    EXPECT_EQ(cancel.right - cancel.left, ok.right - ok.left);
    EXPECT_EQ(cancel.bottom - cancel.top, ok.bottom - ok.top);
    EXPECT_EQ(client.bottom, top + (ok.bottom - ok.top)) << "rows and buttons, exactly";
    EXPECT_EQ(ok.bottom, client.bottom);
    EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2);
    EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2);
}

// Neither CANCEL nor the close box hands on what the rows were changed to.
TEST_F(ShortcutEditorTest, CancelAndTheCloseBoxWriteNothing) {
    std::vector<std::string> entries(kSlots);
    entries[0] = "C:\\apps\\first.exe";
    entries[9] = "C:\\apps\\tenth.exe";
    WriteEntries(entries);
    for (const bool closeBox : {false, true}) {
        bool edited = false;
        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            EXPECT_TRUE(WithEditor(ShowPage(dialog), [&](HWND editor) {
                Press(Row(editor, 0), IDC_SHORTCUT_ROW_CLEAR);
                Type(Row(editor, 4), IDC_SHORTCUT_ROW_PATH, "C:\\apps\\new.exe");
                edited = RowPath(editor, 0).empty() && RowPath(editor, 4) == "C:\\apps\\new.exe";
                if (closeBox) SendMessageA(editor, WM_SYSCOMMAND, SC_CLOSE, 0);
                else Press(editor, IDCANCEL);
            }));
            EXPECT_EQ(FindOwnDialog(kEditorTitle), nullptr) << "closed";
            Ok(dialog);
        }));
        EXPECT_TRUE(edited) << closeBox;
        EXPECT_EQ(FileEntries(), entries) << closeBox;
    }
}

// With the strip hidden, OK writes shortcut.ini before the editor has gone,
// every slot, the cleared one as empty; cancelling the settings dialog
// afterwards takes nothing back.
TEST_F(ShortcutEditorTest, OkWritesAllSixteenToTheFileWhileTheStripIsHidden) {
    std::vector<std::string> before, typed;
    for (int n = 0; n < kSlots; ++n) {
        before.push_back("C:\\old\\" + std::to_string(n) + ".exe");
        typed.push_back("D:\\new\\" + std::to_string(n) + ".exe");
    }
    WriteEntries(before);
    std::vector<std::string> expected = typed;
    expected[5] = "";
    std::vector<std::string> afterEditor;
    bool cleared = false;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        EXPECT_TRUE(WithEditor(ShowPage(dialog), [&](HWND editor) {
            for (int n = 0; n < kSlots; ++n) Type(Row(editor, n), IDC_SHORTCUT_ROW_PATH, typed[n]);
            Press(Row(editor, 5), IDC_SHORTCUT_ROW_CLEAR);
            cleared = RowPath(editor, 5).empty() && RowPath(editor, 4) == typed[4] &&
                      RowPath(editor, 6) == typed[6];
            Press(editor, IDOK);
        }));
        afterEditor = FileEntries();
        Cancel(dialog);
    }));
    EXPECT_TRUE(cleared) << "クリア empties its own row only";
    EXPECT_EQ(afterEditor, expected);
    EXPECT_EQ(FileEntries(), expected);
    EXPECT_FALSE(ShortcutWindow().IsShown());
}

// With the strip shown, the rows are its icons' live entries, and OK
// registers the paths in the icons; the file follows only when the strip
// goes.
TEST_F(ShortcutEditorTest, OkRegistersAllSixteenInTheShownStrip) {
    std::vector<std::string> files;
    for (int n = 0; n < kSlots; ++n) {
        files.push_back(settings.Dir().File(("app" + std::to_string(n) + ".exe").c_str()));
        ASSERT_TRUE(CopyFileA(SampleAppPath().c_str(), files.back().c_str(), FALSE)) << n;
    }
    std::vector<std::string> stored(kSlots, SampleAppPath());
    WriteEntries(stored);
    GetSystemData().showShortcutWindow = 1;
    Apply();
    ASSERT_TRUE(ShortcutWindow().IsShown());
    // Only in the icon, not in the file.
    ASSERT_TRUE(ShortcutWindow().SetEntry(3, files[15].c_str()));

    std::string rowThree, rowFour;
    std::vector<std::string> iconsAfterEditor;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        EXPECT_TRUE(WithEditor(ShowPage(dialog), [&](HWND editor) {
            rowThree = RowPath(editor, 3);
            rowFour = RowPath(editor, 4);
            for (int n = 0; n < kSlots; ++n) Type(Row(editor, n), IDC_SHORTCUT_ROW_PATH, files[n]);
            Press(editor, IDOK);
        }));
        for (int n = 0; n < kSlots; ++n) iconsAfterEditor.push_back(ShortcutWindow().Icon(n).Path());
        Cancel(dialog);
    }));
    EXPECT_EQ(rowThree, files[15]);
    EXPECT_EQ(rowFour, SampleAppPath());
    EXPECT_EQ(iconsAfterEditor, files);
    EXPECT_EQ(FileEntries(), stored) << "the shown strip keeps the entries";
    ASSERT_TRUE(ShortcutWindow().IsShown());
    for (int n = 0; n < kSlots; ++n) EXPECT_EQ(ShortcutWindow().Icon(n).Path(), files[n]) << n;

    GetSystemData().showShortcutWindow = 0;
    Apply();
    EXPECT_EQ(FileEntries(), files);
}

// "参照" offers the launcher's open-file dialog over the editor, and the file
// chosen there replaces that row's path alone.
TEST_F(ShortcutEditorTest, BrowseFillsTheRowFromTheOpenFileDialog) {
    std::vector<std::string> entries(kSlots, "C:\\apps\\before.exe");
    WriteEntries(entries);
    HWND fileOwner = nullptr, editorWindow = nullptr;
    std::vector<std::string> filters;
    bool readOnlyShown = true;
    std::string chosenRow, otherRow;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        EXPECT_TRUE(WithEditor(ShowPage(dialog), [&](HWND editor) {
            editorWindow = editor;
            EXPECT_TRUE(ClickInto(
                kFileDialogTitle, Row(editor, 7), IDC_SHORTCUT_ROW_BROWSE, [&](HWND files) {
                    fileOwner = GetWindow(files, GW_OWNER);
                    const HWND types = GetDlgItem(files, cmb1);
                    const int count = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
                    for (int i = 0; i < count; ++i) {
                        char label[128] = "";
                        SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(label));
                        filters.push_back(label);
                    }
                    const HWND readOnly = GetDlgItem(files, chx1);
                    readOnlyShown = readOnly && IsWindowVisible(readOnly);
                    const int nameBox = GetDlgItem(files, cmb13) ? cmb13 : edt1;
                    SetDlgItemTextA(files, nameBox, SampleAppPath().c_str());
                    PostMessageA(files, WM_COMMAND, IDOK, 0);
                }));
            chosenRow = RowPath(editor, 7);
            otherRow = RowPath(editor, 8);
            Press(editor, IDOK);
        }));
        Cancel(dialog);
    }));
    EXPECT_EQ(fileOwner, editorWindow) << "the row's dialog, whose top is the editor";
    EXPECT_EQ(filters, (std::vector<std::string>{"実行ファイル(*.exe)", "All files(*.*)"}));
    EXPECT_FALSE(readOnlyShown);
    EXPECT_EQ(chosenRow, SampleAppPath());
    EXPECT_EQ(otherRow, entries[8]);
    entries[7] = SampleAppPath();
    EXPECT_EQ(FileEntries(), entries);
}

}  // namespace
