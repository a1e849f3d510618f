#include "support/scripted/ScriptedUser.h"

#include "framework/Dialog.h"
#include "framework/QtText.h"
#include "support/scripted/ScriptStep.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QMenu>
#include <QPrinter>
#include <gtest/gtest.h>

namespace klt::testing {
namespace {

const char* ButtonsName(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return "OK/Cancel";
    case MB_YESNOCANCEL:
        return "Yes/No/Cancel";
    case MB_YESNO:
        return "Yes/No";
    case MB_RETRYCANCEL:
        return "Retry/Cancel";
    default:
        return "OK";
    }
}

bool BoxOffers(UINT type, int nResult) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return nResult == IDOK || nResult == IDCANCEL;
    case MB_YESNOCANCEL:
        return nResult == IDYES || nResult == IDNO || nResult == IDCANCEL;
    case MB_YESNO:
        return nResult == IDYES || nResult == IDNO;
    case MB_RETRYCANCEL:
        return nResult == IDRETRY || nResult == IDCANCEL;
    default:
        return nResult == IDOK;
    }
}

// What a box answers when the script had no answer for it: the most cautious button.
int CautiousAnswer(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_RETRYCANCEL:
        return IDCANCEL;
    case MB_YESNO:
        return IDNO;
    default:
        return IDOK;
    }
}

} // namespace

ScriptedUser::ScriptedUser() : m_pPrevious(InstallModalSeam(this)) {}

ScriptedUser::~ScriptedUser() {
    InstallModalSeam(m_pPrevious);
    if (!m_steps.empty()) {
        std::string left;
        for (const ScriptStep& step : m_steps) {
            left += "\n  " + step.Describe();
        }
        ADD_FAILURE() << "the scripted user still had steps left when the test ended:" << left;
    }
}

ScriptedUser& ScriptedUser::Add(ScriptStep step) {
    m_steps.push_back(std::move(step));
    return *this;
}

ScriptedUser& ScriptedUser::Dialog(UINT nIDTemplate) {
    return Add({ScriptStep::dialog, static_cast<int>(nIDTemplate)});
}
ScriptedUser& ScriptedUser::Type(int nID, const std::string& text) {
    ScriptStep step{ScriptStep::type, nID};
    step.text = text;
    return Add(std::move(step));
}
ScriptedUser& ScriptedUser::Click(int nID) {
    return Add({ScriptStep::click, nID});
}
ScriptedUser& ScriptedUser::Focus(int nID) {
    return Add({ScriptStep::focus, nID});
}
ScriptedUser& ScriptedUser::Key(int qtKey, Qt::KeyboardModifiers modifiers) {
    ScriptStep step{ScriptStep::key, 0, qtKey};
    step.modifiers = modifiers;
    return Add(std::move(step));
}
ScriptedUser& ScriptedUser::ClickRow(int nID, int nRow, Qt::KeyboardModifiers modifiers) {
    ScriptStep step{ScriptStep::clickRow, nID, nRow};
    step.modifiers = modifiers;
    return Add(std::move(step));
}
ScriptedUser& ScriptedUser::DoubleClickRow(int nID, int nRow) {
    return Add({ScriptStep::doubleClickRow, nID, nRow});
}
ScriptedUser& ScriptedUser::Enter() {
    return Key(Qt::Key_Return);
}
ScriptedUser& ScriptedUser::Escape() {
    return Key(Qt::Key_Escape);
}
ScriptedUser& ScriptedUser::CloseBox() {
    return Add({ScriptStep::closeBox});
}
ScriptedUser& ScriptedUser::Inspect(std::function<void(CDialog&)> inspect) {
    ScriptStep step{ScriptStep::inspect};
    step.check = std::move(inspect);
    return Add(std::move(step));
}
ScriptedUser& ScriptedUser::Answer(int nResult) {
    return Add({ScriptStep::answer, 0, nResult});
}
ScriptedUser& ScriptedUser::ChooseFile(const std::string& path) {
    ScriptStep step{ScriptStep::chooseFile};
    step.text = path;
    return Add(std::move(step));
}
ScriptedUser& ScriptedUser::CancelFileDialog() {
    return Add({ScriptStep::cancelFileDialog});
}
ScriptedUser& ScriptedUser::ChooseCommand(UINT nID) {
    return Add({ScriptStep::chooseCommand, static_cast<int>(nID)});
}
ScriptedUser& ScriptedUser::DismissMenu() {
    return Add({ScriptStep::dismissMenu});
}
ScriptedUser& ScriptedUser::PrintTo(const std::string& pdfPath) {
    ScriptStep step{ScriptStep::printTo};
    step.text = pdfPath;
    return Add(std::move(step));
}
ScriptedUser& ScriptedUser::CancelPrint() {
    return Add({ScriptStep::cancelPrint});
}

bool ScriptedUser::NextIs(int kind) const {
    return !m_steps.empty() && m_steps.front().kind == kind;
}

ScriptStep ScriptedUser::Take() {
    ScriptStep step = std::move(m_steps.front());
    m_steps.pop_front();
    return step;
}

