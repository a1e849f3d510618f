#pragma once
// Inside the framework: the window of a CDialog, built from its template, and the keys the
// dialog takes before its controls (Enter presses the default button, Escape cancels). The window
// grows to show every text of its controls whole and its title, up to half the screen.

#include "framework/ResourceTemplates.h"

#include <QDialog>

class QKeyEvent;

namespace klt {

class DialogWindow : public QDialog {
public:
    // Builds the dialog and its controls from the template, sized through the dialog font's base units.
    DialogWindow(const res::DialogTemplate& dialogTemplate, QWidget* pParent);

    // What Enter does: the focused push button, else the default button, else IDOK.
    void PressEnter();

    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;

private:
    void SendCommand(int nID);
    // Widens the dialog for its title, as far as half the screen.
    void FitTitle();

    int m_nDefaultId;
    QSize m_contentSize; // what the controls need
    int m_nShift = 0;    // how far the controls were moved right to sit in the middle
};

// A dialog or message box whose owner is hidden, missing or not yet on the screen opens in the middle
// of the screen instead of around a window nobody sees. Called once the window has its size, before
// it is shown.
void CentreWhileOwnerHidden(QWidget* pDialog);
// A dialog or message box is never minimised, nor its owners while it is open. The window managers
// that honour the hints of a fixed size offer only its close box; others (openbox) still offer
// minimise, and would hide the dialog with its owners and leave an empty screen: they come straight
// back, the dialog on top. Called when pWindow's state changed.
void RefuseMinimise(QWidget* pWindow);

// Keys that a dialog takes before its control: Enter in a multi-line field without ES_WANTRETURN
// presses the default button. True when handled.
bool HandleDialogKey(QWidget* pControl, QKeyEvent* pEvent);

} // namespace klt
