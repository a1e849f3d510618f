#pragma once
// The program's main window: menu bar, accelerators, toolbar and status bar around the entry list,
// with the tray icon beside it. Closing it (or File Exit) asks to save a modified document and then
// ends the program, or, when the program lives on in the tray, hides the window and empties the
// document. The frame also carries the paste: from the tray's Paste command and from the hot key.

#include "frame/TrayIcon.h"
#include "framework/Framework.h"
#include "platform/WindowSystem.h"

#include <functional>

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
    // WM_HOTKEY starts a paste into the window the user works in; the rest goes to the base.
    // wParam is kHotKeyPressed for the key itself, 0 for a start with --paste (here or handed over);
    // a start here names in lParam the window that was in front when it began.
    static constexpr WPARAM kHotKeyPressed = 1;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Puts the icon into the notification area; called once at start, after the hot key.
    void SetUpTrayIcon();
    // Asks for an entry and types its user name or password into the target window.
    void PasteToWindow(klt::WindowId target);

    // The tray's notification (identifier, mouse message): records the paste target first.
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    // Configure (also what a second start sends): the window comes up with the last file, restored
    // and in front.
    void OnTrayConfigure();
    void OnTrayPaste();
    // Adds an entry to the last file, even one whose system name is there already.
    void OnTrayAdd();
    // These three and the hot key's paste may open the last file in place of the document: while
    // another command's dialog is open they wait for it to close (klt::RunWhenNoModal).
    // Ends the program after the save question, whatever the close rule says.
    void OnTrayExit();
    // File Exit: closes the window by the close rule while the tray icon can call it back. While no
    // notification area shows the icon, the window could only ever be minimised, so it ends the
    // program (after the save question) as the tray's Exit does; the close box still minimises.
    void OnAppExit();

    CTrayIcon m_trayIcon;
    klt::WindowId m_hPasteTarget = 0; // the window the tray's Paste types into
    int m_nPasteSelection = 0;        // the paste dialog's list position, kept between pastes
    std::string m_strPasteSystem;     // and the system name of the entry there, which counts first

protected:
    CToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;

private:
    // A window the user worked in that is none of ours, no desktop and no panel.
    bool IsPasteTarget(klt::WindowId window) const;
    // Runs the command on the main frame there is once no dialog is open any more.
    static void WhenNoModal(std::function<void(CMainFrame&)> command);
    void Configure();
    void AddFromTray();
    void OnActiveWindowChanged(klt::WindowId window);

    klt::WindowId m_hLastActive =
        0; // the last window the window manager reported active that may take a paste
};

namespace klt {
// Whether the window is one of this program's own (the frame, a dialog, the tray icon).
bool IsOwnWindow(WindowId window);
// Whether, with the active window as it is, the end of a paste may bring its target back to the front:
// only from the target itself, from one of this program's windows, or from none.
bool MayReturnFocus(WindowId active, WindowId target);
} // namespace klt
