// cMain: start-up, the message routes and their handlers.
#include "app/main_window.h"

#include "app/app_ids.h"
#include "app/app_texts.h"
#include "app/settings_files.h"
#include "base/base_ids.h"
#include "base/base_texts.h"
#include "base/command_kinds.h"
#include "base/menu_data.h"
#include "base/messages.h"
#include "base/module_path.h"
#include "base/window_class.h"
#include "commands/accelerators.h"
#include "commands/gestures.h"
#include "commands/menu_settings.h"
#include "commands/menus.h"
#include "inputtap/inputtap.h"
#include "launcher/launcher_menus.h"
#include "launcher/shortcut_window.h"
#include "resources/resource_ids.h"
#include "settings/conditions.h"
#include "settings/dialog/settings_dialog.h"
#include "settings/session_file.h"
#include "settings/settings_ids.h"
#include "settings/system_data.h"
#include "tabs/close_requests.h"
#include "tabs/pane.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

namespace {

HWND g_mainWindow;

// How often the close at exit looks whether every application has answered.
constexpr DWORD kCloseWaitPollMs = 50;

constexpr UINT kTrayExit = 1;
constexpr UINT kTrayShowHide = 2;
constexpr UINT kTrayFirstWindow = 3;

// A placement rectangle is used only when some of it is on the screen, and
// only with a size a window can have (an edited file may hold any numbers).
bool ReachesScreen(const RECT& r) {
    constexpr long long kLargest = 32767;
    const long long width = static_cast<long long>(r.right) - r.left;
    const long long height = static_cast<long long>(r.bottom) - r.top;
    return r.left < GetSystemMetrics(SM_CXSCREEN) && r.right > 0 &&
           r.top < GetSystemMetrics(SM_CYSCREEN) && r.bottom > 0 && width > 0 &&
           width <= kLargest && height > 0 && height <= kLargest;
}

BOOL CALLBACK AddIfEligible(HWND candidate, LPARAM main) {
    char title[256] = "";
    if (CanAddWindow(candidate) && GetWindowTextA(candidate, title, sizeof title) > 0) {
        SendMessageA(reinterpret_cast<HWND>(main), PM_ADDWINDOW, 0,
                     reinterpret_cast<LPARAM>(candidate));
    }
    return TRUE;
}

}  // namespace

HWND MainWindow() { return g_mainWindow; }

cMain& cMain::Instance() {
    static cMain main;
    return main;
}

const MessageRoute<cMain> cMain::kRoutes[] = {
    {WM_CREATE, &cMain::OnCreate},
    {WM_SIZE, &cMain::OnSize, AfterHandler::CallDefault},
    {WM_DPICHANGED, &cMain::OnDpiChanged},
    {WM_CLOSE, &cMain::OnClose},
    {WM_QUERYENDSESSION, &cMain::OnQueryEndSession},
    {WM_ENDSESSION, &cMain::OnEndSession},
    {WM_DESTROY, &cMain::OnDestroy},
    {WM_COMMAND, &cMain::OnCommand},
    {WM_HOTKEY, &cMain::OnHotKey, AfterHandler::CallDefault},
    {WM_EXITMENULOOP, &cMain::OnExitMenuLoop},
    {PM_ADDWINDOW, &cMain::OnAddWindow},
    {PM_NEWWINDOW, &cMain::OnNewWindow},
    {PM_WINDOWSHOWN, &cMain::OnWindowShown},
    {PM_HOOKWHEEL, &cMain::OnHookWheel, AfterHandler::CallDefault},
    {PM_HOOKCOMMAND, &cMain::OnHookCommand},
    {PM_HOOKGESTURE, &cMain::OnHookGesture},
    {PM_APPLYSETTINGS, &cMain::OnApplySettings},
    {PM_TRAYNOTIFY, &cMain::OnTrayNotify},
    {PM_EXECCOMMAND, &cMain::OnExecCommand},
    {WM_ENABLE, &cMain::OnEnable},
    {WM_INITMENUPOPUP, &cMain::OnInitMenuPopup},
    {WM_MENUSELECT, &cMain::OnMenuSelect},
    {WM_MEASUREITEM, &cMain::OnMeasureItem},
    {WM_DRAWITEM, &cMain::OnDrawItem},
    {PM_POPUPMAINMENU, &cMain::OnPopupMainMenu},
    {WM_TIMER, &cMain::OnTimer, AfterHandler::CallDefault},
};

