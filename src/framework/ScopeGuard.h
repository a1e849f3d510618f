#pragma once
// Runs an action when the scope ends, unless dismissed first: the clean-up of a function with
// several ways out, written once.

#include <utility>

namespace klt {

template <class Action> class ScopeGuard {
public:
    explicit ScopeGuard(Action action) : m_action(std::move(action)) {}
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;
    ~ScopeGuard() {
        if (m_armed) {
            m_action();
        }
    }

    void Dismiss() { m_armed = false; }

private:
    Action m_action;
    bool m_armed = true;
};

} // namespace klt
