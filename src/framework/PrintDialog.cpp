#include "framework/PrintDialog.h"

#include "framework/ModalSeam.h"

#include <QPrinter>

CPrintDialog::CPrintDialog(CWnd* pParentWnd)
    : m_pParentWnd(pParentWnd), m_pPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

CPrintDialog::~CPrintDialog() = default;

int CPrintDialog::DoModal() {
    return klt::CurrentModalSeam().PrintDialog(*m_pPrinter, m_pParentWnd);
}
