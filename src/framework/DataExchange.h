#pragma once
// Dialog data exchange: one DDX_ call per control in DoDataExchange serves both directions.

#include "framework/AfxDefs.h"

#include <string>

class CDialog;
class CWnd;

namespace klt {
// Thrown by CDataExchange::Fail; UpdateData turns it into FALSE.
struct DataExchangeFailure {};
} // namespace klt

class CDataExchange {
public:
    CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    // The control nID for the next exchange; remembered so that Fail can put the focus there.
    CWnd* PrepareCtrl(int nIDC);
    CWnd* PrepareEditCtrl(int nIDC);
    // Ends a failed validation: the focus goes to the last prepared control and UpdateData
    // returns FALSE.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CDialog* m_pDlgWnd;

private:
    int m_nIDLastControl = 0;
    bool m_bEditLastControl = false;
};

// Texts keep their bytes: an edit field that the user did not change gives back what was put in.
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
// Numbers: a field that is not a number shows "Please enter an integer." and fails.
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
// Check boxes: BST_CHECKED (1) or BST_UNCHECKED (0).
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// Attaches rControl to control nIDC the first time (each time the dialog is built).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
