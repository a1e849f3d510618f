#pragma once
// One system-wide key combination that reaches the program whichever window has the focus.

#include "framework/WinKeys.h" // the stored form of a combination: MOD_* bits and a virtual-key code

#include <functional>

namespace klt {

class IHotKey {
public:
    virtual ~IHotKey() = default;

    // Takes the combination (MOD_* bits, virtual-key code) for this program, replacing the one it
    // held. False when the combination is empty, has no key on this keyboard or belongs to another
    // program; the program then has no hot key.
    virtual bool Register(unsigned modifiers, unsigned virtualKey) = 0;
    // Gives the combination back. True when none was held or it was released.
    virtual bool Unregister() = 0;
    // Called on the thread that made the service, from its event loop, each time the combination
    // is pressed; never from inside a call of this interface.
    virtual void SetPressedCallback(std::function<void()> callback) = 0;
};

} // namespace klt