std::string ScriptedUser::NextDescription() const {
    return m_steps.empty() ? std::string("nothing") : m_steps.front().Describe();
}

int ScriptedUser::RunDialog(CDialog& dialog) {
    const UINT nID = dialog.GetTemplateId();
    m_dialogs.push_back(nID);
    const std::string caption = ToBytes(dialog.GetDialogWidget()->windowTitle());
    if (!NextIs(ScriptStep::dialog) ||
        (m_steps.front().nID != 0 && static_cast<UINT>(m_steps.front().nID) != nID)) {
        ADD_FAILURE() << "dialog " << nID << " (\"" << caption << "\") opened, but the script expected "
                      << NextDescription() << "; the dialog is cancelled";
        dialog.EndDialog(IDCANCEL);
        return IDCANCEL;
    }
    Take();
    QDialog* pWindow = dialog.GetDialogWidget();
    pWindow->setWindowModality(Qt::ApplicationModal);
    pWindow->show();
    m_liveDialogs.push_back(&dialog);
    while (!dialog.IsEnding()) {
        if (m_steps.empty() || !m_steps.front().ActsOnDialog()) {
            ADD_FAILURE() << "dialog " << nID << " (\"" << caption
                          << "\") is still open, but the script's next step is " << NextDescription()
                          << "; the dialog is cancelled";
            dialog.EndDialog(IDCANCEL);
            break;
        }
        const ScriptStep step = Take();
        ActivateDialog(dialog);
        PerformDialogStep(dialog, step);
    }
    m_liveDialogs.pop_back();
    return dialog.GetModalResult();
}

int ScriptedUser::MessageBox(const MessageBoxRequest& request) {
    m_messageBoxes.push_back({request.text, request.caption, request.type});
    // The box takes the focus from the dialog's control while it is shown, and gives it back.
    QWidget* pFocus = nullptr;
    if (!m_liveDialogs.empty() && m_liveDialogs.back()->GetDialogWidget() != nullptr) {
        pFocus = m_liveDialogs.back()->GetDialogWidget()->focusWidget();
        if (pFocus != nullptr && pFocus->hasFocus()) {
            pFocus->clearFocus();
        } else {
            pFocus = nullptr;
        }
    }
    int nResult = CautiousAnswer(request.type);
    if (!NextIs(ScriptStep::answer)) {
        ADD_FAILURE() << "message box \"" << request.text << "\" (" << ButtonsName(request.type)
                      << ") appeared, but the script expected " << NextDescription();
    } else {
        const int nAnswer = Take().nValue;
        if (BoxOffers(request.type, nAnswer)) {
            nResult = nAnswer;
        } else {
            ADD_FAILURE() << "message box \"" << request.text << "\" offers " << ButtonsName(request.type)
                          << ", not the scripted answer " << nAnswer;
        }
    }
    if (pFocus != nullptr) {
        pFocus->setFocus(Qt::ActiveWindowFocusReason);
    }
    return nResult;
}

std::string ScriptedUser::FileDialog(const FileDialogRequest& request) {
    m_fileDialogs.push_back(request);
    if (NextIs(ScriptStep::chooseFile)) {
        return Take().text;
    }
    if (NextIs(ScriptStep::cancelFileDialog)) {
        Take();
        return {};
    }
    ADD_FAILURE() << "file dialog \"" << request.title << "\" appeared, but the script expected "
                  << NextDescription();
    return {};
}

UINT ScriptedUser::PopupMenu(QMenu& menu, const QPoint&) {
    RecordedMenu recorded;
    for (QAction* pAction : menu.actions()) {
        RecordedMenuItem item;
        if (!pAction->isSeparator()) {
            item.id = pAction->data().toUInt();
            item.text = ToBytes(pAction->text());
            item.bEnabled = pAction->isEnabled();
            item.bChecked = pAction->isChecked();
            item.bDefault = menu.defaultAction() == pAction;
        }
        recorded.push_back(item);
    }
    m_menus.push_back(recorded);
    if (NextIs(ScriptStep::dismissMenu)) {
        Take();
        return 0;
    }
    if (!NextIs(ScriptStep::chooseCommand)) {
        ADD_FAILURE() << "a popup menu appeared, but the script expected " << NextDescription();
        return 0;
    }
    const UINT nID = static_cast<UINT>(Take().nID);
    for (const RecordedMenuItem& item : recorded) {
        if (item.id == nID) {
            if (!item.bEnabled) {
                ADD_FAILURE() << "menu item " << nID << " (\"" << item.text
                              << "\") is disabled; nothing is chosen";
                return 0;
            }
            return nID;
        }
    }
    ADD_FAILURE() << "the popup menu has no command " << nID;
    return 0;
}

int ScriptedUser::PrintDialog(QPrinter& printer, CWnd*) {
    if (NextIs(ScriptStep::printTo)) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(Take().text));
        return IDOK;
    }
    if (NextIs(ScriptStep::cancelPrint)) {
        Take();
        return IDCANCEL;
    }
    ADD_FAILURE() << "the print dialog appeared, but the script expected " << NextDescription();
    return IDCANCEL;
}

void ProcessPendingEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

} // namespace klt::testing
