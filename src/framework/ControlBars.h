#pragma once
// The frame's toolbar and status bar. Toolbar buttons show their commands' states from the update
// rules (updated whenever the program is idle) and carry the text after the newline of the
// command's string as tool tip; the status bar's message pane shows the text before it while a
// button or menu item is pointed at, and "Ready" otherwise.

#include "framework/Wnd.h"

#include <vector>

class QToolBar;
class QStatusBar;
class QLabel;

constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0080;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM;

constexpr UINT AFX_IDW_TOOLBAR = 0xE800;    // = ID_VIEW_TOOLBAR
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801; // = ID_VIEW_STATUS_BAR
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;

class CFrameWnd;

class CControlBar : public CWnd {
public:
    DWORD GetBarStyle() const { return m_dwStyle; }
    virtual void SetBarStyle(DWORD dwStyle);
    void EnableDocking(DWORD dwDockStyle);
    DWORD GetDockingStyle() const { return m_dwDockStyle; }

protected:
    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
};

class CToolBar : public CControlBar {
public:
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                UINT nID = AFX_IDW_TOOLBAR);
    // The buttons of toolbar resource nIDResource, with their images.
    BOOL LoadToolBar(UINT nIDResource);
    void SetBarStyle(DWORD dwStyle) override;
    // The commands of the buttons in order, ID_SEPARATOR for a gap.
    std::vector<UINT> GetButtonIds() const;
    // Runs every button's update rule through the frame's routing.
    void UpdateButtons(CFrameWnd* pTarget);
    QToolBar* GetToolBar() const;
};

class CStatusBar : public CControlBar {
public:
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    // The panes: ID_SEPARATOR for the message pane, indicator ids (ID_INDICATOR_CAPS, ...) for
    // the rest; an indicator's text is its string and shows while its key is toggled on.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    void SetMessageText(const std::string& text);
    std::string GetMessageText() const;
    std::string GetPaneText(int nIndex) const;
    int GetPaneCount() const { return static_cast<int>(m_panes.size()); }
    // Refreshes the indicators.
    void UpdateIndicators(CFrameWnd* pTarget);
    QStatusBar* GetStatusBar() const;

private:
    std::vector<UINT> m_panes;
    std::vector<QLabel*> m_labels; // one per pane, the message pane first
};
