#pragma once
// Looks at a live dialog from a scripted user's Inspect step.

#include "framework/Dialog.h"

#include <QDialog>
#include <string>

namespace klt::test {

inline int FocusedId(const CDialog& dialog) {
    const CWnd* pFocus = CWnd::FromWidget(dialog.GetDialogWidget()->focusWidget());
    return pFocus != nullptr ? pFocus->GetDlgCtrlID() : 0;
}

inline std::string FieldText(const CDialog& dialog, int nID) {
    return dialog.GetDlgItemText(nID);
}

inline bool IsEnabled(const CDialog& dialog, int nID) {
    const CWnd* pControl = dialog.GetDlgItem(nID);
    return pControl != nullptr && pControl->IsWindowEnabled();
}

} // namespace klt::test
