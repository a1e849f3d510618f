#pragma once
// Another program's top-level window, known by its id: the owner of a dialog that belongs to it.
// The dialog is made transient for it (WM_TRANSIENT_FOR on X11), so the window manager keeps the
// dialog above it. The foreign window is never disabled: it is not ours to disable.

#include "framework/Wnd.h"

#include <cstdint>
#include <memory>

class QWindow;

class CForeignWnd : public CWnd {
public:
    explicit CForeignWnd(std::uintptr_t hWnd);
    ~CForeignWnd() override;

    std::uintptr_t GetForeignHwnd() const { return m_hWnd; }
    // Makes the top-level window transient for this one; nothing where the platform cannot stand in
    // for foreign windows (the offscreen one) or the window has gone.
    void OwnTopLevel(QWidget* pWindow);

private:
    std::uintptr_t m_hWnd;
    std::unique_ptr<QWindow> m_pStandIn;
};
