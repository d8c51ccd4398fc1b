// One page of the settings dialog: a child dialog without caption made from
// its template inside the dialog's page frame. Every page keeps the same
// contract: it fills its controls from the live settings when it is made
// (WM_INITDIALOG) and writes them back only when the dialog's OK reaches it
// (WM_COMMAND IDOK with no control); at any other time it writes nothing.
#pragma once

#include <windows.h>

class SettingsPage {
public:
    explicit SettingsPage(int templateId) : templateId_(templateId) {}
    virtual ~SettingsPage();
    SettingsPage(const SettingsPage&) = delete;
    SettingsPage& operator=(const SettingsPage&) = delete;

    // Makes the page inside parent, hidden; null when its template is missing.
    HWND Create(HINSTANCE instance, HWND parent);
    HWND Window() const { return window_; }
    int TemplateId() const { return templateId_; }

protected:
    // The page's controls from the live settings.
    virtual void Fill() {}
    // The live settings from the page's controls.
    virtual void Write() {}
    // A control's notification; true when the page took it.
    virtual bool OnCommand(WORD id, WORD code, HWND control);
    virtual void OnSize(int width, int height);
    // Any other message; true, with *result set, when the page took it.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result);

    HWND Item(int id) const { return GetDlgItem(window_, id); }
    bool Checked(int id) const { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }
    void Check(int id, bool on) const { CheckDlgButton(window_, id, on ? BST_CHECKED : BST_UNCHECKED); }
    // The number typed in an edit, as typed (no range), and the edit's spin
    // set up with its range and the field's value.
    unsigned Number(int editId) const;
    void SetUpSpin(int spinId, int low, int high, int value) const;
    void Enable(int id, bool on) const { EnableWindow(Item(id), on); }

    HWND window_ = nullptr;

private:
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
};