// What another process may ask for that changes the panes: carried out in
// the middle of an operation that waits for another application, it would
// change the tabs and records under that operation.
bool cMain::Deferred(UINT message) {
    switch (message) {
    case PM_ADDWINDOW:
    case PM_WINDOWSHOWN:
    case PM_EXECCOMMAND:
    case PM_APPLYSETTINGS:
    case PM_POPUPMAINMENU:
    case PM_TRAYNOTIFY:
    case WM_COMMAND:
    case WM_HOTKEY:
    case WM_CLOSE:
        return true;
    default:
        return false;
    }
}

LRESULT cMain::Defer(UINT message, WPARAM wParam, LPARAM lParam) {
    PostMessageA(window_, message, wParam, lParam);
    // The answers the sender reads: a window that passes the capture's
    // checks now is promised, and taken in a moment whatever its application
    // does with it meanwhile short of destroying it; a command is carried out.
    if (message == PM_ADDWINDOW) {
        const HWND window = reinterpret_cast<HWND>(lParam);
        if (!ActivePane()->CanHold(window)) return 0;
        promised_.push_back(window);
        return 1;
    }
    return message == PM_EXECCOMMAND ? 1 : 0;
}

LRESULT cMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (HandlingDepth() > 1 && InSendMessage() && Deferred(message)) {
        return Defer(message, wParam, lParam);
    }
    // A restarted shell knows no icon of ours; with trayOnMinimize the icon
    // is the only way back to a hidden main window. (Its number is given out
    // at run time, so it has no route of its own.)
    if (message == taskbarCreated_ && taskbarCreated_) {
        tray_.Add(window_, instance_, PM_TRAYNOTIFY);
        return 0;
    }
    return RouteMessage(*this, kRoutes, window_, message, wParam, lParam, DefWindowProcA);
}

bool cMain::Init(HINSTANCE instance) {
    cMain& self = Instance();
    self.instance_ = instance;
    self.taskbarCreated_ = RegisterWindowMessageA(app_ids::kTaskbarCreated);
    ActivePane() = &RootPane();
    constexpr WNDPROC procedure =
        BoundWindowProc<cMain, app_ids::kMainProperty, &cMain::window_, &cMain::HandleMessage>;
    if (!RegisterWindowClass(instance, base_ids::kMainClassName, procedure, MenuColorBrush(),
                             LoadIconA(instance, MAKEINTRESOURCEA(IDI_PANELRY)))) {
        MessageBoxA(nullptr, app_texts::kRegisterClassError, base_texts::kErrorCaption,
                    MB_ICONERROR);
        return false;
    }

    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
    int show = SW_SHOWNORMAL;
    WINDOWPLACEMENT placement{};
    if (LoadAllSettings(&placement)) {
        const RECT& r = placement.rcNormalPosition;
        if (ReachesScreen(r)) {
            x = r.left;
            y = r.top;
            width = r.right - r.left;
            height = r.bottom - r.top;
        }
        show = static_cast<int>(placement.showCmd);
        if (GetSystemData().startMinimized || show == 0) show = SW_SHOWMINIMIZED;
    }

    HWND window = CreateWindowExA(GetSystemData().mainExStyle, base_ids::kMainClassName,
                                  app_texts::kMainTitle, WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW, x,
                                  y, width, height, nullptr, nullptr, instance, &self);
    if (!window) {
        self.window_ = nullptr;
        return false;
    }
    self.session_.Attach(window, instance, ModuleFilePath(settings_ids::kSessionIni));

    self.LayOut();
    ShowWindow(window, show);
    SendMessageA(window, PM_APPLYSETTINGS, 0, 0);
    // The last session's windows go to their panes before the windows that
    // run now are added, so that adding all does not take them first.
    const bool restoreSession = RestoreSessionOption();
    if (restoreSession) {
        if (GetSystemData().restoreSplit) {
            RootPane().LoadSplitLayout(ModuleFilePath(settings_ids::kSystemIni));
        }
        self.StartSessionRestore();
    }
    if (GetSystemData().addAllOnStart) SendMessageA(window, WM_COMMAND, kAddAllWindows, 0);
    if (GetSystemData().autoAddOnStart) INPUTTAP_Start();
    if (GetSystemData().restoreSplit && !restoreSession) {
        RootPane().LoadSplitLayout(ModuleFilePath(settings_ids::kSystemIni));
    }
    return true;
}

