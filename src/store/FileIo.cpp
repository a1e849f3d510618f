#include "store/FileIo.h"

#include "store/FileException.h"
#include "store/ReplacementFile.h"
#include "store/SecretMemory.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace klt {

namespace {

constexpr const char* kAclAttribute = "system.posix_acl_access";
constexpr int kMaxLinks = 40; // as many as the kernel follows
constexpr size_t kFirstRead = 4096;

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

private:
    int m_fd;
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

// The file a save replaces: the last of a chain of symbolic links, read link by link as the
// kernel does (a relative target counts from its link's folder). A target that does not exist is
// the answer too. 0 or an errno value.
int FinalTarget(const std::string& strPath, std::string& strTarget) {
    std::filesystem::path path = strPath;
    for (int nLinks = 0; nLinks <= kMaxLinks; ++nLinks) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            strTarget = path.string();
            return errno == ENOENT ? 0 : errno;
        }
        if (!S_ISLNK(st.st_mode)) {
            strTarget = path.string();
            return 0;
        }
        std::error_code error;
        const std::filesystem::path link = std::filesystem::read_symlink(path, error);
        if (error) {
            return error.value();
        }
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    return ELOOP;
}

// The access-control list, however long it is.
int CopyAcl(int fd, const char* pszOldPath) {
    for (;;) {
        const ssize_t nSize = ::getxattr(pszOldPath, kAclAttribute, nullptr, 0);
        if (nSize < 0) {
            return errno == ENODATA || errno == ENOTSUP ? 0 : errno;
        }
        std::vector<char> acl(static_cast<size_t>(nSize));
        const ssize_t n = ::getxattr(pszOldPath, kAclAttribute, acl.data(), acl.size());
        if (n < 0 && errno == ERANGE) {
            continue; // it grew in between
        }
        if (n < 0) {
            return errno;
        }
        if (n > 0 && ::fsetxattr(fd, kAclAttribute, acl.data(), static_cast<size_t>(n), 0) != 0 &&
            errno != ENOTSUP) {
            return errno;
        }
        return 0;
    }
}

FileIdentity IdentityFromStat(const struct stat& st) {
    return {static_cast<uint64_t>(st.st_dev),         static_cast<uint64_t>(st.st_ino),
            static_cast<int64_t>(st.st_size),         static_cast<int64_t>(st.st_mtim.tv_sec),
            static_cast<int64_t>(st.st_mtim.tv_nsec), static_cast<int64_t>(st.st_ctim.tv_sec),
            static_cast<int64_t>(st.st_ctim.tv_nsec)};
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
    return CopyAcl(fd, pszOldPath);
}

void SyncFolder(const std::string& strFolder) {
    const FileDescriptor dir(::open(strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // The new content already stands under its name: a folder that cannot be flushed is no reason
    // to report a save as failed when the old file is gone.
    if (dir.Get() >= 0) {
        (void)::fsync(dir.Get());
    }
}

// Puts bytes in place of strTarget, which pOld describes when something stands there, giving the
// new file the old one's attributes when bKeepAttributes is set and 0600 otherwise. strPath names
// it in errors.
FileIdentity Replace(const std::string& strPath, const std::string& strTarget, std::string_view bytes,
                     const struct stat* pOld, bool bKeepAttributes) {
    const auto fail = [&strPath](int nErrno) { return CFileException::FromErrno(nErrno, strPath); };
    // A link that is not followed makes way as a file would.
    if (pOld != nullptr && !(S_ISLNK(pOld->st_mode) && !bKeepAttributes)) {
        // Renaming over a folder, device or pipe would not write a file but destroy something else.
        if (!S_ISREG(pOld->st_mode)) {
            throw fail(S_ISDIR(pOld->st_mode) ? EISDIR : EACCES);
        }
        // A file the user may not write stays as it is, although its folder would allow a rename.
        if (::access(strTarget.c_str(), W_OK) != 0) {
            throw fail(errno);
        }
    }

    ReplacementFile file(strTarget);
    int nError = file.Create();
    const int fd = file.Descriptor();
    // A new password file is 0600 whatever the umask says.
    if (nError == 0) {
        nError = pOld != nullptr && bKeepAttributes ? CopyAttributes(fd, strTarget.c_str(), *pOld)
                                                    : (::fchmod(fd, 0600) == 0 ? 0 : errno);
    }
    if (nError == 0) {
        nError = WriteAll(fd, bytes);
    }
    if (nError == 0 && ::fsync(fd) != 0) {
        nError = errno;
    }
    if (nError == 0) {
        nError = file.Commit();
    }
    // After the rename, which sets the status-change time.
    struct stat written {};
    if (nError == 0 && ::fstat(fd, &written) != 0) {
        nError = errno;
    }
    if (nError != 0) {
        throw fail(nError);
    }
    SyncFolder(FolderOf(strTarget));
    RemoveStaleTemporaries(strTarget);
    return IdentityFromStat(written);
}

} // namespace

std::optional<FileIdentity> IdentityOf(const std::string& strPath) {
    struct stat st {};
    if (::stat(strPath.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return IdentityFromStat(st);
}

std::string ReadFileContents(const std::string& strPath, FileIdentity* pIdentity, size_t nMaxBytes) {
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
    if (pIdentity != nullptr) {
        *pIdentity = IdentityFromStat(st);
    }

    // Read straight into the result, at least a page and one byte more than the size says, to see
    // the end at once; a buffer outgrown by a file that grows is wiped, as the bytes may be a
    // password file.
    const auto nClaimed = static_cast<size_t>(std::max<off_t>(st.st_size, 0));
    std::string bytes(std::min(std::max<size_t>(nClaimed + 1, kFirstRead), nMaxBytes), '\0');
    size_t nRead = 0;
    for (;;) {
        if (nRead == bytes.size() && nRead < nMaxBytes) {
            std::string larger(std::min(nRead * 2, nMaxBytes), '\0');
            std::copy_n(bytes.data(), nRead, larger.data());
            Wipe(bytes);
            bytes.swap(larger);
        }
        const size_t nWanted = bytes.size() - nRead;
        const ssize_t n = nWanted == 0 ? 0 : ::read(file.Get(), bytes.data() + nRead, nWanted);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const int nError = errno;
            Wipe(bytes);
            throw CFileException::FromErrno(nError, strPath);
        }
        if (n == 0) {
            bytes.resize(nRead);
            return bytes;
        }
        nRead += static_cast<size_t>(n);
    }
}

FileIdentity ReplaceFileContents(const std::string& strPath, std::string_view bytes) {
    std::string strTarget;
    if (const int nError = FinalTarget(strPath, strTarget); nError != 0) {
        throw CFileException::FromErrno(nError, strPath);
    }
    struct stat old {};
    const bool bExists = ::stat(strTarget.c_str(), &old) == 0;
    if (!bExists && errno != ENOENT) {
        throw CFileException::FromErrno(errno, strPath);
    }
    return Replace(strPath, strTarget, bytes, bExists ? &old : nullptr, true);
}

void ReplaceWithPrivateFile(const std::string& strPath, std::string_view bytes) {
    struct stat old {};
    const bool bExists = ::lstat(strPath.c_str(), &old) == 0;
    if (!bExists && errno != ENOENT) {
        throw CFileException::FromErrno(errno, strPath);
    }
    Replace(strPath, strPath, bytes, bExists ? &old : nullptr, false);
}

} // namespace klt
