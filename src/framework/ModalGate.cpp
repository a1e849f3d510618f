#include "framework/ModalGate.h"

#include <QCoreApplication>
#include <deque>

namespace klt {

namespace {

int g_nModalDepth = 0;
int g_nRunning = 0;        // tasks running now, the outer one and those it called itself
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
        Running() { ++g_nRunning; }
        ~Running() {
            if (--g_nRunning == 0) {
                Schedule(); // for what came while it ran
            }
        }
    } running;
    task();
}

void RunHeld() {
    g_bScheduled = false;
    // A task that opens a dialog holds the rest until it has closed and this comes round again.
    while (!g_held.empty() && g_nModalDepth == 0 && g_nRunning == 0) {
        std::function<void()> task = std::move(g_held.front());
        g_held.pop_front();
        RunOne(task);
    }
}

} // namespace

void RunWhenNoModal(std::function<void()> task) {
    // A task that runs with no dialog open may call another gated command itself: that one is part
    // of it and runs at once (a hand-over's Configure, say).
    if (g_nModalDepth == 0 && (g_nRunning > 0 || g_held.empty())) {
        RunOne(task);
        return;
    }
    g_held.push_back(std::move(task));
    if (g_nModalDepth == 0 && g_nRunning == 0) {
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
