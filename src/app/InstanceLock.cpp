#include "InstanceLock.h"

#include <QStandardPaths>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace klt {

std::string RuntimeFolder() {
    // Qt checks that the folder belongs to the user and that nobody else may enter it.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation).toStdString();
}

InstanceLock::~InstanceLock() {
    if (m_fd >= 0) {
        close(m_fd);
    }
}

InstanceLock::Result InstanceLock::Acquire(const std::string& name) {
    const std::string folder = RuntimeFolder();
    if (m_fd >= 0 || folder.empty()) {
        return Result::failed;
    }
    const std::string path = folder + "/" + name;
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return Result::failed;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int cause = errno;
        close(fd);
        return cause == EWOULDBLOCK ? Result::second : Result::failed;
    }
    m_fd = fd;
    return Result::first;
}

} // namespace klt
