// Splitting a pane: the child pane and the split bar it gains, the layout
// of the two halves, moving tabs across the bar, and the layout of the
// whole chain kept in system.ini so that a restart can split it again.
#include "tabs/pane.h"

#include "base/messages.h"
#include "tabs/split_bar.h"
#include "tabs/tab_ids.h"
#include "tabs/tab_texts.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

constexpr int kLayoutSize = 256;  // the value with its terminator

// A percentage too long for an int saturates, so the bar's clamp still
// applies to it.
int ReadPercentage(const char*& at, const char* end) {
    long long value = 0;
    for (int digits = 0; at < end && *at >= '0' && *at <= '9' && digits < 255; ++at, ++digits) {
        value = std::min<long long>(value * 10 + (*at - '0'), INT_MAX);
    }
    return static_cast<int>(value);
}

bool IsSplitLetter(char c) { return c == 'h' || c == 'H' || c == 'v' || c == 'V'; }

}  // namespace

bool cTab::Split(bool horizontal) {
    const HINSTANCE instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(baseWindow_, GWLP_HINSTANCE));
    try {
        if (!child_) {
            child_ = std::make_unique<cTab>();
            if (!child_->Create(baseWindow_, instance, header_.ActiveBack(),
                                header_.InactiveBack(), header_.ActiveText(),
                                header_.InactiveText(), *host_)) {
                return FailSplit();
            }
        }
        if (splitBar_ && splitBar_->IsHorizontal() != horizontal) splitBar_.reset();
        if (!splitBar_) {
            splitBar_ = std::make_unique<cSplitbar>();
            if (!splitBar_->Create(baseWindow_, instance, horizontal)) return FailSplit();
        }
    } catch (const std::bad_alloc&) {
        MessageBoxA(tabControl_, tab_texts::kBadAllocText, tab_texts::kSplitCaption, MB_ICONERROR);
        return FailSplit();
    } catch (...) {
        MessageBoxA(tabControl_, tab_texts::kOtherExceptionText, tab_texts::kSplitCaption,
                    MB_ICONERROR);
        return FailSplit();
    }
    // The child looks like this pane; its other per-pane settings follow at
    // the next application of the settings.
    child_->ApplyTabStyle(static_cast<DWORD>(GetWindowLongA(tabControl_, GWL_STYLE)),
                          static_cast<DWORD>(GetWindowLongA(tabControl_, GWL_EXSTYLE)));
    child_->ApplyHeaderExStyle(header_.ExStyle());
    SendMessageA(baseWindow_, WM_SIZE, 0, 0);
    return true;
}

// A half-made split is undone as a whole, so a pane is either split or not.
// A child that held windows gives them back as it goes.
bool cTab::FailSplit() {
    child_.reset();
    splitBar_.reset();
    return false;
}

void cTab::Unsplit() {
    if (child_) {
        child_->Unsplit();
        // The child's selected tab first, then the ones it selects next.
        while (child_->TabCount() > 0) {
            if (!child_->MoveCurrentTabTo(*this)) break;
        }
        child_.reset();  // anything it could not hand over goes back to the desktop
    }
    splitBar_.reset();
    SendMessageA(baseWindow_, WM_SIZE, 0, 0);
}

LRESULT cTab::OnBaseSize(WPARAM, LPARAM) {
    RECT client{};
    GetClientRect(baseWindow_, &client);
    if (!tabControl_) return 0;
    if (!splitBar_ || !child_) {
        MoveWindow(tabControl_, client.left, client.top, client.right - client.left,
                   client.bottom - client.top, TRUE);
        return 0;
    }
    SendMessageA(splitBar_->Window(), WM_SIZE, 0, 0);
    RECT bar{};
    GetWindowRect(splitBar_->Window(), &bar);
    MapWindowPoints(nullptr, baseWindow_, reinterpret_cast<POINT*>(&bar), 2);
    const SplitHalves halves = HalvesAround(client, bar, splitBar_->IsHorizontal());
    const RECT& first = halves.first;
    const RECT& second = halves.second;
    MoveWindow(tabControl_, first.left, first.top, first.right - first.left,
               first.bottom - first.top, TRUE);
    child_->MoveBaseWindow(second.left, second.top, second.right - second.left,
                           second.bottom - second.top);
    return 0;
}

// A container too small for the bar's margins puts the bar past its end
// (the clamp's first margin wins); a half then shrinks to nothing rather
// than turn negative.
SplitHalves HalvesAround(const RECT& client, const RECT& bar, bool horizontal) {
    SplitHalves halves{client, client};
    if (horizontal) {
        halves.first.bottom = std::max(client.top, bar.top);
        halves.second.top = bar.bottom;
        halves.second.bottom = std::max(bar.bottom, client.bottom);
    } else {
        halves.first.right = std::max(client.left, bar.left);
        halves.second.left = bar.right;
        halves.second.right = std::max(bar.right, client.right);
    }
    return halves;
}

// From the bar's arrow buttons: 1 sends this pane's selected tab into the
// child, 0 brings the child's back.
LRESULT cTab::OnBaseMoveTab(WPARAM, LPARAM lParam) {
    if (!child_) return 0;
    if (lParam == 1) {
        MoveCurrentTabTo(*child_);
    } else if (lParam == 0) {
        child_->MoveCurrentTabTo(*this);
    }
    return 0;
}

std::string cTab::SplitLayoutText() const {
    char layout[kLayoutSize] = {};
    for (const cTab* pane = this; pane && pane->splitBar_ && pane->child_;
         pane = pane->child_.get()) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%s%d ",
                      pane->splitBar_->IsHorizontal() ? tab_ids::kHorizontalLetter
                                                      : tab_ids::kVerticalLetter,
                      static_cast<int>(pane->splitBar_->Ratio() * 100 + 0.5));
        // Stopping here rather than skipping keeps every later entry from
        // being read back for the wrong pane.
        if (std::strlen(layout) + std::strlen(entry) > kLayoutSize - 1) break;
        std::strcat(layout, entry);
    }
    return layout;
}

void cTab::SaveSplitLayout(const char* iniPath) const {
    WritePrivateProfileStringA(tab_ids::kLayoutSection, tab_ids::kSplitRateKey,
                               SplitLayoutText().c_str(), iniPath);
}

void cTab::LoadSplitLayout(const char* iniPath) {
    char layout[kLayoutSize] = "";
    GetPrivateProfileStringA(tab_ids::kLayoutSection, tab_ids::kSplitRateKey, "", layout,
                             kLayoutSize, iniPath);
    ApplySplitLayout(layout);
}

void cTab::ApplySplitLayout(const std::string& text) {
    const std::string layout = text.substr(0, kLayoutSize - 1);
    const char* at = layout.c_str();
    const char* const end = at + layout.size();
    for (cTab* pane = this; pane;) {
        while (at < end && !IsSplitLetter(*at)) ++at;
        if (at == end) return;
        const bool horizontal = *at == 'h' || *at == 'H';
        while (at < end && !(*at >= '0' && *at <= '9')) ++at;
        if (at == end) return;
        const int percentage = ReadPercentage(at, end);
        if (!pane->Split(horizontal) || !pane->splitBar_ || !pane->child_) return;
        pane->splitBar_->SetRatio(percentage / 100.0);
        pane = pane->child_.get();
    }
}
