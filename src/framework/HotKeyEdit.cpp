#include "framework/HotKeyEdit.h"

#include "framework/QtText.h"
#include "framework/VirtualKeys.h"

#include <QKeyEvent>

namespace klt {
namespace {

WORD HotKeyModifiers(Qt::KeyboardModifiers modifiers) {
    WORD wModifiers = 0;
    if (modifiers & Qt::ShiftModifier) {
        wModifiers |= HOTKEYF_SHIFT;
    }
    if (modifiers & Qt::ControlModifier) {
        wModifiers |= HOTKEYF_CONTROL;
    }
    if (modifiers & Qt::AltModifier) {
        wModifiers |= HOTKEYF_ALT;
    }
    return wModifiers;
}

bool IsModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
           key == Qt::Key_AltGr || key == Qt::Key_Super_L || key == Qt::Key_Super_R;
}

} // namespace

HotKeyEdit::HotKeyEdit(QWidget* pParent) : QLineEdit(pParent) {
    setReadOnly(true); // the text is ours; the keys are taken in keyPressEvent
    setContextMenuPolicy(Qt::NoContextMenu);
    ShowKey(0, 0);
}

void HotKeyEdit::SetHotKey(WORD wVirtualKey, WORD wModifiers) {
    m_wVirtualKey = wVirtualKey;
    m_wModifiers = wVirtualKey != 0 ? wModifiers : 0;
    ShowKey(m_wVirtualKey, m_wModifiers);
}

bool HotKeyEdit::event(QEvent* pEvent) {
    // Take every combination the user presses, even those the window would use as shortcuts.
    if (pEvent->type() == QEvent::ShortcutOverride) {
        pEvent->accept();
        return true;
    }
    return QLineEdit::event(pEvent);
}

void HotKeyEdit::keyPressEvent(QKeyEvent* pEvent) {
    const int key = pEvent->key();
    const WORD wModifiers = HotKeyModifiers(pEvent->modifiers());
    if (wModifiers == 0 && (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Escape ||
                            key == Qt::Key_Return || key == Qt::Key_Enter)) {
        pEvent->ignore();
        return;
    }
    if (key == Qt::Key_Backtab && wModifiers == HOTKEYF_SHIFT) {
        pEvent->ignore();
        return;
    }
    if (wModifiers == 0 && (key == Qt::Key_Backspace || key == Qt::Key_Delete)) {
        SetHotKey(0, 0);
        return;
    }
    if (IsModifierKey(key)) {
        ShowKey(0, wModifiers); // the combination so far
        return;
    }
    bool bExtended = false;
    const WORD wVirtualKey =
        VirtualKeyFromQt(key, (pEvent->modifiers() & Qt::KeypadModifier) != 0, &bExtended);
    if (wVirtualKey == 0) {
        return;
    }
    // A key that types a character gets Alt when neither Ctrl nor Alt came with it.
    const WORD wNeeded =
        TypesCharacter(wVirtualKey) && (wModifiers & (HOTKEYF_CONTROL | HOTKEYF_ALT)) == 0 ? HOTKEYF_ALT : 0;
    SetHotKey(wVirtualKey, static_cast<WORD>(wModifiers | wNeeded | (bExtended ? HOTKEYF_EXT : 0)));
}

void HotKeyEdit::keyReleaseEvent(QKeyEvent* pEvent) {
    // Letting go of the modifiers alone shows the stored key again.
    if (IsModifierKey(pEvent->key())) {
        ShowKey(m_wVirtualKey, m_wModifiers);
    }
}

void HotKeyEdit::ShowKey(WORD wVirtualKey, WORD wModifiers) {
    if (wVirtualKey == 0 && wModifiers != 0) {
        setText(ToQString(HotKeyText(0, wModifiers)));
    } else {
        setText(ToQString(HotKeyText(wVirtualKey, wModifiers)));
    }
}

} // namespace klt
