#pragma once
// A text box whose text the user can read, select, copy and scroll through but not change: typed
// characters, Backspace, Delete, cut, paste, a middle-button paste and dropped text all change
// nothing. It keeps the look of an ordinary text box, caret included.

#include "framework/Framework.h"

class CReadOnlyEdit : public CEdit {
public:
    // Takes over the dialog's edit control nID.
    BOOL TakeOver(UINT nID, CWnd* pParent);
};
