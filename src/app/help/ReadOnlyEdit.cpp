#include "app/help/ReadOnlyEdit.h"

#include <QPlainTextEdit>

BOOL CReadOnlyEdit::TakeOver(UINT nID, CWnd* pParent) {
    if (!SubclassDlgItem(nID, pParent)) {
        return FALSE;
    }
    // Without the editing flag the widget takes no key, menu command, paste or drop that would
    // change the text, while the caret still moves and selects; its colours stay those of a field
    // that can be edited.
    if (auto* pText = qobject_cast<QPlainTextEdit*>(GetWidget())) {
        pText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    return TRUE;
}
