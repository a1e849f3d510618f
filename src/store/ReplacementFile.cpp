#include "store/ReplacementFile.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace klt {

namespace {

// ".", the stem, "." and the six-character suffix stay within a file name's 255 bytes.
constexpr size_t kSuffixLength = 6;
constexpr size_t kMaxStemBytes = 255 - kSuffixLength - 2;
constexpr std::string_view kSuffixCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kLinkAttempts = 100;

// ".NAME.", NAME cut short (never inside a UTF-8 character) where the whole name would be too long.
std::string TemporaryPrefix(const std::string& strTarget) {
    std::string stem = std::filesystem::path(strTarget).filename().string();
    if (stem.size() > kMaxStemBytes) {
        size_t n = kMaxStemBytes;
        while (n > 0 && (static_cast<unsigned char>(stem[n]) & 0xC0) == 0x80) {
            --n;
        }
        stem.resize(n);
    }
    return "." + stem + ".";
}

bool IsTemporaryName(const std::string& name, const std::string& prefix) {
    return name.size() == prefix.size() + kSuffixLength && name.starts_with(prefix) &&
           name.find_first_not_of(kSuffixCharacters, prefix.size()) == std::string::npos;
}

std::string RandomSuffix() {
    static std::random_device random;
    std::uniform_int_distribution<size_t> pick(0, kSuffixCharacters.size() - 1);
    std::string suffix;
    for (size_t i = 0; i < kSuffixLength; ++i) {
        suffix += kSuffixCharacters[pick(random)];
    }
    return suffix;
}

// An unnamed file gets its name through its entry in /proc.
bool CanNameUnnamedFiles() {
    static const bool bCan = ::access("/proc/self/fd", X_OK) == 0;
    return bCan;
}

} // namespace

std::string FolderOf(const std::string& strTarget) {
    const std::filesystem::path target(strTarget);
    return target.has_parent_path() ? target.parent_path().string() : std::string(".");
}

ReplacementFile::ReplacementFile(std::string strTarget) : m_strTarget(std::move(strTarget)) {}

ReplacementFile::~ReplacementFile() {
    if (!m_strName.empty()) {
        ::unlink(m_strName.c_str());
    }
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

int ReplacementFile::Create() {
    const std::string folder = FolderOf(m_strTarget);
    if (CanNameUnnamedFiles()) {
        m_fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (m_fd >= 0) {
            (void)::flock(m_fd, LOCK_EX); // it keeps the lock once it has a name
            return 0;
        }
        // A file system without unnamed files says so in one of these ways; the rest are real errors.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            return errno;
        }
    }
    std::string strTemplate = folder + "/" + TemporaryPrefix(m_strTarget) + "XXXXXX";
    // mkostemp creates the file for its owner only, so the bytes are never readable by others.
    m_fd = ::mkostemp(strTemplate.data(), O_CLOEXEC);
    if (m_fd < 0) {
        return errno;
    }
    m_strName = strTemplate;
    // Held until the file is in place or removed, so that another save leaves it alone meanwhile.
    (void)::flock(m_fd, LOCK_EX);
    return 0;
}

int ReplacementFile::LinkUnnamed(std::string& strName) {
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
    const std::string prefix = FolderOf(m_strTarget) + "/" + TemporaryPrefix(m_strTarget);
    for (int i = 0; i < kLinkAttempts; ++i) {
        strName = prefix + RandomSuffix();
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, strName.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            return 0;
        }
        if (errno != EEXIST) {
            return errno;
        }
    }
    return EEXIST;
}

int ReplacementFile::Commit() {
    if (m_strName.empty()) {
        // A file cannot be linked over another, so it takes a temporary name for the rename.
        std::string strName;
        if (const int nError = LinkUnnamed(strName); nError != 0) {
            return nError;
        }
        m_strName = strName;
    }
    if (::rename(m_strName.c_str(), m_strTarget.c_str()) != 0) {
        return errno;
    }
    m_strName.clear();
    return 0;
}

void RemoveStaleTemporaries(const std::string& strTarget) {
    const std::string prefix = TemporaryPrefix(strTarget);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(FolderOf(strTarget), error)) {
        const std::string path = entry.path().string();
        if (!IsTemporaryName(entry.path().filename().string(), prefix)) {
            continue;
        }
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        struct stat held {};
        struct stat named {};
        // A save that is writing it holds its lock; the name must still be the file just checked.
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.c_str(), &named) == 0 &&
            named.st_dev == held.st_dev && named.st_ino == held.st_ino) {
            ::unlink(path.c_str());
        }
        ::close(fd);
    }
}

} // namespace klt
