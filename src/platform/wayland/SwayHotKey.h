#pragma once
// The hot key as a key binding of the sway compositor, added and removed over its IPC socket: the
// binding starts the program again with --paste, and that start hands the paste to this one. The
// key never reaches the window that has the focus.

#include "platform/HotKey.h"

#include <string>

namespace klt::wayland {

class SwayHotKey final : public IHotKey {
public:
    // The compositor's socket, and the command line that a press runs.
    SwayHotKey(std::string socketPath, std::string pasteCommand);
    ~SwayHotKey() override;
    SwayHotKey(const SwayHotKey&) = delete;
    SwayHotKey& operator=(const SwayHotKey&) = delete;

    bool Register(unsigned modifiers, unsigned virtualKey) override;
    bool Unregister() override;
    // A press arrives as a second start, not through this service.
    void SetPressedCallback(std::function<void()>) override {}

    // The compositor's name of the combination ("Mod1+Insert"); empty when the key has no name.
    static std::string CombinationName(unsigned modifiers, unsigned virtualKey);

private:
    // Runs one compositor command; true when the compositor reports success.
    bool Run(const std::string& command) const;

    std::string m_socketPath;
    std::string m_pasteCommand;
    std::string m_bound; // the combination this program has bound, or empty
};

} // namespace klt::wayland