LRESULT cMain::OnCreate(WPARAM, LPARAM) {
    g_mainWindow = window_;
    closing_ = false;
    INPUTTAP_SetHWND(window_);
    const SystemData& settings = GetSystemData();
    if (!RootPane().Create(window_, instance_, settings.headerActiveBack,
                           settings.headerInactiveBack, settings.headerActiveText,
                           settings.headerInactiveText, *this)) {
        MessageBoxA(nullptr, app_texts::kPaneCreationFailed, base_texts::kErrorCaption,
                    MB_ICONERROR);
        RootPane().DestroyWindows();
        g_mainWindow = nullptr;
        return -1;
    }
    tray_.Add(window_, instance_, PM_TRAYNOTIFY);
    tools_ = std::make_unique<ToolHost>(RootPane(), window_);
    SetToolMenuSource(tools_.get());
    RegisterLauncherMenus(window_, this);
    return 0;
}

void cMain::LayOut() {
    RECT free{};
    GetClientRect(window_, &free);
    ShortcutWindow().Layout(free);
    RootPane().MoveBaseWindow(free.left, free.top, free.right - free.left,
                              free.bottom - free.top);
}

LRESULT cMain::OnSize(WPARAM wParam, LPARAM) {
    if (wParam != SIZE_MINIMIZED) {
        LayOut();
    } else if (GetSystemData().trayOnMinimize) {
        ShowWindow(window_, SW_HIDE);
    }
    return 0;
}

// Moved to a monitor of another scale (or the scale changed): Windows
// suggests the rectangle that keeps the window's size in 96-dpi units.
LRESULT cMain::OnDpiChanged(WPARAM, LPARAM lParam) {
    RootPane().ApplyDpi();
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // A move within the same size sends no WM_SIZE.
    LayOut();
    return 0;
}

LRESULT cMain::OnClose(WPARAM, LPARAM) {
    // Another request while the first waits for the applications' answers.
    if (closing_) return 0;
    closing_ = true;
    // Saved first, so the placement and layout are those the user left.
    SaveAllSettings(window_);
    SaveSession();
    ShortcutWindow().Destroy();  // which writes shortcut.ini
    if (GetSystemData().closeAllOnExit) CloseEveryWindowAndWait();
    // Gives back (or closes) every captured window of every pane.
    RootPane().DestroyWindows();
    DestroyWindow(window_);
    return 0;
}

// A log-off or shutdown asks every top-level window, but a captured window
// is our child: its application would not be asked for it, and it would be
// destroyed with our process. So before the session goes on every window
// goes back to the desktop as it was, and its application gets its own
// question (save changes?) about it.
LRESULT cMain::OnQueryEndSession(WPARAM, LPARAM) {
    // Only here: at WM_ENDSESSION the tabs are gone already.
    SaveSession();
    GiveEverythingBackForSessionEnd();
    return TRUE;
}

LRESULT cMain::OnEndSession(WPARAM wParam, LPARAM) {
    // Anything captured since the question goes back too; a session that
    // goes on leaves the windows on the desktop.
    if (wParam) GiveEverythingBackForSessionEnd();
    return 0;
}

