// A pane's tab control seen as the ordered list of its records: the
// parameter (TCIF_PARAM) of every item is the CapturedWindow of its tab.
// The control is the list; TabStrip holds only its handle, so the pane makes
// one whenever it needs it.
#pragma once

#include <windows.h>

class CapturedWindow;

class TabStrip {
public:
    // The longest title a tab shows, in UTF-16 units with its terminator.
    static constexpr int kTitleSize = 257;

    explicit TabStrip(HWND tabControl) : control_(tabControl) {}

    HWND Control() const { return control_; }
    int Count() const;
    // The rows the tabs lie in (TCM_GETROWCOUNT).
    int Rows() const;
    // The selected tab; -1 for none.
    int Selected() const;
    // The record of tab index; null outside 0..Count() - 1.
    CapturedWindow* RecordAt(int index) const;
    // The tab of record; -1 when no tab holds it.
    int IndexOf(const CapturedWindow* record) const;

    // A tab for record at index, with no text and no image yet.
    void Insert(int index, CapturedWindow* record);
    // Gives tab index another record; its text stays until the refresh.
    void SetRecord(int index, CapturedWindow* record);
    void Remove(int index);
    // TCM_SETCURFOCUS: the control selects the tab and tells its parent
    // (TCN_SELCHANGE).
    void Select(int index);

    // The tab under a point in the control's client coordinates, or on the
    // screen; -1 for none.
    int TabAt(POINT client) const;
    int TabAtScreen(POINT screen) const;

    // Writes the record's title as tab index's text, cut to limit - 1
    // half-width columns (a full-width character takes two; no character is
    // split), only when it differs from the text shown (ignoring case), so that
    // refreshing again and again does not make the strip flicker. True when
    // it wrote.
    bool RefreshText(int index, int limit) const;
    // The same with the title already read (at most kTitleSize - 1 characters
    // are kept).
    bool RefreshText(int index, const wchar_t* title, int limit) const;

private:
    HWND control_;
};
