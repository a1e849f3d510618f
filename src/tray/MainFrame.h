#pragma once
// The program's main window: menu bar, accelerators, toolbar and status bar around the entry list.
// Closing it (or File Exit) asks to save a modified document and ends the program.

#include "Framework.h"

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();
    ~CMainFrame() override;

    int OnCreate(CREATESTRUCT* lpCreateStruct) override;

protected:
    // Commands that are available whenever the window is, whichever target carries them out.
    void OnUpdateAlwaysEnabled(CCmdUI* pCmdUI);

    CToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;
};
