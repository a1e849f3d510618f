#pragma once
// A scripted user for GUI tests. It takes the place of the user at every modal interaction of the
// framework: it acts on the live dialog by control id, answers message boxes, picks files, chooses
// popup-menu commands and print destinations, and records every message box, popup menu and file
// dialog it saw. The script is one queue read from top to bottom, in the order things happen:
//
//     klt::testing::ScriptedUser user;
//     user.Dialog(IDD_NEW_ENTRY).Type(IDC_SYSTEM, "Mail").Type(IDC_PASSWORD, "pw").Click(IDOK);
//     user.Dialog(IDD_CONFIRM_PASSWORD).Type(IDC_CONFIRM, "pw").Click(IDOK); // opened by the OK above
//     user.Dialog(IDD_NEW_ENTRY);  ... ;  user.Answer(IDOK);                 // a message box
//
// Steps after Dialog(id) act on the innermost dialog that is open when they run. A dialog, message
// box or menu that the script does not expect fails the test with a clear message and is cancelled,
// so nothing ever waits for a user who is not there. Constructing a ScriptedUser installs it;
// destroying it restores the previous seam and fails the test if steps are left over.

#include "framework/ModalSeam.h"
#include "res/resource.h"

#include <Qt>
#include <functional>
#include <list>
#include <string>
#include <vector>

class CDialog;

namespace klt::testing {

struct RecordedMessageBox {
    std::string text;
    std::string caption;
    UINT type = 0;
    UINT Icon() const { return type & MB_ICONMASK; }
    UINT Buttons() const { return type & MB_TYPEMASK; }
};

struct RecordedMenuItem {
    UINT id = 0; // 0 for a separator
    std::string text;
    bool bEnabled = false;
    bool bChecked = false;
    bool bDefault = false;
};
using RecordedMenu = std::vector<RecordedMenuItem>;

struct ScriptStep;

class ScriptedUser : public ModalSeam {
public:
    ScriptedUser();
    ~ScriptedUser() override;
    ScriptedUser(const ScriptedUser&) = delete;
    ScriptedUser& operator=(const ScriptedUser&) = delete;

    // ---- Dialogs: the next dialog must be this template (0: any); the steps after it act on it.
    ScriptedUser& Dialog(UINT nIDTemplate);
    // Puts the focus into the field and replaces its text by typing, as a user does.
    ScriptedUser& Type(int nID, const std::string& text);
    // A mouse click on a button or check box (which takes the focus first).
    ScriptedUser& Click(int nID);
    // Moves the keyboard focus to the control, as the Tab key does.
    ScriptedUser& Focus(int nID);
    // A key press on the control that has the focus.
    ScriptedUser& Key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    ScriptedUser& ClickRow(int nID, int nRow, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    ScriptedUser& DoubleClickRow(int nID, int nRow);
    ScriptedUser& Enter();
    ScriptedUser& Escape();
    ScriptedUser& CloseBox();
    // Looks at (or works on) the live dialog at this point of the script.
    ScriptedUser& Inspect(std::function<void(CDialog&)> inspect);

    // ---- Other modal interactions
    ScriptedUser& Answer(int nResult);
    ScriptedUser& ChooseFile(const std::string& path);
    ScriptedUser& CancelFileDialog();
    ScriptedUser& ChooseCommand(UINT nID);
    ScriptedUser& DismissMenu();
    ScriptedUser& PrintTo(const std::string& pdfPath);
    ScriptedUser& CancelPrint();

    // ---- What happened
    const std::vector<RecordedMessageBox>& MessageBoxes() const { return m_messageBoxes; }
    const std::vector<RecordedMenu>& PopupMenus() const { return m_menus; }
    const std::vector<FileDialogRequest>& FileDialogs() const { return m_fileDialogs; }
    const std::vector<UINT>& Dialogs() const { return m_dialogs; }
    // Whether every step has been used.
    bool Finished() const { return m_steps.empty(); }

    // ---- ModalSeam
    int RunDialog(CDialog& dialog) override;
    int MessageBox(const MessageBoxRequest& request) override;
    std::string FileDialog(const FileDialogRequest& request) override;
    UINT PopupMenu(QMenu& menu, const QPoint& screenPos) override;
    int PrintDialog(QPrinter& printer, CWnd* pOwner) override;

private:
    ScriptedUser& Add(ScriptStep step);
    bool NextIs(int kind) const;
    ScriptStep Take();
    std::string NextDescription() const;

    std::list<ScriptStep> m_steps; // in the order they are to happen
    std::vector<CDialog*> m_liveDialogs;
    std::vector<RecordedMessageBox> m_messageBoxes;
    std::vector<RecordedMenu> m_menus;
    std::vector<FileDialogRequest> m_fileDialogs;
    std::vector<UINT> m_dialogs;
    ModalSeam* m_pPrevious;
};

// Runs every event that is already queued (posted commands, deferred deletes).
void ProcessPendingEvents();

} // namespace klt::testing
