// One slot of the launcher panel: a launcher icon that lives on a window
// made by someone else (a static control of the panel) instead of one of its
// own. It takes the window over by subclassing it and gives it back as it
// was. A double click launches; the icon is drawn at its natural size; the
// tooltip names the file without folder and extension.
#pragma once

#include "base/window_binding.h"
#include "launcher/icon_slot.h"

#include <windows.h>

class cLinkSlot : public IconSlot {
public:
    cLinkSlot() : IconSlot(TipText::FileTitle, true) {}
    ~cLinkSlot() { Detach(); }
    cLinkSlot(const cLinkSlot&) = delete;
    cLinkSlot& operator=(const cLinkSlot&) = delete;

    // Takes window over: the property names the slot, the slot's procedure
    // runs first, and dropped files are accepted. A slot holds one window.
    void Attach(HWND window);
    // Empties the slot and gives the window back as it found it.
    void Detach();

private:
    static const MessageRoute<cLinkSlot> kRoutes[];

    // The procedure every slot window runs while it is taken over.
    static WNDPROC Procedure();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);

    WNDPROC previous_ = nullptr;
};
