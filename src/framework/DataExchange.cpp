#include "framework/DataExchange.h"

#include "framework/ControlWidgets.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/MessageBox.h"

#include <QAbstractButton>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

CWnd* CDataExchange::PrepareCtrl(int nIDC) {
    CWnd* pControl = m_pDlgWnd->GetDlgItem(nIDC);
    if (pControl == nullptr) {
        throw std::logic_error("dialog " + std::to_string(m_pDlgWnd->GetTemplateId()) + " has no control " +
                               std::to_string(nIDC));
    }
    m_nIDLastControl = nIDC;
    m_bEditLastControl = false;
    return pControl;
}

CWnd* CDataExchange::PrepareEditCtrl(int nIDC) {
    CWnd* pControl = PrepareCtrl(nIDC);
    m_bEditLastControl = true;
    return pControl;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_nIDLastControl != 0) {
        m_pDlgWnd->GotoDlgCtrl(m_pDlgWnd->GetDlgItem(m_nIDLastControl));
    }
    throw klt::DataExchangeFailure();
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value) {
    CWnd* pControl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = pControl->GetWindowText();
    } else {
        pControl->SetWindowText(value);
    }
}

namespace {

template <class T> void ExchangeNumber(CDataExchange* pDX, int nIDC, T& value) {
    CWnd* pControl = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        pControl->SetWindowText(std::to_string(value));
        return;
    }
    const std::string text = pControl->GetWindowText();
    const char* pBegin = text.c_str();
    char* pEnd = nullptr;
    errno = 0;
    const long long number = std::strtoll(pBegin, &pEnd, 10);
    while (pEnd != nullptr && (*pEnd == ' ' || *pEnd == '\t')) {
        ++pEnd;
    }
    if (pEnd == pBegin || *pEnd != '\0' || errno == ERANGE || number < std::numeric_limits<T>::min() ||
        number > std::numeric_limits<T>::max()) {
        AfxMessageBox(AFX_IDP_PARSE_INT);
        pDX->Fail();
    }
    value = static_cast<T>(number);
}

} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    ExchangeNumber(pDX, nIDC, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value) {
    ExchangeNumber(pDX, nIDC, value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    auto* pButton = qobject_cast<QAbstractButton*>(pDX->PrepareCtrl(nIDC)->GetWidget());
    if (pButton == nullptr) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        value = pButton->isChecked() ? BST_CHECKED : BST_UNCHECKED;
    } else {
        pButton->setChecked(value == BST_CHECKED);
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    CWnd* pCurrent = pDX->PrepareCtrl(nIDC);
    if (rControl.GetWidget() != pCurrent->GetWidget()) {
        rControl.Attach(pCurrent->GetWidget());
    }
}
