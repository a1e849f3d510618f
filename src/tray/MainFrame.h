#pragma once
// The program's main window: menu bar, accelerators, toolbar and status bar around the entry list.
// Closing it (or File Exit) asks to save a modified document and then ends the program, or, when the
// program lives on in the tray, hides the window and empties the document.

#include "Framework.h"

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();
    ~CMainFrame() override;

    int OnCreate(CREATESTRUCT* lpCreateStruct) override;
    // Skipped while the application has activations to suppress: the file that start-up or
    // ShowMainWindow opens must not pop the window up half-way.
    void ActivateFrame(int nCmdShow = -1) override;
    // The close rule.
    void OnClose() override;
    // Configure (also what a second start sends): the window comes up with the last file, restored
    // and in front.
    void OnTrayConfigure();

protected:
    CToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;
};
