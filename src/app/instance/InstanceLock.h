#pragma once
// The per-user lock that decides which running instance is the first one. It is a file lock in the
// user's runtime folder: the system drops it when its holder ends in any way, a crash included, so
// it never blocks a later start.

#include <string>

namespace klt {

// Where the lock and the channels live: $XDG_RUNTIME_DIR when it is this user's alone and leaves
// room for a socket's name, else a folder "keyloft-runtime" made for the purpose in the user's cache
// folder, else in the config folder; empty when there is none to be had.
std::string RuntimeFolder();

class InstanceLock {
public:
    enum class Result {
        first,  // this process holds the lock now
        second, // another process holds it
        failed, // the lock could not be made or taken: there is no folder of the user's own for it
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
