#include "framework/ControlWidgets.h"
#include "framework/Dialog.h"
#include "framework/QtText.h"
#include "support/scripted/ScriptStep.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QListView>
#include <QTest>
#include <gtest/gtest.h>

namespace klt::testing {

std::string ScriptStep::Describe() const {
    switch (kind) {
    case type:
        return "type \"" + text + "\" into " + std::to_string(nID);
    case click:
        return "click " + std::to_string(nID);
    case focus:
        return "move the focus to " + std::to_string(nID);
    case key:
        return "press key " + std::to_string(nValue);
    case clickRow:
        return "click row " + std::to_string(nValue) + " of " + std::to_string(nID);
    case doubleClickRow:
        return "double-click row " + std::to_string(nValue) + " of " + std::to_string(nID);
    case closeBox:
        return "close the dialog with its close box";
    case inspect:
        return "look at the dialog";
    case dialog:
        return nID != 0 ? "dialog " + std::to_string(nID) : std::string("a dialog");
    case answer:
        return "a message box to answer with " + std::to_string(nValue);
    case chooseFile:
        return "a file dialog to choose \"" + text + "\" in";
    case cancelFileDialog:
        return "a file dialog to cancel";
    case chooseCommand:
        return "a popup menu to choose " + std::to_string(nID) + " from";
    case dismissMenu:
        return "a popup menu to dismiss";
    case printTo:
        return "the print dialog, to print to \"" + text + "\"";
    case cancelPrint:
        return "the print dialog, to cancel";
    }
    return "?";
}

void ActivateDialog(CDialog& dialog) {
    QDialog* pWindow = dialog.GetDialogWidget();
    if (pWindow == nullptr || pWindow->isActiveWindow()) {
        return;
    }
    pWindow->activateWindow();
    if (!QTest::qWaitForWindowActive(pWindow, 2000)) {
        ADD_FAILURE() << "dialog " << dialog.GetTemplateId() << " did not become the active window";
    }
}

namespace {

QWidget* Control(CDialog& dialog, const ScriptStep& step) {
    QWidget* pControl = FindControl(dialog.GetDialogWidget(), step.nID);
    if (pControl == nullptr) {
        ADD_FAILURE() << "dialog " << dialog.GetTemplateId() << " has no control " << step.nID << " to "
                      << step.Describe();
    } else if (!pControl->isEnabled() || !pControl->isVisible()) {
        ADD_FAILURE() << "control " << step.nID << " of dialog " << dialog.GetTemplateId()
                      << " is disabled or hidden; a user cannot " << step.Describe();
        return nullptr;
    }
    return pControl;
}

void TakeFocus(QWidget* pControl, Qt::FocusReason reason) {
    if (pControl->focusPolicy() != Qt::NoFocus && !pControl->hasFocus()) {
        pControl->setFocus(reason);
    }
}

QListView* ListRow(CDialog& dialog, const ScriptStep& step, QRect& rowRect) {
    auto* pList = qobject_cast<QListView*>(Control(dialog, step));
    if (pList == nullptr || step.nValue < 0 || step.nValue >= pList->model()->rowCount()) {
        ADD_FAILURE() << "no list row to " << step.Describe();
        return nullptr;
    }
    pList->scrollTo(pList->model()->index(step.nValue, 0));
    rowRect = pList->visualRect(pList->model()->index(step.nValue, 0));
    return pList;
}

} // namespace

void PerformDialogStep(CDialog& dialog, const ScriptStep& step) {
    switch (step.kind) {
    case ScriptStep::type:
        if (QWidget* pControl = Control(dialog, step)) {
            TakeFocus(pControl, Qt::MouseFocusReason);
            QTest::keyClick(pControl, Qt::Key_A, Qt::ControlModifier); // replace what is there
            if (step.text.empty()) {
                QTest::keyClick(pControl, Qt::Key_Delete);
            } else {
                QTest::keyClicks(pControl, ToQString(step.text));
            }
        }
        break;
    case ScriptStep::click:
        if (QWidget* pControl = Control(dialog, step)) {
            // Near the left edge, which is on a check box's box as well as on a push button.
            const QPoint point(std::min(8, pControl->width() / 2), pControl->height() / 2);
            QTest::mouseClick(pControl, Qt::LeftButton, Qt::NoModifier, point);
        }
        break;
    case ScriptStep::focus:
        if (QWidget* pControl = Control(dialog, step)) {
            TakeFocus(pControl, Qt::TabFocusReason);
        }
        break;
    case ScriptStep::key: {
        QWidget* pTarget = QApplication::focusWidget();
        if (pTarget == nullptr || pTarget->window() != dialog.GetDialogWidget()) {
            pTarget = dialog.GetDialogWidget();
        }
        QTest::keyClick(pTarget, static_cast<Qt::Key>(step.nValue), step.modifiers);
        break;
    }
    case ScriptStep::clickRow: {
        QRect rowRect;
        if (QListView* pList = ListRow(dialog, step, rowRect)) {
            QTest::mouseClick(pList->viewport(), Qt::LeftButton, step.modifiers, rowRect.center());
        }
        break;
    }
    case ScriptStep::doubleClickRow: {
        QRect rowRect;
        if (QListView* pList = ListRow(dialog, step, rowRect)) {
            QTest::mouseClick(pList->viewport(), Qt::LeftButton, Qt::NoModifier, rowRect.center());
            QTest::mouseDClick(pList->viewport(), Qt::LeftButton, Qt::NoModifier, rowRect.center());
        }
        break;
    }
    case ScriptStep::closeBox:
        dialog.GetDialogWidget()->close();
        break;
    case ScriptStep::inspect:
        step.check(dialog);
        break;
    default:
        ADD_FAILURE() << step.Describe() << " does not act on a dialog";
        break;
    }
}

} // namespace klt::testing
