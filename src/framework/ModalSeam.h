#pragma once
// The one seam for every modal interaction: dialogs, message boxes, file dialogs, popup menus and
// the print dialog. The program runs the real Qt modal loops; a test installs a scripted user that
// acts on the live dialog by control id and answers and records the rest.

#include "framework/AfxDefs.h"

#include <string>

class CDialog;
class CWnd;
class QMenu;
class QPoint;
class QPrinter;

namespace klt {

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    UINT type = MB_OK; // buttons | icon
    CWnd* pOwner = nullptr;
};

struct FileDialogRequest {
    bool bOpen = true;
    std::string title;
    std::string initialPath;   // folder and/or file name to start with
    std::string qtFilter;      // "Keyloft Files (*.klt) (*.klt);;All Files (*.*) (*)"
    std::string defaultSuffix; // without the dot: "klt"
    DWORD flags = 0;           // OFN_*
    CWnd* pOwner = nullptr;
};

class ModalSeam {
public:
    virtual ~ModalSeam() = default;

    // The dialog's window exists and is initialised; run it until EndDialog. Returns its result.
    virtual int RunDialog(CDialog& dialog) = 0;
    // Returns IDOK, IDCANCEL, IDYES, IDNO or IDRETRY.
    virtual int MessageBox(const MessageBoxRequest& request) = 0;
    // Returns the chosen full path, or an empty text when cancelled.
    virtual std::string FileDialog(const FileDialogRequest& request) = 0;
    // The popup's items already show their states. Returns the chosen command, 0 for none.
    virtual UINT PopupMenu(QMenu& menu, const QPoint& screenPos) = 0;
    // Lets the user choose and set up a printer. IDOK or IDCANCEL.
    virtual int PrintDialog(QPrinter& printer, CWnd* pOwner) = 0;
};

// The seam in force (the real one unless a test installed another), counted for the modal gate
// (ModalGate.h).
ModalSeam& CurrentModalSeam();
// Installs a seam (not owned); null restores the real one. Returns the previous seam.
ModalSeam* InstallModalSeam(ModalSeam* pSeam);

} // namespace klt
