#pragma once
// The main window: menu bar, accelerators, toolbar and status bar around the active view. Commands
// from every source (menu, toolbar, accelerator key, popup menu, another instance) arrive in
// OnCommand, which drops a command whose update rule reports it disabled and routes the rest:
// active view (then its document), the frame itself, the application.

#include "framework/Wnd.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMainWindow;
class QSize;
class CMenu;
class CControlBar;
class CDocument;
class CView;
struct CCreateContext;
struct CREATESTRUCT;

constexpr DWORD FWS_ADDTOTITLE = 0x00008000;
constexpr DWORD WS_OVERLAPPEDWINDOW = 0x00CF0000;

class CFrameWnd : public CWnd {
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Makes the window with the menu bar, accelerators, icon and title of resource nIDResource,
    // then runs OnCreate (which makes the view from pContext).
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    // The frame's own creation; the base makes the view. Return -1 to fail.
    virtual int OnCreate(CREATESTRUCT* lpCreateStruct);
    // Shows the frame: nCmdShow -1 shows it normally (restored when minimised) and brings it up.
    virtual void ActivateFrame(int nCmdShow = -1);
    // Closing: asks to save the document; the main frame then ends the program.
    void OnClose() override;
    virtual void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    // Caption "title - Keyloft" (the template's window title).
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);

    CView* GetActiveView() const { return m_pActiveView; }
    void SetActiveView(CView* pView);
    CDocument* GetActiveDocument() const;
    // The frame owns its views.
    void AdoptView(std::unique_ptr<CView> pView);

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) override;
    // Runs the update rules of the toolbar buttons and indicators (done when the program is idle).
    void OnIdleUpdateCmdUI();

    // Bars: docking and the View menu's toggles (ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR). A bar
    // made with this frame as parent joins it by itself (AddControlBar).
    void EnableDocking(DWORD dwDockStyle);
    void DockControlBar(CControlBar* pBar);
    void AddControlBar(CControlBar* pBar);
    CControlBar* GetControlBar(UINT nID) const;
    void SetMessageText(const std::string& text);
    void SetMessageText(UINT nID);
    void RecalcLayout();
    // The main frame's size, position, maximised state and bars, from the settings and back; the
    // frame keeps them whenever it is put away.
    void LoadWindowState();
    void SaveWindowState();
    // The size a frame opens at when the settings hold none.
    QSize GetDefaultSize() const;
    // Files dropped on the window are opened one after the other, as the document.
    void DragAcceptFiles(BOOL bAccept = TRUE);

    QMainWindow* GetMainWindow() const;
    UINT GetResourceId() const { return m_nIDHelp; }
    // The menu bar's menu (its popups in order).
    CMenu* GetMenu() const { return m_pMenu.get(); }
    // Help commands (F1, Shift+F1, Help Topics) go to the application's WinHelp.
    void OnHelp();
    void OnHelpFinder();
    void OnContextHelp();

protected:
    void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    void OnBarCheck(UINT nID);
    void OnUpdateKeyIndicator(CCmdUI* pCmdUI);

private:
    void BuildMenuBar(UINT nIDResource);
    void InstallAccelerators(UINT nIDResource);
    // The keys every Linux desktop gives a main window: F10 and Shift+F10.
    void InstallDesktopKeys();

    UINT m_nIDHelp = 0;
    DWORD m_dwDockStyle = 0;
    CView* m_pActiveView = nullptr;
    std::vector<std::unique_ptr<CView>> m_views;
    std::vector<CControlBar*> m_bars;
    std::unique_ptr<CMenu> m_pMenu;
    std::string m_strTitle; // the template's window title
};

namespace klt {
// Whether a lock key (VK_CAPITAL, VK_NUMLOCK, VK_SCROLL) is toggled on; the platform layer installs
// the real query, the status bar's indicators use it.
using KeyToggleQuery = std::function<bool(WORD vk)>;
void SetKeyToggleQuery(KeyToggleQuery query);
bool IsKeyToggled(WORD vk);
} // namespace klt
