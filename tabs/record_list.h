// The records of a pane's captured windows, owned, in the order they were
// captured (the tab strip may show them in another order). Deleting a record
// gives its window back, so whatever leaves the list unclaimed goes back to
// the desktop.
#pragma once

#include "tabs/captured_window.h"

#include <windows.h>

#include <cstddef>
#include <memory>
#include <vector>

class RecordList {
public:
    // Captures window into displayArea and keeps the record; null when the
    // record cannot be made (the exception is the caller's to report).
    CapturedWindow* Capture(HWND window, HWND displayArea);
    // Keeps a record another pane gave up.
    void Adopt(std::unique_ptr<CapturedWindow> record);
    // Hands record over; null when the list does not hold it.
    std::unique_ptr<CapturedWindow> Take(const CapturedWindow* record);
    // Deletes every record, which gives every window still held back.
    void Clear() { records_.clear(); }

    bool Holds(HWND window) const;
    // Whether record is one of the list's; compares addresses only, so it
    // may be asked of a record that was deleted meanwhile.
    bool Contains(const CapturedWindow* record) const;
    std::size_t Size() const { return records_.size(); }
    CapturedWindow* At(std::size_t i) const { return records_[i].get(); }

private:
    std::vector<std::unique_ptr<CapturedWindow>> records_;
};
