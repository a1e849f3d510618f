#pragma once
// A hot key for tests: registration succeeds unless another program is said to own the combination,
// and Press() stands for the user pressing it.

#include "platform/HotKey.h"

#include <optional>
#include <set>
#include <utility>

namespace klt {

class FakeHotKey : public IHotKey {
public:
    using Combination = std::pair<unsigned, unsigned>; // MOD_* bits, virtual-key code

    bool Register(unsigned modifiers, unsigned virtualKey) override;
    bool Unregister() override;
    void SetPressedCallback(std::function<void()> callback) override { m_callback = std::move(callback); }

    // Presses the registered combination; false when none is registered.
    bool Press();

    std::optional<Combination> registered;
    std::set<Combination> ownedByOthers;
    int registerCalls = 0;
    int unregisterCalls = 0;

private:
    std::function<void()> m_callback;
};

} // namespace klt
