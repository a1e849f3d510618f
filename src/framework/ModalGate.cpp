#include "ModalGate.h"

#include <QCoreApplication>
#include <deque>

namespace klt {

namespace {

int g_nModalDepth = 0;
bool g_bRunning = false;   // a task runs now; one that comes meanwhile waits for it
bool g_bScheduled = false; // RunHeld is on its way through the event loop
std::deque<std::function<void()>> g_held;

void RunHeld();

void Schedule() {
    if (g_bScheduled || g_held.empty() || QCoreApplication::instance() == nullptr) {
        return;
    }
    g_bScheduled = true;
    // Posted, not called: the command whose dialog just closed is still on the stack.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { RunHeld(); }, Qt::QueuedConnection);
}

void RunOne(std::function<void()>& task) {
    struct Running {
        Running() { g_bRunning = true; }
        ~Running() {
            g_bRunning = false;
            Schedule(); // for what came while it ran
        }
    } running;
    task();
}

void RunHeld() {
    g_bScheduled = false;
    // A task that opens a dialog holds the rest until it has closed and this comes round again.
    while (!g_held.empty() && g_nModalDepth == 0 && !g_bRunning) {
        std::function<void()> task = std::move(g_held.front());
        g_held.pop_front();
        RunOne(task);
    }
}

} // namespace

void RunWhenNoModal(std::function<void()> task) {
    if (g_nModalDepth == 0 && !g_bRunning && g_held.empty()) {
        RunOne(task);
        return;
    }
    g_held.push_back(std::move(task));
    if (g_nModalDepth == 0 && !g_bRunning) {
        Schedule();
    }
}

bool IsModalOpen() {
    return g_nModalDepth > 0;
}

ModalScope::ModalScope() {
    ++g_nModalDepth;
}

ModalScope::~ModalScope() {
    if (--g_nModalDepth == 0) {
        Schedule();
    }
}

} // namespace klt
