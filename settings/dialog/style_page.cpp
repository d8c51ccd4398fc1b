// The pages "追加するスタイル" and "排除するスタイル": one design, bound to the
// add or the remove conditions, that edits a set's style criterion and the
// style bits it looks for.
#include "settings/conditions.h"
#include "settings/dialog/dialog_ids.h"
#include "settings/dialog/pages.h"
#include "settings/dialog/style_page_ids.h"

#include <cstdint>

namespace {

struct StyleBox {
    int id;
    std::uint32_t bit;
};

constexpr StyleBox kStyleBoxes[] = {
    {IDC_STYLE_POPUP, WS_POPUP},           {IDC_STYLE_THICKFRAME, WS_THICKFRAME},
    {IDC_STYLE_VSCROLL, WS_VSCROLL},       {IDC_STYLE_HSCROLL, WS_HSCROLL},
    {IDC_STYLE_SYSMENU, WS_SYSMENU},       {IDC_STYLE_BORDER, WS_BORDER},
    {IDC_STYLE_DLGFRAME, WS_DLGFRAME},     {IDC_STYLE_MAXIMIZEBOX, WS_MAXIMIZEBOX},
    {IDC_STYLE_MINIMIZEBOX, WS_MINIMIZEBOX},
};

// Sent by the page to itself once the dialog around it is built.
constexpr UINT kEnableBoxes = WM_APP + 1;

class StylePage : public SettingsPage {
public:
    explicit StylePage(cWndCondition& (*set)()) : SettingsPage(IDD_PAGE_STYLES), set_(set) {}

protected:
    void Fill() override {
        const cWndCondition& set = set_();
        Check(IDC_STYLES_ENABLED, set.styleOn);
        for (const StyleBox& box : kStyleBoxes) Check(box.id, (set.styleMask & box.bit) != 0);
        PostMessageA(window_, kEnableBoxes, 0, 0);
    }

    // Bits the page cannot show (from an edited system.ini) could never be
    // cleared again, so the mask keeps only what the boxes say.
    void Write() override {
        cWndCondition& set = set_();
        set.styleOn = Checked(IDC_STYLES_ENABLED);
        std::uint32_t mask = 0;
        for (const StyleBox& box : kStyleBoxes) {
            if (Checked(box.id)) mask |= box.bit;
        }
        set.styleMask = mask;
    }

    bool OnCommand(WORD id, WORD code, HWND) override {
        if (id != IDC_STYLES_ENABLED || code != BN_CLICKED) return false;
        EnableBoxes();
        return true;
    }

    bool OnMessage(UINT message, WPARAM, LPARAM, INT_PTR*) override {
        if (message != kEnableBoxes) return false;
        EnableBoxes();
        return true;
    }

private:
    void EnableBoxes() const {
        const bool on = Checked(IDC_STYLES_ENABLED);
        for (const StyleBox& box : kStyleBoxes) Enable(box.id, on);
    }

    cWndCondition& (*set_)();
};

}  // namespace

std::unique_ptr<SettingsPage> MakeAddStylesPage() {
    return std::make_unique<StylePage>(&AddConditions);
}
std::unique_ptr<SettingsPage> MakeRemoveStylesPage() {
    return std::make_unique<StylePage>(&RemoveConditions);
}
