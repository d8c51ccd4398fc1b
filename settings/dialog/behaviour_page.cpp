// The page "動作設定": start-up, exit, adding, child-window, menu and wheel
// options of the settings record, one control each, and the option kept
// in session.ini.
#include "settings/dialog/behaviour_page_ids.h"
#include "settings/dialog/dialog_ids.h"
#include "settings/dialog/pages.h"
#include "settings/dialog/separator_lines.h"
#include "settings/session_file.h"
#include "settings/system_data.h"

#include <commctrl.h>

#include <cstdint>

namespace {

struct FlagBox {
    int id;
    Flag SystemData::*field;
};

constexpr FlagBox kFlagBoxes[] = {
    {IDC_BEHAVIOUR_ADD_ALL, &SystemData::addAllOnStart},
    {IDC_BEHAVIOUR_AUTO_ADD, &SystemData::autoAddOnStart},
    {IDC_BEHAVIOUR_START_MINIMIZED, &SystemData::startMinimized},
    {IDC_BEHAVIOUR_RESTORE_SPLIT, &SystemData::restoreSplit},
    {IDC_BEHAVIOUR_MINIMIZE_ALL_ON_EXIT, &SystemData::minimizeAllOnExit},
    {IDC_BEHAVIOUR_CLOSE_ALL_ON_EXIT, &SystemData::closeAllOnExit},
    {IDC_BEHAVIOUR_ADD_LAUNCHED, &SystemData::addLaunchedWindows},
    {IDC_BEHAVIOUR_RESTORE_ON_ADD, &SystemData::restoreOnAdd},
    {IDC_BEHAVIOUR_TRAY_ON_MINIMIZE, &SystemData::trayOnMinimize},
    {IDC_BEHAVIOUR_RELEASE_BEFORE_CLOSE, &SystemData::releaseBeforeClose},
    {IDC_BEHAVIOUR_SHOW_MENU, &SystemData::showMenu},
    {IDC_BEHAVIOUR_WHEEL_SWITCHES_TABS, &SystemData::wheelSwitchesTabs},
};

struct WheelKey {
    const char* label;
    int virtualKey;
};

// The first is also what a stored key outside the list becomes.
constexpr WheelKey kWheelKeys[] = {
    {"SHIFT", VK_SHIFT},      {"CONTROL", VK_CONTROL}, {"ALT", VK_MENU},
    {"左クリック", VK_LBUTTON}, {"右クリック", VK_RBUTTON},
};
constexpr int kWheelKeyCount = sizeof kWheelKeys / sizeof kWheelKeys[0];

constexpr int kMinStartMenuItems = 8;

// The groups start-up, exit, adding, child windows, menus and wheel.
constexpr SeparatorLines::Between kGroupLines[] = {
    {IDC_BEHAVIOUR_RESTORE_SESSION, IDC_BEHAVIOUR_MINIMIZE_ALL_ON_EXIT},
    {IDC_BEHAVIOUR_CLOSE_ALL_ON_EXIT, IDC_BEHAVIOUR_ADD_LAUNCHED},
    {IDC_BEHAVIOUR_TRAY_ON_MINIMIZE, IDC_BEHAVIOUR_RELEASE_BEFORE_CLOSE},
    {IDC_BEHAVIOUR_WATCH_INTERVAL, IDC_BEHAVIOUR_SHOW_MENU},
    {IDC_BEHAVIOUR_START_MENU_ITEMS, IDC_BEHAVIOUR_WHEEL_SWITCHES_TABS},
};

class BehaviourPage : public SettingsPage {
public:
    BehaviourPage() : SettingsPage(IDD_PAGE_BEHAVIOUR) {}

protected:
    void Fill() override {
        SystemData& data = GetSystemData();
        for (const FlagBox& box : kFlagBoxes) Check(box.id, data.*box.field != 0);
        Check(IDC_BEHAVIOUR_RESTORE_SESSION, RestoreSessionOption());
        SetUpSpin(IDC_BEHAVIOUR_WATCH_INTERVAL_SPIN, 0, kMaxWatchInterval, data.watchInterval);
        SetUpSpin(IDC_BEHAVIOUR_START_MENU_ITEMS_SPIN, kMinStartMenuItems, kMaxStartMenuItems,
                  data.startMenuMaxItems);
        FillWheelKeys(data);
        EnableWheelKeys();
        lines_.Create(window_, kGroupLines, sizeof kGroupLines / sizeof kGroupLines[0]);
    }

    void Write() override {
        SystemData& data = GetSystemData();
        for (const FlagBox& box : kFlagBoxes) data.*box.field = Checked(box.id) ? 1 : 0;
        RestoreSessionOption() = Checked(IDC_BEHAVIOUR_RESTORE_SESSION);
        data.watchInterval = static_cast<std::int32_t>(Number(IDC_BEHAVIOUR_WATCH_INTERVAL));
        data.startMenuMaxItems = static_cast<std::int32_t>(Number(IDC_BEHAVIOUR_START_MENU_ITEMS));
        const LRESULT chosen = SendMessageA(Item(IDC_BEHAVIOUR_WHEEL_KEY), CB_GETCURSEL, 0, 0);
        if (chosen != CB_ERR) {
            data.wheelModifierKey = static_cast<std::int32_t>(
                SendMessageA(Item(IDC_BEHAVIOUR_WHEEL_KEY), CB_GETITEMDATA, chosen, 0));
        }
    }

    bool OnCommand(WORD id, WORD code, HWND) override {
        if (id == IDC_BEHAVIOUR_WHEEL_SWITCHES_TABS && code == BN_CLICKED) {
            EnableWheelKeys();
            return true;
        }
        return false;
    }

    void OnSize(int, int) override { lines_.Layout(); }

    bool OnMessage(UINT message, WPARAM, LPARAM, INT_PTR*) override {
        if (message == WM_DESTROY) lines_.Destroy();
        return false;
    }

private:
    void FillWheelKeys(SystemData& data) const {
        const HWND list = Item(IDC_BEHAVIOUR_WHEEL_KEY);
        for (const WheelKey& key : kWheelKeys) {
            const LRESULT index =
                SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(key.label));
            SendMessageA(list, CB_SETITEMDATA, index, key.virtualKey);
        }
        SendMessageA(list, CB_SETCURSEL, 0, 0);
        for (int index = kWheelKeyCount - 1; index >= 0; --index) {
            if (SendMessageA(list, CB_GETITEMDATA, index, 0) == data.wheelModifierKey) {
                SendMessageA(list, CB_SETCURSEL, index, 0);
                return;
            }
        }
        // A key the list does not offer could never be chosen again, so the
        // record takes the one the list shows, even if the dialog is cancelled.
        data.wheelModifierKey = kWheelKeys[0].virtualKey;
    }

    void EnableWheelKeys() const {
        Enable(IDC_BEHAVIOUR_WHEEL_KEY, Checked(IDC_BEHAVIOUR_WHEEL_SWITCHES_TABS));
    }

    SeparatorLines lines_;
};

}  // namespace

std::unique_ptr<SettingsPage> MakeBehaviourPage() { return std::make_unique<BehaviourPage>(); }
