#pragma once
// The print dialog: the user picks and sets up a printer (or a PDF file) for a QPrinter.

#include "framework/AfxDefs.h"

#include <memory>

class CWnd;
class QPrinter;

class CPrintDialog {
public:
    explicit CPrintDialog(CWnd* pParentWnd = nullptr);
    ~CPrintDialog();
    CPrintDialog(const CPrintDialog&) = delete;
    CPrintDialog& operator=(const CPrintDialog&) = delete;

    // IDOK when the user confirmed; the printer is then set up.
    int DoModal();
    QPrinter& GetPrinter() { return *m_pPrinter; }

private:
    CWnd* m_pParentWnd;
    std::unique_ptr<QPrinter> m_pPrinter;
};
