#pragma once
// Waiting in a test for what the code under test, another program or the display does: the event loop
// runs meanwhile, and the wait ends as soon as the condition holds or once the bound has passed.

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <chrono>

namespace klt::test {

using namespace std::chrono_literals;

// How long any wait of the tests lasts at most. The sanitizers make every step several times slower.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr std::chrono::milliseconds kBound = 60s;
#else
inline constexpr std::chrono::milliseconds kBound = 20s;
#endif

// Runs the event loop until condition() holds; false when the bound passed first. The condition is
// looked at again after the events that came meanwhile, at least every 10 ms.
template <typename Condition> bool WaitUntil(Condition condition, std::chrono::milliseconds bound = kBound) {
    const QDeadlineTimer deadline(bound);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

} // namespace klt::test
