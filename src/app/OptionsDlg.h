#pragma once
// The Options dialog: start at log-on in the tray, the password file opened at start-up, and the
// global hot key. The hot key is stored with MOD_* modifiers; the hot-key field shows and edits it
// with HOTKEYF_* modifiers, and the two translate into each other here.

#include "framework/Framework.h"

#include <string>

class COptionsDlg : public CDialog {
public:
    explicit COptionsDlg(CWnd* pParentWnd = nullptr);

    // From the stored form (MOD_* bits, virtual-key code) into the field's form. The field form
    // always carries HOTKEYF_EXT, so Insert, Delete, Home and the like are the keys of the editing
    // block rather than the keypad's.
    void SetHotKeyFromSettings(WORD wModifiers, WORD wVirtualKey);
    // The field's combination in the stored form, without HOTKEYF_EXT; an empty field gives 0, 0.
    void GetHotKeyForSettings(WORD& wModifiers, WORD& wVirtualKey) const;

    BOOL OnInitDialog() override;
    // A start-up file name without any '.' gets ".klt"; one in a folder that does not exist is kept
    // only when the user says so.
    void OnOK() override;

    CHotKeyCtrl m_hotKey;
    int m_bEnableHotKey = 0;
    int m_bTray = 0;
    std::string m_strStartupFile;
    WORD m_wHotKeyModifiers = 0; // HOTKEYF_* bits
    WORD m_wHotKeyVirtualKey = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Puts the chosen file's full path into the start-up file field; the other fields keep what
    // the user set in them.
    void OnBrowse();
};
