// The real modal loops: QDialog::exec, QMessageBox, QFileDialog, QMenu::exec, QPrintDialog.

#include "framework/ModalSeam.h"

#include "framework/Dialog.h"
#include "framework/DialogWindow.h"
#include "framework/ModalGate.h"
#include "framework/QtText.h"
#include "framework/Wnd.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QShowEvent>

namespace klt {
namespace {

// The owner of a box or dialog: the given window, else the modal dialog open now, else the active window.
QWidget* OwnerWidget(CWnd* pOwner) {
    if (pOwner != nullptr && pOwner->GetWidget() != nullptr) {
        return pOwner->GetWidget()->window();
    }
    if (QWidget* pModal = QApplication::activeModalWidget()) {
        return pModal;
    }
    if (QWidget* pActive = QApplication::activeWindow()) {
        return pActive;
    }
    CWnd* pMain = AfxGetMainWnd();
    return pMain != nullptr ? pMain->GetWidget() : nullptr;
}

// The extension a filter's first pattern gives a name: "Encrypted (*.kltx)" -> "kltx"; empty for
// "All Files (*)".
QString FilterSuffix(const QString& filter) {
    const qsizetype open = filter.lastIndexOf(u'(');
    const QString first = filter.mid(open + 1).section(u' ', 0, 0).remove(u')');
    const QString suffix = first.startsWith(QStringLiteral("*.")) ? first.mid(2) : QString();
    return suffix.contains(u'*') || suffix.contains(u'?') ? QString() : suffix;
}

// The type chosen decides the extension of a name typed without one; the dialog starts with the
// type of the name it is given.
void FollowFilterSuffix(QFileDialog& dialog, const QString& initialPath, const QString& defaultSuffix) {
    const auto follow = [&dialog, defaultSuffix](const QString& filter) {
        const QString suffix = FilterSuffix(filter);
        dialog.setDefaultSuffix(suffix.isEmpty() ? defaultSuffix : suffix);
    };
    const QString initialSuffix = QFileInfo(initialPath).suffix();
    for (const QString& filter : dialog.nameFilters()) {
        if (!initialSuffix.isEmpty() &&
            FilterSuffix(filter).compare(initialSuffix, Qt::CaseInsensitive) == 0) {
            dialog.selectNameFilter(filter);
            follow(filter);
            break;
        }
    }
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
}

// A modal loop shows the arrow even while the program waits for something else.
class ArrowCursor {
public:
    ArrowCursor() : m_bActive(QApplication::overrideCursor() != nullptr) {
        if (m_bActive) {
            QApplication::setOverrideCursor(Qt::ArrowCursor);
        }
    }
    ~ArrowCursor() {
        if (m_bActive) {
            QApplication::restoreOverrideCursor();
        }
    }
    ArrowCursor(const ArrowCursor&) = delete;
    ArrowCursor& operator=(const ArrowCursor&) = delete;

private:
    bool m_bActive;
};

// While a modal window runs; once it has closed, its owner is the active window again (the main
// window when the owner has gone too), as the user expects. Left to itself the window manager may
// still name the closed window active, and the next key goes nowhere.
class FocusReturn {
public:
    explicit FocusReturn(QWidget* pOwner) : m_pOwner(pOwner != nullptr ? pOwner->window() : nullptr) {}
    ~FocusReturn() {
        QWidget* pWindow = m_pOwner;
        if (pWindow == nullptr || !pWindow->isVisible()) {
            CWnd* pMain = AfxGetMainWnd();
            pWindow =
                pMain != nullptr && pMain->GetWidget() != nullptr ? pMain->GetWidget()->window() : nullptr;
        }
        if (QWidget* pModal = QApplication::activeModalWidget()) {
            pWindow = pModal; // a dialog still open keeps the user's attention
        }
        if (pWindow != nullptr && pWindow->isVisible() && !pWindow->isMinimized()) {
            pWindow->activateWindow();
        }
    }
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

private:
    QPointer<QWidget> m_pOwner;
};

// A message box around a hidden owner opens in the middle of the screen, and is never minimised.
class OwnedMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* pEvent) override {
        QMessageBox::showEvent(pEvent);
        if (!pEvent->spontaneous()) {
            CentreWhileOwnerHidden(this);
        }
    }
    void changeEvent(QEvent* pEvent) override {
        QMessageBox::changeEvent(pEvent);
        if (pEvent->type() == QEvent::WindowStateChange) {
            RefuseMinimise(this);
        }
    }
};

