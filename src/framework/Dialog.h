#pragma once
// Modal dialogs built from the dialog templates of the resources. A dialog exchanges its data with
// member variables when it opens (UpdateData(FALSE) in OnInitDialog) and when OK is pressed
// (UpdateData(TRUE) in OnOK). Every modal run goes through klt::ModalSeam, so tests can act on the
// live dialog.
//
//     class CNameDlg : public CDialog {
//     public:
//         CNameDlg() : CDialog(IDD_NEW_ENTRY) { MapNotify(EN_CHANGE, IDC_SYSTEM, &CNameDlg::OnChange); }
//         std::string m_strName;
//     protected:
//         void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_SYSTEM, m_strName); }
//         void OnChange() { ... }
//     };

#include "framework/DataExchange.h"
#include "framework/Wnd.h"

#include <memory>

class QDialog;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Builds the dialog, runs it modally and destroys its window; IDOK, IDCANCEL or whatever
    // EndDialog was given. -1 when the template does not exist.
    virtual int DoModal();
    // After the controls exist: the base exchanges the data into the controls and returns TRUE,
    // which gives the focus to the first enabled tab stop; return FALSE after moving it yourself.
    virtual BOOL OnInitDialog();
    // IDOK (the default button, Enter): UpdateData(TRUE), then EndDialog(IDOK) if that succeeded.
    virtual void OnOK();
    // IDCANCEL (Escape, the close box): EndDialog(IDCANCEL).
    virtual void OnCancel();
    // Ends the modal run with nResult once the current handler returns.
    void EndDialog(int nResult);

    // TRUE fetches the controls into the members (validating), FALSE fills the controls.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // Moves the focus to the control (selecting an edit's whole text, as the Tab key does).
    void GotoDlgCtrl(CWnd* pWndCtrl);

    UINT GetTemplateId() const { return m_nIDTemplate; }
    // While the modal run lasts: whether EndDialog was called, and with what.
    bool IsEnding() const { return m_bEnding; }
    int GetModalResult() const { return m_nModalResult; }
    QDialog* GetDialogWidget() const;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);

private:
    BOOL CreateFromTemplate();
    void SetInitialFocus();
    void DestroyDialogWindow();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    bool m_bEnding = false;
    int m_nModalResult = -1;
    struct Controls;
    std::unique_ptr<Controls> m_pControls; // stand-ins for the controls the derived class has no member for
};
