#pragma once
// What the main frame asks of the application object: whether closing the window ends the program,
// whether an activation is to be skipped, and bringing the window up with the last file.

#include "framework/WinApp.h"

namespace klt {

class AppShell {
public:
    // Opens the last file unless it is open already and shows the main window with nCmdShow;
    // FALSE, with the window left as it was, when the file could not be opened.
    virtual BOOL ShowMainWindow(int nCmdShow) = 0;
    // TRUE: closing the main window ends the program; FALSE: it only hides the window.
    virtual BOOL ExitsOnClose() const = 0;
    virtual void SetExitOnClose(BOOL bExitOnClose) = 0;
    // Uses up one pending skip of the main frame's activation; false when none is pending.
    virtual bool ConsumeSuppressedActivation() = 0;

protected:
    ~AppShell() = default;
};

// The application object's shell, or null when the application has none.
inline AppShell* GetAppShell() {
    return dynamic_cast<AppShell*>(AfxGetApp());
}

} // namespace klt
