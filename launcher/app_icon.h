// A launcher icon: one slot of the shortcut window. It shows the icon of the
// file registered in it, launches the file on a click, takes a file dropped
// on it, and offers a context menu to launch, open the file's folder,
// unregister, register another file or show what the file is. A shell
// shortcut is registered as the file it points to.
#pragma once

#include "base/handles.h"

#include <windows.h>
#include <shellapi.h>

// The open-file dialog a file is registered with ("ファイルの登録": programs
// first, then all files; only files that exist), owned by owner. True with
// the chosen file's path in file.
bool ChooseFileToRegister(HWND owner, char (&file)[MAX_PATH]);

class cAppIcon {
public:
    // The context menu's command ids.
    enum Command : UINT {
        kUnregister = 1,
        kRegister = 2,
        kInformation = 3,
        kOpen = 4,
        kOpenFolder = 5,
    };

    // Registers the icon class; a failure is reported in a message box.
    static bool Init(HINSTANCE instance);

    cAppIcon() = default;
    virtual ~cAppIcon();
    cAppIcon(const cAppIcon&) = delete;
    cAppIcon& operator=(const cAppIcon&) = delete;

    // The icon window as a child of parent, at size 0 until its owner places
    // it. False without a parent or when the window cannot be made.
    bool Create(HWND parent, HINSTANCE instance, DWORD extraStyle);
    // Registers path (a shortcut as its target); false for an empty path and
    // for a file the shell has no icon for (said in a message box), both of
    // which leave the slot empty.
    bool SetFile(const char* path);
    // Empties the slot: no path, no icon, no tooltip.
    void Clear();
    const char* Path() const { return path_; }
    // Key "No.<index>" of shortcut.ini's section.
    void Load(const char* iniPath, int index);
    void Save(const char* iniPath, int index) const;

    HWND Window() const { return window_; }
    HWND Tooltip() const { return tooltip_.get(); }
    HICON Icon() const { return icon_.get(); }
    const char* DisplayName() const { return displayName_; }
    const char* TypeName() const { return typeName_; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnLeftButtonDown();
    void OnRightButtonDown();
    void OnDropFiles(HDROP drop);
    void OnPaint();
    void OnDestroy();
    // False when the command is not the context menu's.
    bool OnCommand(UINT id);

    bool Register(const char* path, int linksFollowed);
    void ChooseFile();
    void ShowInformation() const;
    bool Launch();
    void OpenFolder() const;
    void AddTooltip();

    char path_[MAX_PATH] = "";
    char displayName_[MAX_PATH] = "";
    char typeName_[80] = "";
    UniqueIcon icon_;
    HWND window_ = nullptr;
    UniqueWindow tooltip_;
};
