// The row editor of the accelerator-key page. The eight stroke lists are
// read in order, each empty list skipped, so the gesture is the strokes as
// the user lined them up; a stroke the same as the one before it could never
// be drawn (two equal movements in a row are one long movement), and is
// refused.
#include "settings/dialog/hotkey_editor.h"

#include "base/base_texts.h"
#include "base/window_binding.h"
#include "commands/accelerators.h"
#include "settings/dialog/accelerators_page_ids.h"
#include "settings/dialog/dialog_texts.h"

#include <commctrl.h>

namespace {

constexpr int kStrokeLists[] = {
    IDC_HOTKEY_STROKE_1, IDC_HOTKEY_STROKE_2, IDC_HOTKEY_STROKE_3, IDC_HOTKEY_STROKE_4,
    IDC_HOTKEY_STROKE_5, IDC_HOTKEY_STROKE_6, IDC_HOTKEY_STROKE_7, IDC_HOTKEY_STROKE_8,
};
constexpr int kStrokeCount = sizeof kStrokeLists / sizeof kStrokeLists[0];
constexpr DWORD kNoStroke = 0;

struct Choice {
    const char* text;
    BYTE value;
};

// The lists sort these by text; the values say what was chosen.
constexpr Choice kStrokes[] = {
    {"", kNoStroke},
    {dialog_texts::kStrokeUp, 1},
    {dialog_texts::kStrokeDown, 2},
    {dialog_texts::kStrokeLeft, 4},
    {dialog_texts::kStrokeRight, 8},
};

// In this order; the first is also what a held key not in the list becomes.
constexpr Choice kHoldKeys[] = {
    {dialog_texts::kHoldNone, 0},          {dialog_texts::kHoldShift, VK_SHIFT},
    {dialog_texts::kHoldControl, VK_CONTROL}, {dialog_texts::kHoldAlt, VK_MENU},
    {dialog_texts::kHoldLeftButton, VK_LBUTTON}, {dialog_texts::kHoldRightButton, VK_RBUTTON},
};

constexpr int kGroupBits = 4;
constexpr DWORD kGroupMask = 0xF;
constexpr int kGroups = 8;

void AddChoices(HWND list, const Choice* choices, int count) {
    for (int i = 0; i < count; ++i) {
        const LRESULT at = SendMessageA(list, CB_ADDSTRING, 0,
                                        reinterpret_cast<LPARAM>(choices[i].text));
        if (at >= 0) SendMessageA(list, CB_SETITEMDATA, static_cast<WPARAM>(at), choices[i].value);
    }
}

// Selects the entry valued value; false when none is.
bool SelectValue(HWND list, DWORD value) {
    const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (static_cast<DWORD>(SendMessageA(list, CB_GETITEMDATA, i, 0)) == value) {
            SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            return true;
        }
    }
    return false;
}

DWORD SelectedValue(HWND list) {
    const LRESULT at = SendMessageA(list, CB_GETCURSEL, 0, 0);
    return at == CB_ERR ? 0 : static_cast<DWORD>(SendMessageA(list, CB_GETITEMDATA, at, 0));
}

class HotkeyEditor {
public:
    explicit HotkeyEditor(AcceleratorRow& row) : row_(row) {}

    // True when OK changed the row.
    bool Run(HWND owner) {
        return RunBoundDialog<HotkeyEditor, &HotkeyEditor::window_, &HotkeyEditor::Handle>(
                   *this, GetModuleHandleA(nullptr), IDD_HOTKEY_EDITOR, owner) == TRUE;
    }

private:
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInit();
    void ShowStrokes(DWORD code);
    void Ok();

    HWND Item(int id) const { return GetDlgItem(window_, id); }

    HWND window_ = nullptr;
    AcceleratorRow& row_;
};

INT_PTR HotkeyEditor::Handle(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        OnInit();
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        Ok();
        return TRUE;
    case IDCANCEL:
        EndDialog(window_, FALSE);
        return TRUE;
    case IDC_HOTKEY_CLEAR:
        if (HIWORD(wParam) == BN_CLICKED) ShowStrokes(0);
        return TRUE;
    default:
        return FALSE;
    }
}

