// The main window: hub of every message from outside the panes, owner of the
// notification-area icon, and the place every command id ends up.
#pragma once

#include "app/session_restore.h"
#include "app/tray_icon.h"
#include "base/handles.h"
#include "base/window_binding.h"
#include "launcher/launch_capture.h"
#include "plugins/host/tool_slots.h"
#include "tabs/pane_host.h"

#include <windows.h>

#include <memory>
#include <vector>

// The main window, or null while there is none.
HWND MainWindow();

class cMain : public PaneHost, public LaunchCapture {
public:
    // Registers the class, loads every settings file, creates and shows the
    // main window, applies the settings and runs the start-up actions.
    static bool Init(HINSTANCE instance);
    static cMain& Instance();

    HWND Window() const { return window_; }

    // Before a launch: switch the new-window watch on for one window only;
    // after it, how it went (LaunchedWindowCapture).
    void ArmLaunchCapture() override;
    void LaunchFinished(bool started, DWORD processId) override;
    bool LaunchCaptureArmed() const override;

    // What the panes ask of the main window.
    HWND HostWindow() const override { return window_; }
    bool ConsumeLaunchCapture(HWND window) override;
    unsigned ChooseFromMainMenu(cTab& pane) override;
    unsigned ChooseFromTabMenu(cTab& pane) override;
    bool ExecHostCommand(cTab& pane, unsigned id) override;

    // Sends PM_ADDWINDOW for every top-level window the conditions accept
    // and that has a title.
    void AddAllWindows();

    // The notification-area menu, as it pops up; ids: 1 exit, 2 hide or
    // show, 3 and up captured windows (their handles as item data).
    UniqueMenu BuildTrayMenu() const;

    // The restore of the last session; null when none was started.
    const SessionRestore* Restore() const { return session_.Restore(); }

private:
    static const MessageRoute<cMain> kRoutes[];
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A request from another thread that arrives in the middle of handling
    // another message: posted back to the main window and carried out after.
    static bool Deferred(UINT message);
    LRESULT Defer(UINT message, WPARAM wParam, LPARAM lParam);

    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnDpiChanged(WPARAM, LPARAM);
    LRESULT OnClose(WPARAM, LPARAM);
    LRESULT OnQueryEndSession(WPARAM, LPARAM);
    LRESULT OnEndSession(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnCommand(WPARAM, LPARAM);
    LRESULT OnHotKey(WPARAM, LPARAM);
    LRESULT OnExitMenuLoop(WPARAM, LPARAM);
    LRESULT OnAddWindow(WPARAM, LPARAM);
    LRESULT OnNewWindow(WPARAM, LPARAM);
    LRESULT OnWindowShown(WPARAM, LPARAM);
    LRESULT OnHookWheel(WPARAM, LPARAM);
    LRESULT OnHookCommand(WPARAM, LPARAM);
    LRESULT OnHookGesture(WPARAM, LPARAM);
    LRESULT OnApplySettings(WPARAM, LPARAM);
    LRESULT OnTrayNotify(WPARAM, LPARAM);
    LRESULT OnExecCommand(WPARAM, LPARAM);
    LRESULT OnEnable(WPARAM, LPARAM);
    LRESULT OnInitMenuPopup(WPARAM, LPARAM);
    LRESULT OnMenuSelect(WPARAM, LPARAM);
    LRESULT OnMeasureItem(WPARAM, LPARAM);
    LRESULT OnDrawItem(WPARAM, LPARAM);
    LRESULT OnPopupMainMenu(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);

    bool ExecOwnCommand(int kind);
    // While a modal window of ours is open; true when the command was taken
    // care of here.
    bool HoldForModalWindow(unsigned command);
    void BringModalWindowForward() const;
    void GiveEverythingBackForSessionEnd();
    void CloseEveryWindowAndWait();
    void ToggleFromTray();
    void ShowTrayMenu();
    void LayOut();
    void StartSessionRestore();
    // Writes session.ini as the option asks: the tabs while it is on, only
    // the option off (in a file that exists already) while it is off.
    void SaveSession();

    HWND window_ = nullptr;
    HINSTANCE instance_ = nullptr;
    TrayIcon tray_;
    // The tool list's source while the window exists.
    std::unique_ptr<ToolHost> tools_;
    LastSession session_;
    // The shell's "TaskbarCreated", registered at start.
    UINT taskbarCreated_ = 0;
    // Windows whose capture a deferred PM_ADDWINDOW promised its sender.
    std::vector<HWND> promised_;
    // Commands that came while a modal window was open, in their order;
    // carried out once it has closed.
    std::vector<unsigned> heldCommands_;
    // Set while WM_CLOSE waits for the applications' answers.
    bool closing_ = false;
};
