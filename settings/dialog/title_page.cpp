// The pages whose editors are still to come (the add and remove conditions,
// the menu, tab-menu and accelerator editors, the tools): each is in the
// page table and the tree already, so that the frame, the tree and the OK
// broadcast stay as they are when the editor arrives, and until then it
// shows its title and writes nothing.
#include "settings/dialog/pages.h"

namespace {

class TitlePage : public SettingsPage {
public:
    using SettingsPage::SettingsPage;
};

}  // namespace

std::unique_ptr<SettingsPage> MakeTitlePage(int templateId) {
    return std::make_unique<TitlePage>(templateId);
}
