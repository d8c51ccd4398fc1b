// A pane's split: the split bar and the child pane it gains as its second
// half, the layout of the two halves around the bar, and the layout of the
// whole chain below the pane as text ("SPLITRATE" of system.ini) so that a
// restart can split it again. The pane keeps its tab control as the first
// half; this part asks it only for its windows, its look and its tabs.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

class cSplitbar;
class cTab;

class PaneSplit {
public:
    explicit PaneSplit(cTab& pane);
    ~PaneSplit();
    PaneSplit(const PaneSplit&) = delete;
    PaneSplit& operator=(const PaneSplit&) = delete;

    // Both set after a split, else both null.
    cTab* Child() const { return child_.get(); }
    cSplitbar* Bar() const { return bar_.get(); }

    bool Split(bool horizontal);
    // The child's tabs come back to the pane first.
    void Unsplit();
    // The child and the bar go, and with them any window the child holds.
    void Clear();
    // The pane's base window was sized: its halves follow.
    void Layout();
    // From the bar's arrow buttons: the pane's selected tab into the child,
    // or the child's back.
    void MoveTabAcross(bool intoChild);

    // One "H"/"V" entry with a percentage per split pane down the chain.
    std::string LayoutText() const;
    void ApplyLayout(const std::string& layout);
    void Save(const char* iniPath) const;
    void Load(const char* iniPath);

private:
    bool Fail();

    cTab& pane_;
    std::unique_ptr<cSplitbar> bar_;
    std::unique_ptr<cTab> child_;
};

// Where the two panes of a split go in the container's client rectangle
// around the bar's rectangle: the first before the bar, the second after
// it, each of at least zero size.
struct SplitHalves {
    RECT first;
    RECT second;
};
SplitHalves HalvesAround(const RECT& client, const RECT& bar, bool horizontal);
