#include "app/instance/InstanceLock.h"

#include <QStandardPaths>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace klt {

namespace {

// The longest name that goes into the folder: "/" and a channel for the largest window id.
constexpr size_t kLongestEntry = sizeof("/keyloft-window-4294967295") - 1;
constexpr const char* kFallbackName = "/keyloft-runtime";

// A folder of this user's that nobody else may enter, short enough for a socket's path.
bool IsPrivateFolder(const std::string& folder) {
    struct stat st {};
    return !folder.empty() && folder.front() == '/' &&
           folder.size() + kLongestEntry < sizeof(sockaddr_un::sun_path) &&
           ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 077) == 0;
}

// Makes the folder under base (base itself as the user's own folder, when missing) and closes it
// to others. A folder of that name that belongs to someone else, or is a link, is not taken.
std::string MakePrivateFolder(const std::string& base) {
    if (base.empty()) {
        return {};
    }
    const std::string folder = base + kFallbackName;
    (void)::mkdir(base.c_str(), 0700);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    struct stat st {};
    if (::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid()) {
        (void)::chmod(folder.c_str(), 0700);
    }
    return IsPrivateFolder(folder) ? folder : std::string();
}

} // namespace

std::string RuntimeFolder() {
    if (const char* pszRuntime = std::getenv("XDG_RUNTIME_DIR");
        pszRuntime != nullptr && IsPrivateFolder(pszRuntime)) {
        return pszRuntime;
    }
    for (const auto location :
         {QStandardPaths::GenericCacheLocation, QStandardPaths::GenericConfigLocation}) {
        const std::string folder =
            MakePrivateFolder(QStandardPaths::writableLocation(location).toStdString());
        if (!folder.empty()) {
            return folder;
        }
    }
    return {};
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
    // Nothing in the folder may make the open wait (a pipe) or lead elsewhere (a link).
    const int fd =
        open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0600);
    if (fd < 0) {
        return Result::failed;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
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
