// The file a launcher slot holds and what the slot does with it, whichever
// window shows it: registering a file (a shortcut as its target), the icon,
// names and tooltip, the context menu and its commands, a drop, a launch.
// The shortcut window's icons build on it, and the launcher plug-in compiles
// this same source into itself for its panel's slots, so it uses nothing of
// the program but the shell launch beside it and header-only owners.
#pragma once

#include "base/handles.h"

#include <windows.h>
#include <shellapi.h>

// The open-file dialog a file is registered with ("ファイルの登録": programs
// first, then all files; only files that exist), owned by owner. True with
// the chosen file's path in file.
bool ChooseFileToRegister(HWND owner, char (&file)[MAX_PATH]);

class IconSlot {
public:
    // The context menu's command ids.
    enum Command : UINT {
        kUnregister = 1,
        kRegister = 2,
        kInformation = 3,
        kOpen = 4,
        kOpenFolder = 5,
    };
    // What a slot's tooltip says of its file.
    enum class TipText { DisplayName, FileTitle };

    IconSlot(const IconSlot&) = delete;
    IconSlot& operator=(const IconSlot&) = delete;

    // Registers path (a shortcut as its target); false for an empty path and
    // for a file the shell has no icon for (said in a message box), both of
    // which leave the slot empty.
    bool SetFile(const char* path);
    // Registers path kept from before (a settings file, the registered
    // applications' editor) as SetFile does; but a file that cannot be
    // reached now (a drive unplugged, a share away) keeps the slot, shown
    // unavailable, and nothing is asked. False when it is unavailable or
    // path is empty.
    bool Restore(const char* path);
    // Empties the slot: no path, no icon, no tooltip.
    void Clear();

    const char* Path() const { return path_; }
    HWND Window() const { return window_; }
    HWND Tooltip() const { return tooltip_.get(); }
    HICON Icon() const { return icon_.get(); }
    const char* DisplayName() const { return displayName_; }
    const char* TypeName() const { return typeName_; }
    // Holds a path whose file was out of reach when last looked at: the icon
    // of the file's type in grey, and the tooltip says why.
    bool Unavailable() const { return unavailable_; }

protected:
    // repaintWhenCleared: a slot whose window paints only while it holds an
    // icon shows the emptied window at once rather than at the next paint.
    IconSlot(TipText tip, bool repaintWhenCleared)
        : tip_(tip), repaintWhenCleared_(repaintWhenCleared) {}
    ~IconSlot() = default;

    // The context menu at the cursor; the choice comes back as WM_COMMAND.
    void ShowContextMenu() const;
    // Handlers that every kind of slot window routes to: the click that
    // opens the file (as the menu's "open"), the context menu and a drop.
    LRESULT OnOpenClick(WPARAM wParam, LPARAM lParam);
    LRESULT OnRButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnDropFiles(WPARAM wParam, LPARAM lParam);
    // Registers the first file of a drop; the drop is ended.
    void TakeDrop(HDROP drop);
    // The context menu's commands other than launching; false for any other.
    bool RunCommand(UINT id);
    // Opens the registered file with the shell; processId as ShellLaunch
    // gives it. An unavailable slot whose file is back shows it first. A
    // failure is told twice (the shell's reason, then that the registered
    // file did not start) and empties the slot, unless the file is out of
    // reach: that slot is kept, unavailable, for when it is back. Whether it
    // launched.
    bool LaunchFile(DWORD* processId = nullptr);

    HWND window_ = nullptr;

private:
    bool Register(const char* path, int linksFollowed, bool restoring);
    // The path stays registered without its file: the type's icon in grey,
    // the reason in the tooltip.
    void KeepUnavailable(const char* reason);
    void AddTooltip(const char* text);
    void ShowInformation() const;
    void OpenFolder() const;

    const TipText tip_;
    const bool repaintWhenCleared_;
    char path_[MAX_PATH] = "";
    char displayName_[MAX_PATH] = "";
    char typeName_[80] = "";
    bool unavailable_ = false;
    UniqueIcon icon_;
    UniqueWindow tooltip_;
};
