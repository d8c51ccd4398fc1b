// Editing a menu's entry list in its list box. Each row keeps its code as
// its data, so a row's text is only ever made from its code.
#include "settings/dialog/menu_list_editor.h"

#include "base/base_texts.h"
#include "base/command_kinds.h"
#include "commands/command_texts.h"
#include "commands/menu_settings.h"
#include "settings/dialog/dialog_texts.h"
#include "settings/dialog/menu_item_chooser.h"
#include "settings/dialog/menu_page_ids.h"

#include <cstring>

bool IsMenuEntryCode(int code) {
    return code == kSeparatorCode || (code >= 1 && code <= kCommandKindCount);
}

void MenuListEditor::Load(const std::int8_t* codes, int places) const {
    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    for (int place = 0; place < places && place < capacity_; ++place) {
        if (!IsMenuEntryCode(codes[place])) break;
        Insert(place, codes[place]);
    }
}

void MenuListEditor::Store(std::int8_t* codes, int places) const {
    std::memset(codes, kEndCode, static_cast<std::size_t>(places));
    const int count = Count();
    for (int row = 0; row < count && row < places; ++row) {
        codes[row] = static_cast<std::int8_t>(CodeAt(row));
    }
}

bool MenuListEditor::OnCommand(WORD id, WORD code) const {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_MENU_ADD: return Add();
    case IDC_MENU_DELETE: return Delete();
    case IDC_MENU_UP: return Move(-1);
    case IDC_MENU_DOWN: return Move(1);
    default: return false;
    }
}

int MenuListEditor::Count() const {
    return static_cast<int>(SendMessageA(list_, LB_GETCOUNT, 0, 0));
}

int MenuListEditor::Selected() const {
    return static_cast<int>(SendMessageA(list_, LB_GETCURSEL, 0, 0));
}

int MenuListEditor::CodeAt(int row) const {
    // Stored as a signed byte: the separator comes back as -1.
    return static_cast<std::int8_t>(SendMessageA(list_, LB_GETITEMDATA, row, 0));
}

void MenuListEditor::Insert(int row, int code) const {
    const char* text = code == kSeparatorCode ? dialog_texts::kSeparatorRow : CommandText(code);
    const LRESULT at = SendMessageA(list_, LB_INSERTSTRING, row, reinterpret_cast<LPARAM>(text));
    if (at >= 0) SendMessageA(list_, LB_SETITEMDATA, at, code);
}

void MenuListEditor::Select(int row) const { SendMessageA(list_, LB_SETCURSEL, row, 0); }

bool MenuListEditor::Add() const {
    const HWND page = GetParent(list_);
    if (Count() >= capacity_) {
        MessageBoxA(page, dialog_texts::kNoMoreMenuItems, base_texts::kErrorCaption,
                    MB_OK | MB_ICONERROR);
        return false;
    }
    const int code = ChooseMenuItem(page);
    if (!IsMenuEntryCode(code)) return false;
    const int selected = Selected();
    const int row = selected == LB_ERR ? 0 : selected + 1;
    Insert(row, code);
    Select(row);
    return true;
}

bool MenuListEditor::Delete() const {
    const int selected = Selected();
    if (selected == LB_ERR) return false;
    SendMessageA(list_, LB_DELETESTRING, selected, 0);
    const int count = Count();
    if (count > 0) Select(selected < count ? selected : count - 1);
    return true;
}

bool MenuListEditor::Move(int step) const {
    const int selected = Selected();
    const int target = selected + step;
    if (selected == LB_ERR || target < 0 || target >= Count()) return false;
    const int code = CodeAt(selected);
    SendMessageA(list_, LB_DELETESTRING, selected, 0);
    Insert(target, code);
    Select(target);
    return true;
}
