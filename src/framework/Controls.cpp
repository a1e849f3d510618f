#include "framework/Controls.h"

#include "framework/ControlWidgets.h"
#include "framework/HotKeyEdit.h"
#include "framework/QtText.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace {

BOOL CreateControl(CWnd& wnd, klt::res::ControlKind kind, const char* text, DWORD dwStyle, const CRect& rect,
                   CWnd* pParentWnd, UINT nID) {
    if (pParentWnd == nullptr || pParentWnd->GetWidget() == nullptr) {
        return FALSE;
    }
    QWidget* pWidget =
        klt::CreateControlWidget(kind, text, dwStyle, static_cast<int>(nID), pParentWnd->GetWidget());
    pWidget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    wnd.Attach(pWidget);
    return TRUE;
}

} // namespace

BOOL CStatic::Create(const char* lpszText, DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID) {
    return CreateControl(*this, klt::res::ControlKind::staticText, lpszText, dwStyle, rect, pParentWnd, nID);
}

BOOL CButton::Create(const char* lpszCaption, DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID) {
    const auto kind = (dwStyle & 0x0F) == BS_AUTOCHECKBOX ? klt::res::ControlKind::checkBox
                                                          : klt::res::ControlKind::pushButton;
    return CreateControl(*this, kind, lpszCaption, dwStyle, rect, pParentWnd, nID);
}

int CButton::GetCheck() const {
    auto* pButton = qobject_cast<QAbstractButton*>(GetWidget());
    return pButton != nullptr && pButton->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CButton::SetCheck(int nCheck) {
    if (auto* pButton = qobject_cast<QAbstractButton*>(GetWidget())) {
        pButton->setChecked(nCheck == BST_CHECKED);
    }
}

BOOL CEdit::Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID) {
    return CreateControl(*this, klt::res::ControlKind::edit, "", dwStyle, rect, pParentWnd, nID);
}

char CEdit::GetPasswordChar() const {
    auto* pEdit = qobject_cast<QLineEdit*>(GetWidget());
    return pEdit != nullptr ? klt::PasswordMask(pEdit) : 0;
}

void CEdit::SetPasswordChar(char ch) {
    if (auto* pEdit = qobject_cast<QLineEdit*>(GetWidget())) {
        klt::SetPasswordMask(pEdit, ch);
    }
}

BOOL CEdit::SetReadOnly(BOOL bReadOnly) {
    if (auto* pEdit = qobject_cast<QLineEdit*>(GetWidget())) {
        pEdit->setReadOnly(bReadOnly != FALSE);
        return TRUE;
    }
    if (auto* pText = qobject_cast<QPlainTextEdit*>(GetWidget())) {
        pText->setReadOnly(bReadOnly != FALSE);
        return TRUE;
    }
    return FALSE;
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL) {
    if (auto* pEdit = qobject_cast<QLineEdit*>(GetWidget())) {
        if (nStartChar < 0) {
            pEdit->deselect();
            return;
        }
        const int length = static_cast<int>(pEdit->text().size());
        const int end = nEndChar < 0 || nEndChar > length ? length : nEndChar;
        pEdit->setSelection(nStartChar, end - nStartChar);
    } else if (auto* pText = qobject_cast<QPlainTextEdit*>(GetWidget())) {
        QTextCursor cursor = pText->textCursor();
        if (nStartChar < 0) {
            cursor.clearSelection();
        } else {
            const int length = pText->document()->characterCount() - 1;
            cursor.setPosition(std::min(nStartChar, length));
            cursor.setPosition(nEndChar < 0 || nEndChar > length ? length : nEndChar,
                               QTextCursor::KeepAnchor);
        }
        pText->setTextCursor(cursor);
    }
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
    nStartChar = nEndChar = 0;
    if (auto* pEdit = qobject_cast<QLineEdit*>(GetWidget())) {
        if (pEdit->hasSelectedText()) {
            nStartChar = pEdit->selectionStart();
            nEndChar = pEdit->selectionEnd();
        } else {
            nStartChar = nEndChar = pEdit->cursorPosition();
        }
    } else if (auto* pText = qobject_cast<QPlainTextEdit*>(GetWidget())) {
        nStartChar = pText->textCursor().selectionStart();
        nEndChar = pText->textCursor().selectionEnd();
    }
}

void CEdit::ReplaceSel(const std::string& text, BOOL) {
    if (auto* pEdit = qobject_cast<QLineEdit*>(GetWidget())) {
        klt::ProgrammaticChange programmatic(pEdit);
        pEdit->insert(klt::ToQString(text));
    } else if (auto* pText = qobject_cast<QPlainTextEdit*>(GetWidget())) {
        klt::ProgrammaticChange programmatic(pText);
        pText->insertPlainText(klt::ToQString(text));
    }
}

int CEdit::GetLineCount() const {
    if (auto* pText = qobject_cast<QPlainTextEdit*>(GetWidget())) {
        return pText->document()->blockCount();
    }
    return GetWidget() != nullptr ? 1 : 0;
}

std::string CEdit::GetLine(int nIndex) const {
    if (auto* pText = qobject_cast<QPlainTextEdit*>(GetWidget())) {
        const QTextBlock block = pText->document()->findBlockByNumber(nIndex);
        return block.isValid() ? klt::ToBytes(block.text()) : std::string();
    }
    return nIndex == 0 ? GetWindowText() : std::string();
}

int CEdit::GetLine(int nIndex, char* lpszBuffer, int nMaxLength) const {
    const std::string line = GetLine(nIndex);
    const int nCount = std::min(static_cast<int>(line.size()), std::max(nMaxLength, 0));
    std::copy_n(line.data(), nCount, lpszBuffer);
    return nCount;
}

void CHotKeyCtrl::SetHotKey(WORD wVirtualKeyCode, WORD wModifiers) {
    if (auto* pEdit = dynamic_cast<klt::HotKeyEdit*>(GetWidget())) {
        pEdit->SetHotKey(wVirtualKeyCode, wModifiers);
    }
}

void CHotKeyCtrl::GetHotKey(WORD& wVirtualKeyCode, WORD& wModifiers) const {
    wVirtualKeyCode = wModifiers = 0;
    if (auto* pEdit = dynamic_cast<klt::HotKeyEdit*>(GetWidget())) {
        wVirtualKeyCode = pEdit->VirtualKey();
        wModifiers = pEdit->Modifiers();
    }
}

DWORD CHotKeyCtrl::GetHotKey() const {
    WORD wVirtualKeyCode = 0;
    WORD wModifiers = 0;
    GetHotKey(wVirtualKeyCode, wModifiers);
    return static_cast<DWORD>((wVirtualKeyCode & 0xFF) | ((wModifiers & 0xFF) << 8));
}