QMessageBox::Icon IconOf(UINT nType) {
    switch (nType & MB_ICONMASK) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

class QtModalSeam : public ModalSeam {
public:
    int RunDialog(CDialog& dialog) override {
        ArrowCursor arrow;
        QDialog* pWidget = dialog.GetDialogWidget();
        FocusReturn focusReturn(pWidget->parentWidget());
        return pWidget->exec();
    }

    int MessageBox(const MessageBoxRequest& request) override {
        ArrowCursor arrow;
        QWidget* pOwner = OwnerWidget(request.pOwner);
        FocusReturn focusReturn(pOwner);
        OwnedMessageBox box(IconOf(request.type), ToQString(request.caption), ToQString(request.text),
                            QMessageBox::NoButton, pOwner);
        struct Choice {
            QMessageBox::StandardButton button;
            int result;
        };
        std::vector<Choice> choices;
        switch (request.type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            choices = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
            break;
        case MB_YESNOCANCEL:
            choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
            break;
        case MB_YESNO:
            choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
            break;
        case MB_RETRYCANCEL:
            choices = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
            break;
        default:
            choices = {{QMessageBox::Ok, IDOK}};
            break;
        }
        for (const Choice& choice : choices) {
            box.addButton(choice.button);
        }
        box.setDefaultButton(choices.front().button);
        box.exec();
        const auto clicked = box.standardButton(box.clickedButton());
        for (const Choice& choice : choices) {
            if (choice.button == clicked) {
                return choice.result;
            }
        }
        // Closed without a button (Escape): Cancel where there is one, else the only answer.
        return choices.size() > 1 && choices.back().result == IDCANCEL ? IDCANCEL : choices.back().result;
    }

    std::string FileDialog(const FileDialogRequest& request) override {
        ArrowCursor arrow;
        FocusReturn focusReturn(OwnerWidget(request.pOwner));
        QFileDialog dialog(OwnerWidget(request.pOwner), ToQString(request.title),
                           ToQString(request.initialPath), ToQString(request.qtFilter));
        // Wide enough that the name, size, type and date columns show whole.
        if (const QScreen* pScreen = dialog.screen()) {
            dialog.resize(dialog.sizeHint()
                              .expandedTo(QSize(820, 500))
                              .boundedTo(pScreen->availableGeometry().size() * 9 / 10));
        }
        dialog.setAcceptMode(request.bOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setFileMode((request.flags & OFN_FILEMUSTEXIST) != 0 ? QFileDialog::ExistingFile
                                                                    : QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, (request.flags & OFN_OVERWRITEPROMPT) == 0);
        if (!request.defaultSuffix.empty()) {
            dialog.setDefaultSuffix(ToQString(request.defaultSuffix));
        }
        if (!request.bOpen) {
            FollowFilterSuffix(dialog, ToQString(request.initialPath), ToQString(request.defaultSuffix));
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return {};
        }
        return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
    }

    UINT PopupMenu(QMenu& menu, const QPoint& screenPos) override {
        ArrowCursor arrow;
        QAction* pChosen = menu.exec(screenPos);
        return pChosen != nullptr ? pChosen->data().toUInt() : 0;
    }

    int PrintDialog(QPrinter& printer, CWnd* pOwner) override {
        ArrowCursor arrow;
        FocusReturn focusReturn(OwnerWidget(pOwner));
        QPrintDialog dialog(&printer, OwnerWidget(pOwner));
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        // Many Linux desktops have no printer at all: printing to a PDF file stays on offer.
        dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
        return dialog.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
    }
};

QtModalSeam g_realSeam;
ModalSeam* g_pSeam = nullptr;

// Every modal interaction passes here, whoever carries it out, and is counted for the modal gate.
class CountingSeam : public ModalSeam {
public:
    int RunDialog(CDialog& dialog) override {
        const ModalScope scope;
        return Installed().RunDialog(dialog);
    }
    int MessageBox(const MessageBoxRequest& request) override {
        const ModalScope scope;
        return Installed().MessageBox(request);
    }
    std::string FileDialog(const FileDialogRequest& request) override {
        const ModalScope scope;
        return Installed().FileDialog(request);
    }
    UINT PopupMenu(QMenu& menu, const QPoint& screenPos) override {
        const ModalScope scope;
        return Installed().PopupMenu(menu, screenPos);
    }
    int PrintDialog(QPrinter& printer, CWnd* pOwner) override {
        const ModalScope scope;
        return Installed().PrintDialog(printer, pOwner);
    }

private:
    static ModalSeam& Installed() { return g_pSeam != nullptr ? *g_pSeam : g_realSeam; }
};

CountingSeam g_countingSeam;

} // namespace

ModalSeam& CurrentModalSeam() {
    return g_countingSeam;
}

ModalSeam* InstallModalSeam(ModalSeam* pSeam) {
    ModalSeam* pPrevious = g_pSeam;
    g_pSeam = pSeam;
    return pPrevious;
}

} // namespace klt
