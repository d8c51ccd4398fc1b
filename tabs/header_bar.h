// The header bar at the top of a pane's display rectangle: the selected
// window's title as "■[ %s ]" and close, release and minimise buttons. It
// turns its clicks into the pane's ordinary tab commands; its colours say
// whether the pane's window is the foreground window.
#pragma once

#include "base/handles.h"
#include "base/window_binding.h"

#include <windows.h>


class CapturedWindow;
class cTab;

class cHeader {
public:
    // Registers "panelry_header_base_class".
    static bool Init(HINSTANCE instance);

    cHeader();
    virtual ~cHeader();
    cHeader(const cHeader&) = delete;
    cHeader& operator=(const cHeader&) = delete;

    // Creates the header window inside the tab control of pane; the pane's
    // property goes on the header window too, so a tab dropped on a header is
    // dropped on its pane.
    bool Create(HWND tabControl, HINSTANCE instance, COLORREF activeBack, COLORREF inactiveBack,
                COLORREF activeText, COLORREF inactiveText, cTab& pane);
    void DestroyWindow();

    // The record's title, buttons enabled; null: empty, buttons disabled.
    void ShowTitle(const CapturedWindow* record);
    // The same with the title already read; null: empty, buttons disabled.
    void ShowTitleText(const wchar_t* title);
    void SetColors(COLORREF activeBack, COLORREF inactiveBack, COLORREF activeText,
                   COLORREF inactiveText);
    // Repaints only when the state changes.
    void SetActive(bool active);
    void SetFont(HFONT font);
    // Takes the scale of the monitor the header is now on: faces and layout.
    void ApplyDpi();
    void SetExStyle(DWORD exStyle);
    void Relayout();

    HWND Window() const { return window_; }
    // The pane of the last Create; null before.
    cTab* Pane() const { return pane_; }
    bool Active() const { return active_; }
    COLORREF ActiveBack() const { return activeBack_; }
    COLORREF ActiveText() const { return activeText_; }
    COLORREF InactiveBack() const { return inactiveBack_; }
    COLORREF InactiveText() const { return inactiveText_; }
    DWORD ExStyle() const;
    void WindowRect(RECT* rect) const;

    // Child control ids.
    static constexpr int kTitleId = 1;
    static constexpr int kCloseId = 2;
    static constexpr int kReleaseId = 3;
    static constexpr int kMinimizeId = 4;

private:
    static const MessageRoute<cHeader> kRoutes[];
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnCtlColorStatic(WPARAM, LPARAM);
    LRESULT OnDrawItem(WPARAM, LPARAM);
    LRESULT OnCommand(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnRButtonDown(WPARAM, LPARAM);
    LRESULT OnParentNotify(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);

    void LoadIcons(HINSTANCE instance);
    void CreateChildren(HINSTANCE instance);
    void AddTooltip(int index, const char* text, HINSTANCE instance);
    // The side of a button: the height of the close button's face.
    int ButtonSize() const;
    // The title and the buttons are made once per header window, and the
    // pane refreshes the title ten times a second: their handles are kept,
    // as GetDlgItem would ask the server each time.
    HWND Child(int id) const { return children_[id - kTitleId]; }

    // Faces in pairs (normal, pressed) for close, release and minimise.
    static constexpr int kFaceCount = 6;
    static constexpr int kButtonCount = 3;
    static constexpr int kChildCount = kButtonCount + 1;

    HWND window_ = nullptr;
    HWND children_[kChildCount] = {};
    bool active_ = false;
    COLORREF activeBack_;
    COLORREF activeText_;
    COLORREF inactiveBack_;
    COLORREF inactiveText_;
    UniqueBrush activeBrush_;
    UniqueBrush inactiveBrush_;
    UniqueIcon faces_[kFaceCount];
    // Tooltip windows are owned by the top-level window, not by the header,
    // so they do not go with it: the header takes them down itself.
    UniqueWindow tooltips_[kButtonCount];
    DWORD lastClickTime_ = 0;
    cTab* pane_ = nullptr;
    HINSTANCE instance_ = nullptr;
};
