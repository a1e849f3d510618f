#pragma once
// One step of a scripted user's queue, and how a dialog step is carried out on the live dialog.

#include "support/scripted/ScriptedUser.h"

namespace klt::testing {

struct ScriptStep {
    enum Kind {
        // acting on the innermost live dialog
        type,
        click,
        focus,
        key,
        clickRow,
        doubleClickRow,
        closeBox,
        inspect,
        // the other interactions
        dialog,
        answer,
        chooseFile,
        cancelFileDialog,
        chooseCommand,
        dismissMenu,
        printTo,
        cancelPrint,
    };

    Kind kind;
    int nID = 0;
    int nValue = 0;
    std::string text{};
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    std::function<void(CDialog&)> check{};

    bool ActsOnDialog() const { return kind < dialog; }
    std::string Describe() const;
};

// Carries out a dialog step on the live dialog; failures are reported to the running test.
void PerformDialogStep(CDialog& dialog, const ScriptStep& step);
// Makes the dialog's window the active one, so focus changes reach its controls as they do for a user.
void ActivateDialog(CDialog& dialog);

} // namespace klt::testing
