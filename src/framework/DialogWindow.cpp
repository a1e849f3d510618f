#include "DialogWindow.h"

#include "ControlWidgets.h"
#include "QtText.h"
#include "Wnd.h"

#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

namespace klt {
namespace {

bool IsEnter(const QKeyEvent* pEvent) {
    const auto modifiers = pEvent->modifiers() & ~Qt::KeypadModifier;
    return (pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier;
}

// Our fonts set a text a little wider than the fonts the layouts were drawn for: a label or check
// box grows to show its whole text, as far as the dialog reaches, instead of cutting it off. A
// control to its right is drawn above it, so nothing is covered that was not cut off before.
void KeepWholeText(QWidget* pWidget, int nDialogWidth) {
    const int nWanted = std::min(pWidget->sizeHint().width(), nDialogWidth - pWidget->x());
    if (nWanted > pWidget->width()) {
        pWidget->resize(nWanted, pWidget->height());
    }
}

} // namespace

DialogWindow::DialogWindow(const res::DialogTemplate& dialogTemplate, QWidget* pParent)
    : QDialog(pParent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      m_nDefaultId(IDOK) {
    setFont(QApplication::font(this));
    setWindowTitle(ToQString(dialogTemplate.caption));
    SetControlId(this, static_cast<int>(dialogTemplate.id));
    SetControlStyle(this, dialogTemplate.style);
    const QSize baseUnits = DialogBaseUnits(font());
    setFixedSize(DialogUnitsToPixels(baseUnits, 0, 0, dialogTemplate.cx, dialogTemplate.cy).size());

    QWidget* pPreviousFocusable = nullptr;
    std::vector<std::pair<QLabel*, size_t>> mnemonicLabels;
    std::vector<QWidget*> widgets;
    for (const res::ControlTemplate& control : dialogTemplate.controls) {
        QWidget* pWidget = CreateControlWidget(control.kind, control.text, control.style, control.id, this);
        pWidget->setGeometry(DialogUnitsToPixels(baseUnits, control.x, control.y, control.cx, control.cy));
        if (control.kind == res::ControlKind::staticText || control.kind == res::ControlKind::checkBox) {
            KeepWholeText(pWidget, width());
        }
        if (control.kind == res::ControlKind::groupBox) {
            pWidget->lower(); // drawn behind the controls it frames, and never in their way
        }
        if (control.kind == res::ControlKind::icon) {
            if (const char* path = AfxGetResources().IconForResource(control.icon)) {
                static_cast<QLabel*>(pWidget)->setPixmap(
                    QIcon(QString::fromLatin1(path)).pixmap(pWidget->size()));
            }
        }
        if (control.kind == res::ControlKind::pushButton && (control.style & 0x0F) == BS_DEFPUSHBUTTON) {
            m_nDefaultId = control.id;
        }
        if (control.kind == res::ControlKind::staticText && QString::fromLatin1(control.text).contains('&')) {
            mnemonicLabels.emplace_back(static_cast<QLabel*>(pWidget), widgets.size());
        }
        if (pWidget->focusPolicy() != Qt::NoFocus) {
            if (pPreviousFocusable != nullptr) {
                QWidget::setTabOrder(pPreviousFocusable, pWidget);
            }
            pPreviousFocusable = pWidget;
        }
        widgets.push_back(pWidget);
    }
    // A label's mnemonic moves the focus to the next control that can take it.
    for (const auto& [pLabel, index] : mnemonicLabels) {
        for (size_t next = index + 1; next < widgets.size(); ++next) {
            if (widgets[next]->focusPolicy() != Qt::NoFocus) {
                pLabel->setBuddy(widgets[next]);
                break;
            }
        }
    }
}

void DialogWindow::PressEnter() {
    if (auto* pButton = qobject_cast<QPushButton*>(focusWidget());
        pButton != nullptr && pButton->hasFocus()) {
        pButton->click();
        return;
    }
    if (QWidget* pDefault = FindControl(this, m_nDefaultId); pDefault != nullptr && !pDefault->isEnabled()) {
        return;
    }
    SendCommand(m_nDefaultId);
}

void DialogWindow::reject() {
    // Escape and the close box send IDCANCEL; the dialog's OnCancel decides.
    SendCommand(IDCANCEL);
}

void DialogWindow::keyPressEvent(QKeyEvent* pEvent) {
    if (IsEnter(pEvent)) {
        PressEnter();
        return;
    }
    if (pEvent->key() == Qt::Key_Escape && pEvent->modifiers() == Qt::NoModifier) {
        SendCommand(IDCANCEL);
        return;
    }
    QDialog::keyPressEvent(pEvent);
}

void DialogWindow::SendCommand(int nID) {
    if (CWnd* pWnd = CWnd::FromWidget(this)) {
        pWnd->SendMessage(WM_COMMAND, MAKELONG(static_cast<WORD>(nID), BN_CLICKED), 0);
    }
}

bool HandleDialogKey(QWidget* pControl, QKeyEvent* pEvent) {
    if (pEvent->type() != QEvent::KeyPress || !IsEnter(pEvent) ||
        qobject_cast<QPlainTextEdit*>(pControl) == nullptr || (ControlStyle(pControl) & ES_WANTRETURN) != 0) {
        return false;
    }
    if (auto* pDialog = dynamic_cast<DialogWindow*>(pControl->window())) {
        pDialog->PressEnter();
        return true;
    }
    return false;
}

} // namespace klt
