// The page "アクセラレータキー": one row per built-in command with its key
// and its mouse gesture, edited a row at a time in the row editor, and the
// two key options and the two gesture thresholds. The rows are working
// copies; the key table and the gesture table change only on OK.
#include "commands/accelerators.h"
#include "commands/command_texts.h"
#include "commands/gestures.h"
#include "commands/menu_settings.h"
#include "settings/dialog/accelerators_page_ids.h"
#include "settings/dialog/dialog_ids.h"
#include "settings/dialog/dialog_texts.h"
#include "settings/dialog/hotkey_editor.h"
#include "settings/dialog/pages.h"

#include <commctrl.h>

#include <array>

namespace {

constexpr int kRows = AcceleratorTable::kSlots;
// The list starts this far below the elapse field.
constexpr int kListGap = 8;
// The thresholds' widest value, 65535.
constexpr int kThresholdDigits = 5;

enum Column { kCommandColumn, kHotkeyColumn, kGestureColumn, kColumnCount };
// The columns' shares of the list's width, in twelfths.
constexpr int kColumnTwelfths[kColumnCount] = {6, 3, 3};

class AcceleratorsPage : public SettingsPage {
public:
    AcceleratorsPage() : SettingsPage(IDD_PAGE_ACCELERATORS) {}

protected:
    void Fill() override;
    void Write() override;
    void OnSize(int width, int height) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;

private:
    HWND List() const { return Item(IDC_ACCEL_LIST); }
    void AddColumns() const;
    void SetColumnWidths() const;
    void ShowRow(int row) const;
    void SetCell(int row, int column, const char* text) const;
    void EditSelectedRow();

    std::array<AcceleratorRow, kRows> rows_{};
};

void AcceleratorsPage::Fill() {
    const MenuSettings& menus = GetMenuSettings();
    const AcceleratorTable& keys = AcceleratorTable::Instance();
    const GestureTable& gestures = GestureTable::Instance();
    Check(IDC_ACCEL_DRAW_HOTKEYS, menus.drawHotkeys);
    Check(IDC_ACCEL_GLOBAL_HOOK, menus.globalHook);
    SendMessageA(Item(IDC_ACCEL_BORDER), EM_LIMITTEXT, kThresholdDigits, 0);
    SendMessageA(Item(IDC_ACCEL_ELAPSE), EM_LIMITTEXT, kThresholdDigits, 0);
    SetUpSpin(IDC_ACCEL_BORDER_SPIN, 1, GestureTable::kLargestSetting, gestures.Border());
    SetUpSpin(IDC_ACCEL_ELAPSE_SPIN, 1, GestureTable::kLargestSetting,
              static_cast<int>(gestures.Elapse()));

    ListView_SetExtendedListViewStyle(List(), LVS_EX_FULLROWSELECT);
    AddColumns();
    RECT page{};
    GetClientRect(window_, &page);
    OnSize(page.right, page.bottom);
    for (int row = 0; row < kRows; ++row) {
        rows_[row] = AcceleratorRow{HotkeyWord(keys.Modifiers(row), keys.Key(row)),
                                    gestures.Strokes(row), gestures.HoldKey(row)};
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<char*>(CommandText(row + 1));
        SendMessageA(List(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        ShowRow(row);
    }
    // The rows have brought the vertical scroll bar, which narrows the list.
    SetColumnWidths();
}

void AcceleratorsPage::Write() {
    MenuSettings& menus = GetMenuSettings();
    menus.drawHotkeys = Checked(IDC_ACCEL_DRAW_HOTKEYS);
    menus.globalHook = Checked(IDC_ACCEL_GLOBAL_HOOK);
    GestureTable& gestures = GestureTable::Instance();
    gestures.SetBorder(static_cast<int>(Number(IDC_ACCEL_BORDER)));
    gestures.SetElapse(Number(IDC_ACCEL_ELAPSE));
    AcceleratorTable& keys = AcceleratorTable::Instance();
    for (int row = 0; row < kRows; ++row) {
        keys.Set(row, HotkeyModifiers(rows_[row].hotkey), HotkeyKey(rows_[row].hotkey));
        gestures.Set(row, CompactGesture(rows_[row].gesture), rows_[row].holdKey);
    }
}

void AcceleratorsPage::AddColumns() const {
    const char* const titles[kColumnCount] = {dialog_texts::kMenuItemColumn,
                                              dialog_texts::kHotkeyColumn,
                                              dialog_texts::kGestureColumn};
    for (int column = 0; column < kColumnCount; ++column) {
        LVCOLUMNA info{};
        info.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
        info.fmt = LVCFMT_LEFT;
        info.pszText = const_cast<char*>(titles[column]);
        info.iSubItem = column;
        SendMessageA(List(), LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&info));
    }
}

// The list fills the page below the thresholds; its columns share its width.
void AcceleratorsPage::OnSize(int width, int height) {
    const HWND list = List(), elapse = Item(IDC_ACCEL_ELAPSE);
    if (!list || !elapse) return;  // the controls are not made yet
    RECT field{};
    GetWindowRect(elapse, &field);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&field), 2);
    const int top = field.bottom + kListGap;
    MoveWindow(list, 0, top, width, height > top ? height - top : 0, TRUE);
    SetColumnWidths();
}

void AcceleratorsPage::SetColumnWidths() const {
    RECT client{};
    GetClientRect(List(), &client);
    for (int column = 0; column < kColumnCount; ++column) {
        ListView_SetColumnWidth(List(), column, client.right * kColumnTwelfths[column] / 12);
    }
}

void AcceleratorsPage::ShowRow(int row) const {
    const AcceleratorRow& copy = rows_[row];
    SetCell(row, kHotkeyColumn, HotkeyText(HotkeyModifiers(copy.hotkey), HotkeyKey(copy.hotkey)));
    SetCell(row, kGestureColumn, GestureText(copy.gesture, copy.holdKey, false));
}

void AcceleratorsPage::SetCell(int row, int column, const char* text) const {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(List(), LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
}

bool AcceleratorsPage::OnMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR*) {
    if (message != WM_NOTIFY) return false;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom != IDC_ACCEL_LIST || header->code != NM_DBLCLK) return false;
    EditSelectedRow();
    return true;
}

void AcceleratorsPage::EditSelectedRow() {
    const int row = ListView_GetNextItem(List(), -1, LVNI_SELECTED);
    if (row < 0 || row >= kRows) return;
    // A held key the editor does not offer is dropped even on CANCEL.
    EditAcceleratorRow(window_, rows_[row]);
    ShowRow(row);
}

}  // namespace

std::unique_ptr<SettingsPage> MakeAcceleratorsPage() {
    return std::make_unique<AcceleratorsPage>();
}
