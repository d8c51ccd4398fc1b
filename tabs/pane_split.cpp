// PaneSplit: making and undoing a pane's split, the layout of the two
// halves, moving tabs across the bar, and the chain's layout as text.
#include "tabs/pane_split.h"

#include "tabs/pane.h"
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

PaneSplit::PaneSplit(cTab& pane) : pane_(pane) {}

// Out of line: the child's type is complete only here.
PaneSplit::~PaneSplit() = default;

bool PaneSplit::Split(bool horizontal) {
    const HWND base = pane_.BaseWindow();
    const HINSTANCE instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(base, GWLP_HINSTANCE));
    cHeader& header = pane_.Header();
    try {
        if (!child_) {
            child_ = std::make_unique<cTab>();
            if (!child_->Create(base, instance, header.ActiveBack(), header.InactiveBack(),
                                header.ActiveText(), header.InactiveText(), *pane_.Host())) {
                return Fail();
            }
        }
        if (bar_ && bar_->IsHorizontal() != horizontal) bar_.reset();
        if (!bar_) {
            bar_ = std::make_unique<cSplitbar>();
            if (!bar_->Create(base, instance, horizontal)) return Fail();
        }
    } catch (const std::bad_alloc&) {
        MessageBoxA(pane_.TabControl(), tab_texts::kBadAllocText, tab_texts::kSplitCaption,
                    MB_ICONERROR);
        return Fail();
    } catch (...) {
        MessageBoxA(pane_.TabControl(), tab_texts::kOtherExceptionText, tab_texts::kSplitCaption,
                    MB_ICONERROR);
        return Fail();
    }
    // The child looks like the pane; its other per-pane settings follow at
    // the next application of the settings.
    const HWND tabControl = pane_.TabControl();
    child_->ApplyTabStyle(static_cast<DWORD>(GetWindowLongA(tabControl, GWL_STYLE)),
                          static_cast<DWORD>(GetWindowLongA(tabControl, GWL_EXSTYLE)));
    child_->ApplyHeaderExStyle(header.ExStyle());
    SendMessageA(base, WM_SIZE, 0, 0);
    return true;
}

// A half-made split is undone as a whole, so a pane is either split or not.
// A child that held windows gives them back as it goes.
bool PaneSplit::Fail() {
    child_.reset();
    bar_.reset();
    return false;
}

void PaneSplit::Clear() {
    bar_.reset();
    child_.reset();
}

void PaneSplit::Unsplit() {
    if (child_) {
        child_->Unsplit();
        // The child's selected tab first, then the ones it selects next.
        while (child_->TabCount() > 0) {
            if (!child_->MoveCurrentTabTo(pane_)) break;
        }
        child_.reset();  // anything it could not hand over goes back to the desktop
    }
    bar_.reset();
    SendMessageA(pane_.BaseWindow(), WM_SIZE, 0, 0);
}

void PaneSplit::Layout() {
    const HWND base = pane_.BaseWindow();
    const HWND tabControl = pane_.TabControl();
    RECT client{};
    GetClientRect(base, &client);
    if (!tabControl) return;
    if (!bar_ || !child_) {
        MoveWindow(tabControl, client.left, client.top, client.right - client.left,
                   client.bottom - client.top, TRUE);
        return;
    }
    SendMessageA(bar_->Window(), WM_SIZE, 0, 0);
    RECT bar{};
    GetWindowRect(bar_->Window(), &bar);
    MapWindowPoints(nullptr, base, reinterpret_cast<POINT*>(&bar), 2);
    const SplitHalves halves = HalvesAround(client, bar, bar_->IsHorizontal());
    const RECT& first = halves.first;
    const RECT& second = halves.second;
    MoveWindow(tabControl, first.left, first.top, first.right - first.left,
               first.bottom - first.top, TRUE);
    child_->MoveBaseWindow(second.left, second.top, second.right - second.left,
                           second.bottom - second.top);
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

void PaneSplit::MoveTabAcross(bool intoChild) {
    if (!child_) return;
    if (intoChild) {
        pane_.MoveCurrentTabTo(*child_);
    } else {
        child_->MoveCurrentTabTo(pane_);
    }
}

std::string PaneSplit::LayoutText() const {
    char layout[kLayoutSize] = {};
    for (const cTab* pane = &pane_; pane && pane->SplitBar() && pane->Child();
         pane = pane->Child()) {
        const cSplitbar& bar = *pane->SplitBar();
        char entry[32];
        std::snprintf(entry, sizeof entry, "%s%d ",
                      bar.IsHorizontal() ? tab_ids::kHorizontalLetter
                                         : tab_ids::kVerticalLetter,
                      static_cast<int>(bar.Ratio() * 100 + 0.5));
        // Stopping here rather than skipping keeps every later entry from
        // being read back for the wrong pane.
        if (std::strlen(layout) + std::strlen(entry) > kLayoutSize - 1) break;
        std::strcat(layout, entry);
    }
    return layout;
}

void PaneSplit::Save(const char* iniPath) const {
    WritePrivateProfileStringA(tab_ids::kLayoutSection, tab_ids::kSplitRateKey,
                               LayoutText().c_str(), iniPath);
}

void PaneSplit::Load(const char* iniPath) {
    char layout[kLayoutSize] = "";
    GetPrivateProfileStringA(tab_ids::kLayoutSection, tab_ids::kSplitRateKey, "", layout,
                             kLayoutSize, iniPath);
    ApplyLayout(layout);
}

void PaneSplit::ApplyLayout(const std::string& text) {
    const std::string layout = text.substr(0, kLayoutSize - 1);
    const char* at = layout.c_str();
    const char* const end = at + layout.size();
    for (cTab* pane = &pane_; pane;) {
        while (at < end && !IsSplitLetter(*at)) ++at;
        if (at == end) return;
        const bool horizontal = *at == 'h' || *at == 'H';
        while (at < end && !(*at >= '0' && *at <= '9')) ++at;
        if (at == end) return;
        const int percentage = ReadPercentage(at, end);
        if (!pane->Split(horizontal) || !pane->SplitBar() || !pane->Child()) return;
        pane->SplitBar()->SetRatio(percentage / 100.0);
        pane = pane->Child();
    }
}
