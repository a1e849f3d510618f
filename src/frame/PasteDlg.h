#pragma once
// "Paste a password or username": the user picks an entry of the open file and whether its user name
// or its password is typed into the target window. The dialog belongs to the target and types
// nothing itself; its caller types m_strText once it has closed.

#include "framework/Framework.h"
#include "platform/WindowSystem.h"

#include <string>

class CKLTDoc;
class QMPassword;

class CPasteDlg : public CDialog {
public:
    // The target's title is taken now, before the dialog is shown: the field shows the window as it
    // was when the paste began.
    CPasteDlg(CForeignWnd* pTarget, klt::IWindowSystem& windows);

    std::string m_strText; // out: the text to type; empty when nothing is to be typed
    // in: the entry to select, by its system name, else by its position; out, after a button: the one
    // selected (-1 and an empty name for none)
    int m_nSel = 0;
    std::string m_strSelSystem;
    CKLTDoc* m_pDoc = nullptr; // whose entries are listed; not owned
    CListBox m_listBox;
    std::string m_strPasteTo; // the target's title

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnPasteUsername();
    void OnPastePassword();
    void OnCloseButton();

private:
    void Paste(std::string QMPassword::*pField);
    // The entry listed at the index, null for none.
    const QMPassword* EntryAt(int nIndex);
    std::string SystemAt(int nIndex);
    void Remember(int nSel);
};
