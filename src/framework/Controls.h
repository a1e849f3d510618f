#pragma once
// The simple controls: static text, push button and check box, edit field (single- or multi-line,
// password style with a mask character), and the hot-key field of the options.
//
// Change notifications (EN_CHANGE) and focus loss (EN_KILLFOCUS) of an edit go to the parent for
// what the user does; text the program writes (SetWindowText, data exchange) notifies nobody.

#include "framework/Wnd.h"

constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;

class CStatic : public CWnd {
public:
    BOOL Create(const char* lpszText, DWORD dwStyle, const CRect& rect, CWnd* pParentWnd,
                UINT nID = static_cast<UINT>(IDC_STATIC));
};

class CButton : public CWnd {
public:
    // dwStyle's BS_* bits choose a push button, default push button or automatic check box.
    BOOL Create(const char* lpszCaption, DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID);
    int GetCheck() const;
    void SetCheck(int nCheck);
};

class CEdit : public CWnd {
public:
    // dwStyle's ES_* bits choose single- or multi-line, password, read-only.
    BOOL Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID);

    // The mask character of a password field; 0 when the text shows plainly.
    char GetPasswordChar() const;
    void SetPasswordChar(char ch);
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    // Selects characters nStart to nEnd (-1 for the end); SetSel(-1) removes the selection.
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void GetSel(int& nStartChar, int& nEndChar) const;
    void ReplaceSel(const std::string& text, BOOL bCanUndo = FALSE);

    // Lines of a multi-line field (a single-line field has one).
    int GetLineCount() const;
    std::string GetLine(int nIndex) const;
    // As the platform's call: copies at most nMaxLength bytes of line nIndex, no terminator added;
    // returns the number of bytes copied.
    int GetLine(int nIndex, char* lpszBuffer, int nMaxLength) const;
};

class CHotKeyCtrl : public CWnd {
public:
    // The key as a virtual-key code and HOTKEYF_* modifiers; 0, 0 when the field is empty.
    void SetHotKey(WORD wVirtualKeyCode, WORD wModifiers);
    void GetHotKey(WORD& wVirtualKeyCode, WORD& wModifiers) const;
    // MAKEWORD(virtual key, modifiers).
    DWORD GetHotKey() const;
};
