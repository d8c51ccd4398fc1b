// A pane's records in capture order.
#include "tabs/record_list.h"

#include <algorithm>

CapturedWindow* RecordList::Capture(HWND window, HWND displayArea) {
    records_.push_back(std::make_unique<CapturedWindow>(window, displayArea));
    return records_.back().get();
}

void RecordList::Adopt(std::unique_ptr<CapturedWindow> record) {
    if (record) records_.push_back(std::move(record));
}

std::unique_ptr<CapturedWindow> RecordList::Take(const CapturedWindow* record) {
    auto it = std::find_if(records_.begin(), records_.end(),
                           [&](const auto& owned) { return owned.get() == record; });
    if (it == records_.end()) return nullptr;
    std::unique_ptr<CapturedWindow> taken = std::move(*it);
    records_.erase(it);
    return taken;
}

bool RecordList::Holds(HWND window) const {
    return std::any_of(records_.begin(), records_.end(),
                       [&](const auto& record) { return record->Holds(window); });
}

bool RecordList::Contains(const CapturedWindow* record) const {
    return record && std::any_of(records_.begin(), records_.end(),
                                 [&](const auto& owned) { return owned.get() == record; });
}
