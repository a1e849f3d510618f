#include "framework/DialogWindow.h"

#include "framework/ControlWidgets.h"
#include "framework/QtText.h"
#include "framework/Wnd.h"

#include <QApplication>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWindow>
#include <algorithm>

namespace klt {
namespace {

bool IsEnter(const QKeyEvent* pEvent) {
    const auto modifiers = pEvent->modifiers() & ~Qt::KeypadModifier;
    return (pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier;
}

// A static text whose box holds a single line never wraps: a second line would be hidden.
bool IsOneLineText(const QLabel* pLabel) {
    return pLabel->height() < 2 * pLabel->fontMetrics().height();
}

// The width a text control needs to show its whole text on one line (a button: the text and its
// frame, not the wider minimum some styles give a button).
int WholeTextWidth(const QWidget* pWidget) {
    if (const auto* pButton = qobject_cast<const QPushButton*>(pWidget)) {
        const int nText = pButton->fontMetrics().size(Qt::TextShowMnemonic, pButton->text()).width();
        const int nMargin = pButton->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, pButton);
        const int nFrame = pButton->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, pButton);
        return nText + 2 * (nMargin + nFrame);
    }
    return pWidget->sizeHint().width();
}

// Our fonts set a text wider than the fonts the layouts were drawn for. A one-line text control
// grows to its whole text and the controls to its right on the same rows move along; a text of
// several lines grows downwards. The dialog then grows to hold them all.
void GrowToWholeText(QWidget* pWidget, const std::vector<QWidget*>& controls, int nGap) {
    auto* pLabel = qobject_cast<QLabel*>(pWidget);
    if (pLabel != nullptr && !IsOneLineText(pLabel)) {
        const int nHeight = pLabel->heightForWidth(pLabel->width());
        if (nHeight > pLabel->height()) {
            pLabel->resize(pLabel->width(), nHeight);
        }
        return;
    }
    if (pLabel != nullptr) {
        pLabel->setWordWrap(false);
    }
    const QRect before = pWidget->geometry();
    const int nGrowth = WholeTextWidth(pWidget) - before.width();
    if (nGrowth <= 0) {
        return;
    }
    pWidget->resize(before.width() + nGrowth, before.height());
    const int nRight = pWidget->geometry().right();
    for (QWidget* pOther : controls) {
        const QRect other = pOther->geometry();
        if (pOther != pWidget && qobject_cast<QGroupBox*>(pOther) == nullptr &&
            other.left() > before.right() && other.top() <= before.bottom() &&
            other.bottom() >= before.top() && other.left() <= nRight + nGap) {
            pOther->move(nRight + nGap + 1, other.y());
        }
    }
}

QRect Extent(const std::vector<QWidget*>& controls) {
    QRect extent;
    for (const QWidget* pControl : controls) {
        extent |= pControl->geometry();
    }
    return extent;
}

} // namespace

void CentreWhileOwnerHidden(QWidget* pDialog) {
    const QWidget* pOwner = pDialog->parentWidget() != nullptr ? pDialog->parentWidget()->window() : nullptr;
    // An owner just shown is not yet where the window manager will put it (the main window at the
    // first start, under the read-me): until it is on the screen, it counts as hidden.
    if (pOwner != nullptr && pOwner->isVisible() && !pOwner->isMinimized() &&
        pOwner->windowHandle() != nullptr && pOwner->windowHandle()->isExposed()) {
        return;
    }
    if (const QScreen* pScreen = pOwner != nullptr ? pOwner->screen() : pDialog->screen()) {
        const QRect area = pScreen->availableGeometry();
        pDialog->move(area.center() - QPoint(pDialog->width() / 2, pDialog->height() / 2));
    }
}

