#pragma once
// Inside the framework: the window of a CDialog, built from its template, and the keys the
// dialog takes before its controls (Enter presses the default button, Escape cancels).

#include "ResourceTemplates.h"

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

private:
    void SendCommand(int nID);

    int m_nDefaultId;
};

// Keys that a dialog takes before its control: Enter in a multi-line field without ES_WANTRETURN
// presses the default button. True when handled.
bool HandleDialogKey(QWidget* pControl, QKeyEvent* pEvent);

} // namespace klt
