// The page "スプリットバー": how every split bar is dragged and how long its
// grip is.
#include "settings/dialog/dialog_ids.h"
#include "settings/dialog/pages.h"
#include "settings/dialog/splitbar_page_ids.h"
#include "tabs/split_bar.h"

namespace {

constexpr int kMaxGripPercent = 100;

class SplitbarPage : public SettingsPage {
public:
    SplitbarPage() : SettingsPage(IDD_PAGE_SPLITBAR) {}

protected:
    void Fill() override {
        Check(IDC_SPLITBAR_RIGHT_BUTTON, cSplitbar::DragWithRightButton());
        SetUpSpin(IDC_SPLITBAR_GRIP_SPIN, 0, kMaxGripPercent, cSplitbar::GripPercent());
        EnableGrip();
    }

    void Write() override {
        cSplitbar::SetDragWithRightButton(Checked(IDC_SPLITBAR_RIGHT_BUTTON));
        // The grip size is a byte: what is typed keeps its low 8 bits.
        cSplitbar::SetGripPercent(static_cast<BYTE>(Number(IDC_SPLITBAR_GRIP) & 0xFF));
    }

    bool OnCommand(WORD id, WORD code, HWND) override {
        if (id == IDC_SPLITBAR_RIGHT_BUTTON && code == BN_CLICKED) {
            EnableGrip();
            return true;
        }
        return false;
    }

private:
    // With the right button the arrow buttons fill the bar: it has no grip.
    void EnableGrip() const {
        const bool grip = !Checked(IDC_SPLITBAR_RIGHT_BUTTON);
        Enable(IDC_SPLITBAR_GRIP, grip);
        Enable(IDC_SPLITBAR_GRIP_SPIN, grip);
    }
};

}  // namespace

std::unique_ptr<SettingsPage> MakeSplitbarPage() { return std::make_unique<SplitbarPage>(); }
