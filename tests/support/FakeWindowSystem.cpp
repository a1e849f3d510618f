#include "FakeWindowSystem.h"

namespace klt {

bool FakeWindowSystem::SetForegroundWindow(WindowId window) {
    activations.push_back(window);
    if (!IsWindow(window)) {
        return false;
    }
    foreground = window;
    return true;
}

bool FakeWindowSystem::IsDesktop(WindowId window) {
    auto it = windows.find(window);
    return it != windows.end() && it->second.desktop;
}

std::string FakeWindowSystem::WindowTitle(WindowId window) {
    auto it = windows.find(window);
    return it == windows.end() ? std::string() : it->second.title;
}

} // namespace klt
