#include "support/FakeWindowSystem.h"

namespace klt {

bool FakeWindowSystem::SetForegroundWindow(WindowId window) {
    activations.push_back(window);
    if (!IsWindow(window)) {
        return false;
    }
    foreground = window;
    return true;
}

void FakeWindowSystem::UserActivates(WindowId window) {
    foreground = window;
    if (m_activeWindowChanged) {
        m_activeWindowChanged(window);
    }
}

bool FakeWindowSystem::IsDesktopOrPanel(WindowId window) {
    auto it = windows.find(window);
    return it != windows.end() && (it->second.desktop || it->second.panel);
}

bool FakeWindowSystem::IsPanel(WindowId window) {
    auto it = windows.find(window);
    return it != windows.end() && it->second.panel;
}

std::string FakeWindowSystem::WindowTitle(WindowId window) {
    auto it = windows.find(window);
    return it == windows.end() ? std::string() : it->second.title;
}

} // namespace klt
