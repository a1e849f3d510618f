#include "FileIo.h"

#include "FileException.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace klt {

namespace {

constexpr const char* kAclAttribute = "system.posix_acl_access";

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    int Get() const { return m_fd; }
    // Closes now, reporting the error a late write-back may give; 0 or an errno value.
    int Close() {
        const int rc = ::close(m_fd);
        m_fd = -1;
        return rc == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

// A temporary file that is removed unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string strPath) : m_strPath(std::move(strPath)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!m_bKept) {
            ::unlink(m_strPath.c_str());
        }
    }
    const std::string& Path() const { return m_strPath; }
    void Keep() { m_bKept = true; }

private:
    std::string m_strPath;
    bool m_bKept = false;
};

int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return errno;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
}

// The file a save really replaces: the target of a symbolic link, else the path itself.
std::string ResolveTarget(const std::string& strPath) {
    char* pszReal = ::realpath(strPath.c_str(), nullptr);
    if (pszReal == nullptr) {
        return strPath;
    }
    std::string strReal = pszReal;
    std::free(pszReal);
    return strReal;
}

// Gives the temporary file what the old one had. Owner and group only where the user may; a user
// who is not the owner keeps the file as their own, as a copy would.
int CopyAttributes(int fd, const char* pszOldPath, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
    if (::fchmod(fd, old.st_mode & 07777) != 0) {
        return errno;
    }
    char acl[4096];
    const ssize_t n = ::getxattr(pszOldPath, kAclAttribute, acl, sizeof acl);
    if (n > 0 && ::fsetxattr(fd, kAclAttribute, acl, static_cast<size_t>(n), 0) != 0 && errno != ENOTSUP) {
        return errno;
    }
    return 0;
}

void SyncFolder(const std::string& strFolder) {
    const FileDescriptor dir(::open(strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // The new content already stands under its name: a folder that cannot be flushed is no reason
    // to report a save as failed when the old file is gone.
    if (dir.Get() >= 0) {
        (void)::fsync(dir.Get());
    }
}

} // namespace

std::string ReadFileContents(const std::string& strPath) {
    // Nonblocking so that a named pipe cannot hang the open; it is refused below.
    FileDescriptor file(::open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.Get() < 0) {
        throw CFileException::FromErrno(errno, strPath);
    }
    struct stat st {};
    if (::fstat(file.Get(), &st) != 0) {
        throw CFileException::FromErrno(errno, strPath);
    }
    if (!S_ISREG(st.st_mode)) {
        throw CFileException::FromErrno(S_ISDIR(st.st_mode) ? EISDIR : EACCES, strPath);
    }

    std::string bytes;
    bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throw CFileException::FromErrno(errno, strPath);
        }
        if (n == 0) {
            return bytes;
        }
        bytes.append(buffer, static_cast<size_t>(n));
    }
}

void ReplaceFileContents(const std::string& strPath, std::string_view bytes) {
    const auto fail = [&strPath](int nErrno) { return CFileException::FromErrno(nErrno, strPath); };
    const std::filesystem::path target = ResolveTarget(strPath);

    struct stat old {};
    const bool bExists = ::stat(target.c_str(), &old) == 0;
    if (!bExists && errno != ENOENT) {
        throw fail(errno);
    }
    if (bExists) {
        // Renaming over a folder, device or pipe would not write a file but destroy something else.
        if (!S_ISREG(old.st_mode)) {
            throw fail(S_ISDIR(old.st_mode) ? EISDIR : EACCES);
        }
        // A file the user may not write stays as it is, although its folder would allow a rename.
        if (::access(target.c_str(), W_OK) != 0) {
            throw fail(errno);
        }
    }

    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::string strTemplate = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    // mkostemp creates the file for its owner only, so the bytes are never readable by others.
    FileDescriptor temp(::mkostemp(strTemplate.data(), O_CLOEXEC));
    if (temp.Get() < 0) {
        throw fail(errno);
    }
    TemporaryFile tempFile(strTemplate);

    // A new password file is 0600 whatever the umask says.
    int nError = bExists ? CopyAttributes(temp.Get(), target.c_str(), old)
                         : (::fchmod(temp.Get(), 0600) == 0 ? 0 : errno);
    if (nError == 0) {
        nError = WriteAll(temp.Get(), bytes);
    }
    if (nError == 0 && ::fsync(temp.Get()) != 0) {
        nError = errno;
    }
    if (nError == 0) {
        nError = temp.Close();
    }
    if (nError == 0 && ::rename(tempFile.Path().c_str(), target.c_str()) != 0) {
        nError = errno;
    }
    if (nError != 0) {
        throw fail(nError);
    }
    tempFile.Keep();
    SyncFolder(folder.string());
}

} // namespace klt