void HotkeyEditor::OnInit() {
    // The control names an arrow as the keypad's key unless told it is the
    // extended one; the row keeps only the three modifiers.
    WORD shown = row_.hotkey;
    if (IsExtendedKey(HotkeyKey(shown))) shown |= HOTKEYF_EXT << 8;
    SendMessageA(Item(IDC_HOTKEY_KEY), HKM_SETHOTKEY, shown, 0);
    const HWND hold = Item(IDC_HOTKEY_HOLD_KEY);
    AddChoices(hold, kHoldKeys, sizeof kHoldKeys / sizeof kHoldKeys[0]);
    if (!SelectValue(hold, row_.holdKey)) {
        SendMessageA(hold, CB_SETCURSEL, 0, 0);
        row_.holdKey = 0;
    }
    for (int list : kStrokeLists) AddChoices(Item(list), kStrokes, sizeof kStrokes / sizeof kStrokes[0]);
    ShowStrokes(row_.gesture);
}

// The code's strokes from the first (highest) group on fill the lists from
// the first; the lists left over show none.
void HotkeyEditor::ShowStrokes(DWORD code) {
    int list = 0;
    for (int group = kGroups - 1; group >= 0; --group) {
        const DWORD stroke = code >> (group * kGroupBits) & kGroupMask;
        if (stroke != kNoStroke && list < kStrokeCount) {
            if (!SelectValue(Item(kStrokeLists[list]), stroke)) {
                SelectValue(Item(kStrokeLists[list]), kNoStroke);
            }
            ++list;
        }
    }
    for (; list < kStrokeCount; ++list) SelectValue(Item(kStrokeLists[list]), kNoStroke);
}

void HotkeyEditor::Ok() {
    DWORD code = 0, previous = kNoStroke;
    for (int list : kStrokeLists) {
        const DWORD stroke = SelectedValue(Item(list));
        if (stroke == kNoStroke) continue;
        if (stroke == previous) {
            MessageBoxA(window_, dialog_texts::kRepeatedStroke, base_texts::kErrorCaption,
                        MB_ICONERROR);
            return;
        }
        code = code << kGroupBits | stroke;
        previous = stroke;
    }
    row_.hotkey = static_cast<WORD>(SendMessageA(Item(IDC_HOTKEY_KEY), HKM_GETHOTKEY, 0, 0));
    row_.gesture = code;
    row_.holdKey = static_cast<BYTE>(SelectedValue(Item(IDC_HOTKEY_HOLD_KEY)));
    EndDialog(window_, TRUE);
}

}  // namespace

WORD HotkeyWord(BYTE modifiers, WORD key) {
    BYTE flags = 0;
    if (modifiers & FALT) flags |= HOTKEYF_ALT;
    if (modifiers & FCONTROL) flags |= HOTKEYF_CONTROL;
    if (modifiers & FSHIFT) flags |= HOTKEYF_SHIFT;
    return MAKEWORD(LOBYTE(key), flags);
}

BYTE HotkeyModifiers(WORD hotkey) {
    const BYTE flags = HIBYTE(hotkey);
    BYTE modifiers = 0;
    if (flags & HOTKEYF_ALT) modifiers |= FALT;
    if (flags & HOTKEYF_CONTROL) modifiers |= FCONTROL;
    if (flags & HOTKEYF_SHIFT) modifiers |= FSHIFT;
    return modifiers;
}

DWORD CompactGesture(DWORD code) {
    DWORD compact = 0;
    for (int group = kGroups - 1; group >= 0; --group) {
        const DWORD stroke = code >> (group * kGroupBits) & kGroupMask;
        if (stroke != 0) compact = compact << kGroupBits | stroke;
    }
    return compact;
}

bool EditAcceleratorRow(HWND owner, AcceleratorRow& row) {
    HotkeyEditor editor(row);
    return editor.Run(owner);
}
