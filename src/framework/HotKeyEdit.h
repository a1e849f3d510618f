#pragma once
// The hot-key field: shows a key combination ("Alt + Insert") and takes the next one the user
// presses. Keys are kept as a virtual-key code and HOTKEYF_* modifiers. Tab, Escape and Enter
// without modifiers keep their dialog meaning; Backspace and Delete without modifiers clear it. A key
// that types a character, pressed alone or with Shift alone, gets Alt.

#include "framework/AfxDefs.h"

#include <QLineEdit>

namespace klt {

class HotKeyEdit : public QLineEdit {
public:
    explicit HotKeyEdit(QWidget* pParent);

    void SetHotKey(WORD wVirtualKey, WORD wModifiers);
    WORD VirtualKey() const { return m_wVirtualKey; }
    WORD Modifiers() const { return m_wModifiers; }

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;
    void keyReleaseEvent(QKeyEvent* pEvent) override;
    bool event(QEvent* pEvent) override;

private:
    void ShowKey(WORD wVirtualKey, WORD wModifiers);

    WORD m_wVirtualKey = 0;
    WORD m_wModifiers = 0;
};

} // namespace klt
