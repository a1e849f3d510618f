#pragma once
// Work that must not run inside a modal interaction: a command that replaces or empties the
// document while a dialog of another command is open would pull the ground from under that command
// (a password question whose file is then loaded into another file's entries). Such work waits
// until the last modal interaction has closed and the event loop is back at the top, and then runs
// in the order it arrived. Modal interactions are counted where they all pass: the modal seam.

#include <functional>

namespace klt {

// Runs task now when no modal interaction is open and no held task is waiting or running; else
// holds it until then. Held tasks run one after another, from the event loop.
void RunWhenNoModal(std::function<void()> task);
// Whether a modal interaction (dialog, message box, file dialog, popup menu, print dialog) is open.
bool IsModalOpen();

// Kept by the modal seam for the length of one modal interaction.
class ModalScope {
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

} // namespace klt
