// The page "メニュー": the eight popups of the main menu, their titles and
// entries, edited on copies that only OK hands to the menu model. Moving,
// deleting and inserting whole popups shifts the copies; the popup list
// keeps naming places 0 to 7.
#include "base/code_page.h"
#include "commands/menu_settings.h"
#include "settings/dialog/dialog_ids.h"
#include "settings/dialog/dialog_texts.h"
#include "settings/dialog/menu_list_editor.h"
#include "settings/dialog/menu_page_ids.h"
#include "settings/dialog/pages.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kPopups = MenuSettings::kPopups;
constexpr int kEntries = MenuSettings::kEntries;
constexpr int kTitleSize = MenuSettings::kTitleSize;
constexpr int kTitleBytes = kTitleSize - 1;

class MenuPage : public SettingsPage {
public:
    MenuPage() : SettingsPage(IDD_PAGE_MENU) {}

protected:
    void Fill() override {
        const MenuSettings& model = GetMenuSettings();
        std::memcpy(items_, model.mainMenuItems, sizeof items_);
        std::memcpy(titles_, model.popupTitles, sizeof titles_);
        for (auto& title : titles_) title[kTitleBytes] = '\0';
        editor_ = MenuListEditor(Item(IDC_MENU_LIST), kEntries);
        SendMessageA(Item(IDC_MENU_TITLE), EM_SETLIMITTEXT, kTitleBytes, 0);

        const HWND popups = Item(IDC_MENU_POPUP);
        for (int n = 0; n < kPopups; ++n) {
            char name[32];
            std::snprintf(name, sizeof name, dialog_texts::kPopupNameFormat, n);
            SendMessageA(popups, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        }
        ShowPopup(0);
    }

    void Write() override {
        MenuSettings& model = GetMenuSettings();
        std::memcpy(model.mainMenuItems, items_, sizeof items_);
        std::memcpy(model.popupTitles, titles_, sizeof titles_);
    }

    bool OnCommand(WORD id, WORD code, HWND) override {
        if (id == IDC_MENU_POPUP && code == CBN_SELCHANGE) {
            const int chosen = static_cast<int>(SendMessageA(Item(IDC_MENU_POPUP), CB_GETCURSEL, 0, 0));
            if (chosen >= 0 && chosen < kPopups) ShowPopup(chosen);
            return true;
        }
        if (id == IDC_MENU_TITLE && code == EN_CHANGE) {
            TakeTitle();
            return true;
        }
        if (id == IDC_MENU_DELETE_POPUP && code == BN_CLICKED) {
            if (Ask(dialog_texts::kAskDeletePopup)) DeletePopup();
            return true;
        }
        if (id == IDC_MENU_INSERT_POPUP && code == BN_CLICKED) {
            if (Ask(dialog_texts::kAskInsertPopup)) InsertPopup();
            return true;
        }
        if (editor_.OnCommand(id, code)) {
            editor_.Store(items_[current_], kEntries);
            return true;
        }
        return false;
    }

private:
    // The list and title of popup n; what follows its last entry is an end
    // marker in the copy from now on.
    void ShowPopup(int n) {
        current_ = n;
        SendMessageA(Item(IDC_MENU_POPUP), CB_SETCURSEL, n, 0);
        editor_.Load(items_[n], kEntries);
        editor_.Store(items_[n], kEntries);
        SetDlgItemTextA(window_, IDC_MENU_TITLE, titles_[n]);
    }

    // A title longer than a popup can keep is cut back in the edit too, so
    // that what the user sees is what OK stores.
    void TakeTitle() {
        const HWND edit = Item(IDC_MENU_TITLE);
        std::string text(static_cast<std::size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
        text.resize(static_cast<std::size_t>(GetWindowTextA(edit, &text[0], static_cast<int>(text.size()))));
        const std::size_t kept = WholeCharacters(text.c_str(), kTitleBytes);
        char* title = titles_[current_];
        std::memset(title, 0, kTitleSize);
        std::memcpy(title, text.data(), kept);
        if (kept < text.size()) {
            SetWindowTextA(edit, title);
            SendMessageA(edit, EM_SETSEL, kept, kept);
        }
    }

    bool Ask(const char* question) const {
        return MessageBoxA(window_, question, dialog_texts::kQuestionCaption,
                           MB_YESNO | MB_ICONQUESTION) == IDYES;
    }

    void Empty(int n) {
        std::memset(items_[n], kEndCode, kEntries);
        std::memset(titles_[n], 0, kTitleSize);
    }

    void DeletePopup() {
        const int b = current_;
        const std::size_t after = static_cast<std::size_t>(kPopups - 1 - b);
        std::memmove(items_[b], items_[b + 1], after * kEntries);
        std::memmove(titles_[b], titles_[b + 1], after * kTitleSize);
        Empty(kPopups - 1);
        ShowPopup(b);
    }

    void InsertPopup() {
        const int b = current_;
        const std::size_t moved = static_cast<std::size_t>(kPopups - 1 - b);
        std::memmove(items_[b + 1], items_[b], moved * kEntries);
        std::memmove(titles_[b + 1], titles_[b], moved * kTitleSize);
        Empty(b);
        ShowPopup(b);
    }

    std::int8_t items_[kPopups][kEntries] = {};
    char titles_[kPopups][kTitleSize] = {};
    int current_ = 0;
    MenuListEditor editor_;
};

}  // namespace

std::unique_ptr<SettingsPage> MakeMenuPage() { return std::make_unique<MenuPage>(); }
