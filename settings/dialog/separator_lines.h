// Etched horizontal lines that divide a page into groups of controls. Each
// line spans the whole page and lies halfway between the bottom of the last
// control of one group and the top of the first of the next, so the page
// lays its lines out again whenever it is sized.
#pragma once

#include "base/handles.h"

#include <windows.h>

#include <vector>

class SeparatorLines {
public:
    // The two controls a line lies between, by id.
    struct Between {
        int upper;
        int lower;
    };

    // Makes one line in page for each pair and lays them out for the page's
    // current size.
    void Create(HWND page, const Between* pairs, int count);
    // Every line as wide as the page, halfway between its pair.
    void Layout() const;
    // Called while the page is being destroyed: its lines go with it.
    void Destroy() { lines_.clear(); }

    static constexpr int kHeight = 2;

private:
    struct Line {
        Between between;
        UniqueWindow window;
    };

    HWND page_ = nullptr;
    std::vector<Line> lines_;
};