// The applications ask their users one after the other, and the program
// goes on answering meanwhile: a window that closes leaves its tab, and
// whatever is left when every request has been handled goes back to the
// desktop as the panes go.
void cMain::CloseEveryWindowAndWait() {
    RootPane().AskEveryWindowToClose();
    while (!CloseRequests::Instance().Idle()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kCloseWaitPollMs, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void cMain::GiveEverythingBackForSessionEnd() {
    // Saved first, so the placement and layout are those the user left.
    SaveAllSettings(window_);
    RootPane().ReleaseEveryWindow();
}

LRESULT cMain::OnDestroy(WPARAM, LPARAM) {
    // Also when the window goes without WM_CLOSE: the entries are saved.
    ShortcutWindow().Destroy();
    UnregisterLauncherMenus();
    SetToolMenuSource(nullptr);
    tools_.reset();
    session_.Stop();
    tray_.Remove();
    INPUTTAP_End();
    INPUTTAP_AccelEnd();
    INPUTTAP_MouseEnd();
    KillTimer(window_, kMenuDataTimer);
    KillTimer(window_, kGestureForgetTimer);
    TheLaunchedWindowCapture().Forget();
    g_mainWindow = nullptr;
    PostQuitMessage(0);
    return 0;
}

LRESULT cMain::OnCommand(WPARAM wParam, LPARAM lParam) {
    const WORD source = HIWORD(wParam);  // 0 menu, 1 accelerator
    if ((source == 0 || source == 1) && lParam == 0) {
        const LPARAM menu = reinterpret_cast<LPARAM>(GetMenu(window_));
        if (SendMessageA(window_, PM_EXECCOMMAND, wParam, menu)) return 0;
    }
    return DefWindowProcA(window_, WM_COMMAND, wParam, lParam);
}

LRESULT cMain::OnHotKey(WPARAM wParam, LPARAM) {
    SendMessageA(window_, PM_EXECCOMMAND, wParam, 0);
    return 0;
}

LRESULT cMain::OnExitMenuLoop(WPARAM, LPARAM) {
    StartMenuDataTimer(window_);
    return 0;
}

LRESULT cMain::OnAddWindow(WPARAM, LPARAM lParam) {
    const HWND window = reinterpret_cast<HWND>(lParam);
    const auto promise = std::find(promised_.begin(), promised_.end(), window);
    if (promise != promised_.end()) {
        // Promised only to a sender on another thread (Defer).
        promised_.erase(promise);
        return ActivePane()->AddPromisedWindow(window, cTab::BringFor(window, true)) ? 1 : 0;
    }
    // Sent from another thread: another process asks (this program's own
    // requests come from its one user-interface thread).
    const bool fromOutside = (InSendMessageEx(nullptr) & ISMEX_SEND) != 0;
    return ActivePane()->AddNewWindow(window, -1, cTab::BringFor(window, fromOutside)) ? 1 : 0;
}

LRESULT cMain::OnNewWindow(WPARAM, LPARAM lParam) {
    const HWND window = reinterpret_cast<HWND>(lParam);
    // The restore puts it in its own pane, in its place.
    if (session_.Wants(window)) return 0;
    ActivePane()->QueueWindow(window);
    return 0;
}

LRESULT cMain::OnWindowShown(WPARAM, LPARAM lParam) {
    const HWND window = reinterpret_cast<HWND>(lParam);
    // Queued on the pane that was active when it was reported, which may
    // have lost that place since.
    for (cTab* pane = &RootPane(); pane; pane = pane->Child()) pane->CaptureShown(window);
    return 0;
}

LRESULT cMain::OnHookWheel(WPARAM wParam, LPARAM) {
    if (GetKeyState(GetSystemData().wheelModifierKey) < 0) {
        // Turned away from the user: the tab to the left.
        if (GET_WHEEL_DELTA_WPARAM(wParam) > 0) ActivePane()->SelectPrevTab();
        else ActivePane()->SelectNextTab();
    }
    return 0;
}

LRESULT cMain::OnHookCommand(WPARAM wParam, LPARAM) {
    PostMessageA(window_, WM_COMMAND, wParam, 0);
    return 0;
}

LRESULT cMain::OnHookGesture(WPARAM wParam, LPARAM lParam) {
    GestureStep(window_, static_cast<int>(wParam), static_cast<int>(lParam));
    return 0;
}

LRESULT cMain::OnApplySettings(WPARAM, LPARAM) {
    const SystemData& settings = GetSystemData();
    if (settings.showMenu) ShowMenuBar(window_);
    else HideMenuBar(window_);
    cShortcutWnd& strip = ShortcutWindow();
    if (!settings.showShortcutWindow) {
        strip.Destroy();
    } else if (!strip.IsShown()) {
        strip.Create(window_, instance_, settings.shortcutStyle, settings.shortcutExStyle,
                     settings.shortcutPosition, settings.shortcutSmallIcons != 0);
    }
    AcceleratorTable::Instance().Build(1);
    int mouseReports = StartGestureRecognition(window_) ? INPUTTAP_MOUSE_MOVE : 0;
    if (settings.wheelSwitchesTabs) mouseReports |= INPUTTAP_MOUSE_WHEEL;
    INPUTTAP_MouseStart(mouseReports);
    SetWindowLongA(window_, GWL_EXSTYLE, static_cast<LONG>(settings.mainExStyle));
    RootPane().ApplyLook();
    strip.SetStyle(settings.shortcutStyle, settings.shortcutExStyle);
    strip.SetLayout(settings.shortcutPosition, settings.shortcutSmallIcons != 0);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    DrawMenuBar(window_);
    if (GetMenuSettings().globalHook) INPUTTAP_AccelStart();
    else INPUTTAP_AccelEnd();
    SendMessageA(window_, WM_SIZE, 0, 0);
    return 0;
}

LRESULT cMain::OnTrayNotify(WPARAM, LPARAM lParam) {
    // Hiding the window or exiting from under a modal window would pull
    // the panes away from the code that opened it.
    if (!IsWindowEnabled(window_)) {
        if (lParam == WM_LBUTTONDBLCLK || lParam == WM_RBUTTONDOWN) BringModalWindowForward();
        return 0;
    }
    if (lParam == WM_LBUTTONDBLCLK) ToggleFromTray();
    else if (lParam == WM_RBUTTONDOWN) ShowTrayMenu();
    return 0;
}

// A command from outside the panes (the menu bar, a key, a gesture, another
// process) acts on the active pane.
LRESULT cMain::OnExecCommand(WPARAM wParam, LPARAM lParam) {
    const unsigned id = static_cast<unsigned>(wParam);
    if (HoldForModalWindow(LOWORD(id))) return 1;
    cTab& pane = *ActivePane();
    if (ExecListCommand({window_, pane}, id, reinterpret_cast<HMENU>(lParam))) return 1;
    if (pane.ExecCommand(LOWORD(id))) return 1;
    return ExecOwnCommand(CommandKindOf(id)) ? 1 : 0;
}

// A pane has tried the command itself already.
bool cMain::ExecHostCommand(cTab& pane, unsigned id) {
    if (HoldForModalWindow(LOWORD(id))) return true;
    if (ExecListCommand({window_, pane}, id, nullptr)) return true;
    return ExecOwnCommand(CommandKindOf(id));
}

LRESULT cMain::OnInitMenuPopup(WPARAM wParam, LPARAM lParam) {
    // The high word set is the window menu, which the model does not fill.
    if (HIWORD(lParam) != 0) return 0;
    FillMenuBarPopup({window_, *ActivePane()}, reinterpret_cast<HMENU>(wParam), LOWORD(lParam));
    return 0;
}

LRESULT cMain::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
    NoteMenuSelection(wParam, lParam);
    return 0;
}

// Control id 0: a menu item.
LRESULT cMain::OnMeasureItem(WPARAM wParam, LPARAM lParam) {
    if (wParam == 0 && MeasureListItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
    return DefWindowProcA(window_, WM_MEASUREITEM, wParam, lParam);
}

LRESULT cMain::OnDrawItem(WPARAM wParam, LPARAM lParam) {
    if (wParam == 0 && DrawListItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
    return DefWindowProcA(window_, WM_DRAWITEM, wParam, lParam);
}

LRESULT cMain::OnPopupMainMenu(WPARAM, LPARAM) { return PopupMainMenu({window_, *ActivePane()}); }

LRESULT cMain::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam == kSessionRestoreTimer) session_.OnTimer();
    return 0;
}

void cMain::StartSessionRestore() { session_.Start(RootPane()); }

void cMain::SaveSession() { session_.Save(RootPane()); }

// A modal window of ours disables the main window. A key or a gesture
// still posts its command meanwhile: the settings command would nest a
// second settings dialog, whose OK the outer one's older copies overwrite,
// and a command on the panes would change them under the code that opened
// the modal window. So the one brings the open window forward, and the
// others wait, in their order, until it has closed.
bool cMain::HoldForModalWindow(unsigned command) {
    if (IsWindowEnabled(window_) || command < 1 || command > kBuiltInCommandCount) return false;
    if (command == kSettings) BringModalWindowForward();
    else heldCommands_.push_back(command);
    return true;
}

void cMain::BringModalWindowForward() const {
    const HWND open = GetLastActivePopup(window_);
    if (open && open != window_) SetForegroundWindow(open);
}

LRESULT cMain::OnEnable(WPARAM wParam, LPARAM) {
    if (!wParam) return 0;
    // Posted, so that the modal window's caller finishes first.
    for (const unsigned command : heldCommands_) PostMessageA(window_, PM_EXECCOMMAND, command, 0);
    heldCommands_.clear();
    return 0;
}

bool cMain::ExecOwnCommand(int kind) {
    switch (kind) {
    case kAddAllWindows:
        AddAllWindows();
        return true;
    case kWatchOn:
        // The user's watch from now on, which no launched window ends.
        TheLaunchedWindowCapture().Forget();
        INPUTTAP_Start();
        return true;
    case kWatchOff:
        TheLaunchedWindowCapture().Forget();
        INPUTTAP_End();
        return true;
    case kSettings:
        if (ShowSettingsDialog(window_)) {
            SendMessageA(window_, PM_APPLYSETTINGS, 0, 0);
            session_.OptionChanged(RootPane());
        }
        return true;
    default:
        return false;
    }
}

void cMain::AddAllWindows() {
    EnumWindows(&AddIfEligible, reinterpret_cast<LPARAM>(window_));
}

void cMain::ArmLaunchCapture() { TheLaunchedWindowCapture().Arm(); }

void cMain::LaunchFinished(bool started, DWORD processId) {
    TheLaunchedWindowCapture().Finished(started, processId);
}

bool cMain::LaunchCaptureArmed() const { return TheLaunchedWindowCapture().Armed(); }

bool cMain::ConsumeLaunchCapture(HWND window) {
    return TheLaunchedWindowCapture().Consume(window);
}

unsigned cMain::ChooseFromMainMenu(cTab& pane) {
    const int id = PopupMainMenu({window_, pane});
    return id > 0 ? static_cast<unsigned>(id) : 0;
}

unsigned cMain::ChooseFromTabMenu(cTab& pane) { return PopupTabMenu({window_, pane}); }

void cMain::ToggleFromTray() {
    ShowWindow(window_, IsIconic(window_) ? SW_SHOWNORMAL : SW_SHOWMINIMIZED);
    SetForegroundWindow(window_);
}

UniqueMenu cMain::BuildTrayMenu() const {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return menu;
    if (RootPane().ListWindowsInMenu(menu.get(), kTrayFirstWindow)) {
        AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    }
    AppendMenuA(menu.get(), MF_STRING, kTrayShowHide,
                IsWindowVisible(window_) ? app_texts::kTrayHide : app_texts::kTrayShow);
    AppendMenuA(menu.get(), MF_STRING, kTrayExit, app_texts::kTrayExit);
    return menu;
}

void cMain::ShowTrayMenu() {
    UniqueMenu menu = BuildTrayMenu();
    if (!menu) return;
    POINT at{};
    GetCursorPos(&at);
    SetForegroundWindow(window_);
    // Wine shows no popup menu for a hidden owner, and the tray menu matters
    // most while the main window is hidden; a message-only window owns it
    // then (the choice comes back as the result, not as a message).
    UniqueWindow standIn;
    HWND owner = window_;
    if (!IsWindowVisible(window_)) {
        standIn.reset(CreateWindowExA(0, WC_STATICA, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       instance_, nullptr));
        if (standIn) owner = standIn.get();
    }
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr));
    if (chosen == kTrayExit) {
        SendMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (chosen == kTrayShowHide) {
        SendMessageA(window_, PM_TRAYNOTIFY, 1, WM_LBUTTONDBLCLK);
    } else if (chosen >= kTrayFirstWindow) {
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_DATA;
        if (GetMenuItemInfoA(menu.get(), chosen, FALSE, &item) && item.dwItemData) {
            RootPane().ReleaseByWindow(reinterpret_cast<HWND>(item.dwItemData));
        }
    }
}
