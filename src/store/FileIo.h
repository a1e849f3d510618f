#pragma once
// Whole-file reading and writing for password files. Saving never leaves a damaged file.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace klt {

// What tells one version of a file from the next: a program that replaces the file makes a new one
// (another inode), one that writes it in place changes its size or its modification time. The
// status-change time moves with every write too, and unlike the modification time no ordinary
// program can set it back.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t mtimeSeconds = 0;
    int64_t mtimeNanoseconds = 0;
    int64_t ctimeSeconds = 0;
    int64_t ctimeNanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file strPath names (links followed); nullopt when there is none to be had.
std::optional<FileIdentity> IdentityOf(const std::string& strPath);

// The whole content of a regular file, opened read-only without waiting (a pipe or device is
// refused, never opened for reading). Others may read and write it meanwhile; the content is read
// in one go before anything is made of it. pIdentity, when given, receives the identity of the
// version read. No more than nMaxBytes are read, whatever size the file claims (a file in /proc
// may claim none and never end). Throws CFileException.
std::string ReadFileContents(const std::string& strPath, FileIdentity* pIdentity = nullptr,
                             size_t nMaxBytes = std::numeric_limits<size_t>::max());

// Puts bytes into the file strPath and returns the new version's identity. The bytes go to a new
// file in the same folder, unnamed where the file system allows (else named ".NAME.XXXXXX" and
// locked while it is written), created 0600 and given an existing file's permission bits,
// access-control list, owner and group (the latter two where allowed); it is flushed, put in place
// of strPath by a rename, and the folder is flushed. A new file is created 0600. Symbolic links
// are followed to their final target, which is what gets replaced; a missing target is created
// only when its folder exists. On failure nothing is left behind, the old file stays as it was,
// and CFileException carries the cause and strPath. After a successful save, temporary files that
// earlier saves of the same file left behind when they were killed are removed.
FileIdentity ReplaceFileContents(const std::string& strPath, std::string_view bytes);

// Puts bytes, by the same safe save, into a file 0600 named strPath, whatever stood there before:
// a file that was readable by others is replaced by one that is not, and a symbolic link is itself
// replaced, never followed. For copies of secrets in the clear, such as exports. Throws
// CFileException as ReplaceFileContents does.
void ReplaceWithPrivateFile(const std::string& strPath, std::string_view bytes);

} // namespace klt
