#pragma once
// The per-user lock that decides which running instance is the first one. It is a file lock in the
// user's runtime folder: the system drops it when its holder ends in any way, a crash included, so
// it never blocks a later start.

#include <string>

namespace klt {

// $XDG_RUNTIME_DIR, or a folder of the same kind that only this user may enter; empty when there is
// none to be had.
std::string RuntimeFolder();

class InstanceLock {
public:
    enum class Result {
        first,  // this process holds the lock now
        second, // another process holds it
        failed, // the lock could not be made or taken
    };

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock called name in the runtime folder, without waiting; it is held until this
    // object goes away.
    Result Acquire(const std::string& name);

private:
    int m_fd = -1;
};

} // namespace klt