void RefuseMinimise(QWidget* pWindow) {
    if (!pWindow->isMinimized()) {
        return;
    }
    QTimer::singleShot(0, pWindow, [pWindow] {
        // The dialog open now with its owners, the main window first, so that it comes back on top.
        QWidget* pDialog =
            QApplication::activeModalWidget() != nullptr ? QApplication::activeModalWidget() : pWindow;
        std::vector<QWidget*> windows;
        for (QWidget* pOwner = pDialog; pOwner != nullptr;
             pOwner = pOwner->parentWidget() != nullptr ? pOwner->parentWidget()->window() : nullptr) {
            windows.insert(windows.begin(), pOwner);
        }
        for (QWidget* pOwner : windows) {
            if (pOwner->isMinimized()) {
                pOwner->showNormal();
            }
        }
        pDialog->activateWindow();
    });
}

DialogWindow::DialogWindow(const res::DialogTemplate& dialogTemplate, QWidget* pParent)
    : QDialog(pParent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      m_nDefaultId(IDOK) {
    setFont(QApplication::font(this));
    setWindowTitle(ToQString(dialogTemplate.caption));
    SetControlId(this, static_cast<int>(dialogTemplate.id));
    SetControlStyle(this, dialogTemplate.style);
    const QSize baseUnits = DialogBaseUnits(font());
    const QSize templateSize =
        DialogUnitsToPixels(baseUnits, 0, 0, dialogTemplate.cx, dialogTemplate.cy).size();

    QWidget* pPreviousFocusable = nullptr;
    std::vector<std::pair<QLabel*, size_t>> mnemonicLabels;
    std::vector<QWidget*> widgets;
    for (const res::ControlTemplate& control : dialogTemplate.controls) {
        QWidget* pWidget = CreateControlWidget(control.kind, control.text, control.style, control.id, this);
        pWidget->setGeometry(DialogUnitsToPixels(baseUnits, control.x, control.y, control.cx, control.cy));
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
    // A label or button keeps at least this much room before the control to its right.
    const int nGap = DialogUnitsToPixels(baseUnits, 0, 0, 3, 0).width();
    const QRect drawn = Extent(widgets);
    for (size_t i = 0; i < widgets.size(); ++i) {
        const res::ControlKind kind = dialogTemplate.controls[i].kind;
        if (kind == res::ControlKind::staticText || kind == res::ControlKind::checkBox ||
            kind == res::ControlKind::pushButton) {
            GrowToWholeText(widgets[i], widgets, nGap);
        }
    }
    const QRect grown = Extent(widgets);
    m_contentSize = templateSize + QSize(std::max(0, grown.right() - drawn.right()),
                                         std::max(0, grown.bottom() - drawn.bottom()));
    FitTitle();
}

void DialogWindow::FitTitle() {
    // The title bar also holds the window's icon and buttons; the window manager's font is bold and
    // often a little larger than ours, so the title gets a fifth more room than our bold font needs.
    QFont titleFont = font();
    titleFont.setBold(true);
    const QFontMetrics metrics(titleFont);
    const int nTitle = metrics.horizontalAdvance(windowTitle());
    const int nWanted = nTitle + nTitle / 5 + 6 * metrics.height();
    const QScreen* pScreen = screen();
    const int nLimit = pScreen != nullptr ? pScreen->availableGeometry().width() / 2 : nWanted;
    const int nWidth = std::max(m_contentSize.width(), std::min(nWanted, nLimit));
    // The controls keep their layout, in the middle of the wider dialog.
    const int nShift = (nWidth - m_contentSize.width()) / 2;
    if (nShift != m_nShift) {
        for (QWidget* pChild : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            pChild->move(pChild->pos() + QPoint(nShift - m_nShift, 0));
        }
        m_nShift = nShift;
    }
    setFixedSize(nWidth, m_contentSize.height());
}

void DialogWindow::changeEvent(QEvent* pEvent) {
    QDialog::changeEvent(pEvent);
    if (pEvent->type() == QEvent::WindowTitleChange && m_contentSize.isValid()) {
        FitTitle();
    } else if (pEvent->type() == QEvent::WindowStateChange) {
        RefuseMinimise(this);
    }
}

void DialogWindow::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    if (!pEvent->spontaneous()) {
        CentreWhileOwnerHidden(this);
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
