// The pages "追加するレジスタクラス" and "排除するレジスタクラス": one design,
// bound to the add or the remove conditions, that edits a set's class
// criterion and its class names. The list box keeps the names sorted, and
// OK stores them in that order.
#include "launcher/window_picker.h"
#include "settings/conditions.h"
#include "settings/dialog/class_page_ids.h"
#include "settings/dialog/dialog_ids.h"
#include "settings/dialog/pages.h"

#include <algorithm>

namespace {

constexpr int kControls[] = {IDC_CLASSES_LIST, IDC_CLASSES_ADD, IDC_CLASSES_DELETE};

// Sent by the page to itself once the dialog around it is built.
constexpr UINT kEnableControls = WM_APP + 1;

// Between the check box and the list.
constexpr int kListGap = 4;

class ClassPage : public SettingsPage {
public:
    explicit ClassPage(cWndCondition& (*set)()) : SettingsPage(IDD_PAGE_CLASSES), set_(set) {}

protected:
    void Fill() override {
        const cWndCondition& set = set_();
        Check(IDC_CLASSES_ENABLED, set.classOn);
        set.classes.ToListBox(Item(IDC_CLASSES_LIST));
        PostMessageA(window_, kEnableControls, 0, 0);
        // The page got its size before it had controls, and the dialog may
        // keep that size: no WM_SIZE would lay the list out.
        RECT client{};
        GetClientRect(window_, &client);
        LayOutList(client.bottom);
    }

    void Write() override {
        cWndCondition& set = set_();
        set.classOn = Checked(IDC_CLASSES_ENABLED);
        set.classes.FromListBox(Item(IDC_CLASSES_LIST));
    }

    bool OnCommand(WORD id, WORD code, HWND) override {
        if (code != BN_CLICKED) return false;
        switch (id) {
        case IDC_CLASSES_ENABLED:
            EnableControls();
            return true;
        case IDC_CLASSES_ADD:
            AddPicked();
            return true;
        case IDC_CLASSES_DELETE:
            DeleteSelected();
            return true;
        default:
            return false;
        }
    }

    void OnSize(int, int height) override { LayOutList(height); }

    bool OnMessage(UINT message, WPARAM, LPARAM, INT_PTR*) override {
        if (message != kEnableControls) return false;
        EnableControls();
        return true;
    }

private:
    void EnableControls() const {
        const bool on = Checked(IDC_CLASSES_ENABLED);
        for (int id : kControls) Enable(id, on);
    }

    void AddPicked() const {
        const auto instance =
            reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window_, GWLP_HINSTANCE));
        const char* name = PickWindowClass(window_, instance);
        if (!name || !*name) return;
        const HWND list = Item(IDC_CLASSES_LIST);
        const LRESULT row = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        if (row >= 0) SendMessageA(list, LB_SETCURSEL, row, 0);
    }

    // The selection stays where the deleted name was, so that names can be
    // deleted one after the other.
    void DeleteSelected() const {
        const HWND list = Item(IDC_CLASSES_LIST);
        const LRESULT row = SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (row == LB_ERR) return;
        SendMessageA(list, LB_DELETESTRING, row, 0);
        const LRESULT left = SendMessageA(list, LB_GETCOUNT, 0, 0);
        if (left > 0) SendMessageA(list, LB_SETCURSEL, std::min(row, left - 1), 0);
    }

    // The list fills the page under the check box, as wide as it was made.
    void LayOutList(int height) const {
        const HWND box = Item(IDC_CLASSES_ENABLED), list = Item(IDC_CLASSES_LIST);
        if (!box || !list) return;
        RECT boxRect{}, listRect{};
        GetWindowRect(box, &boxRect);
        GetWindowRect(list, &listRect);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&boxRect), 2);
        const int top = boxRect.bottom + kListGap;
        MoveWindow(list, 0, top, listRect.right - listRect.left, std::max(0, height - top), TRUE);
    }

    cWndCondition& (*set_)();
};

}  // namespace

std::unique_ptr<SettingsPage> MakeAddClassesPage() {
    return std::make_unique<ClassPage>(&AddConditions);
}
std::unique_ptr<SettingsPage> MakeRemoveClassesPage() {
    return std::make_unique<ClassPage>(&RemoveConditions);
}
