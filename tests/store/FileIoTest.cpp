#include "store/FileIo.h"

#include "store/FileException.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class FileIo : public ::testing::Test {
protected:
    std::string Path(const char* pszName) const { return m_folder.PathOf(pszName); }
    static void WriteFile(const std::string& strPath, const std::string& bytes) {
        std::ofstream(strPath, std::ios::binary) << bytes;
    }
    static mode_t Mode(const std::string& strPath) {
        struct stat st {};
        EXPECT_EQ(::stat(strPath.c_str(), &st), 0);
        return st.st_mode & 07777;
    }
    // Nothing but the named files: no temporary file is left behind.
    size_t FileCount() const {
        return static_cast<size_t>(
            std::distance(fs::directory_iterator(m_folder.Path()), fs::directory_iterator()));
    }
    static CFileException::Cause ReplaceFailure(const std::string& strPath, const std::string& bytes) {
        try {
            klt::ReplaceFileContents(strPath, bytes);
        } catch (const CFileException& e) {
            EXPECT_EQ(e.m_strFileName, strPath);
            return e.m_cause;
        }
        return CFileException::none;
    }

    klt::testing::TempFolder m_folder{"klt_fileio_"};
};

// Lowers the file-size limit for one scope, so that writes fail part-way with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t nBytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = nBytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int);
};

} // namespace

TEST_F(FileIo, NewFilesAre0600WhateverTheUmask) {
    const mode_t oldMask = ::umask(0);
    klt::ReplaceFileContents(Path("new.klt"), "content");
    ::umask(0277);
    klt::ReplaceFileContents(Path("new2.klt"), "content");
    ::umask(oldMask);
    EXPECT_EQ(Mode(Path("new.klt")), 0600u);
    EXPECT_EQ(Mode(Path("new2.klt")), 0600u);
    EXPECT_EQ(klt::ReadFileContents(Path("new.klt")), "content");
    EXPECT_EQ(FileCount(), 2u);
}

TEST_F(FileIo, ReplacingKeepsPermissionsAndFollowsLinks) {
    WriteFile(Path("a.klt"), "old content that is longer");
    ::chmod(Path("a.klt").c_str(), 0640);
    klt::ReplaceFileContents(Path("a.klt"), "new");
    EXPECT_EQ(klt::ReadFileContents(Path("a.klt")), "new");
    EXPECT_EQ(Mode(Path("a.klt")), 0640u);

    fs::create_symlink(Path("a.klt"), Path("link.klt"));
    klt::ReplaceFileContents(Path("link.klt"), "through the link");
    EXPECT_TRUE(fs::is_symlink(Path("link.klt")));
    EXPECT_EQ(klt::ReadFileContents(Path("a.klt")), "through the link");
    EXPECT_EQ(FileCount(), 2u);
}

TEST_F(FileIo, ReplacingKeepsOwnerAndGroupWhereAllowed) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may give a file to someone else";
    }
    WriteFile(Path("a.klt"), "old");
    ASSERT_EQ(::chown(Path("a.klt").c_str(), 1234, 5678), 0);
    klt::ReplaceFileContents(Path("a.klt"), "new");
    struct stat st {};
    ASSERT_EQ(::stat(Path("a.klt").c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 1234u);
    EXPECT_EQ(st.st_gid, 5678u);
}

TEST_F(FileIo, FailurePartWayLeavesTheOldFileIntact) {
    const std::string old(1000, 'o');
    WriteFile(Path("a.klt"), old);
    {
        const FileSizeLimit limit(100);
        EXPECT_EQ(ReplaceFailure(Path("a.klt"), std::string(5000, 'n')), CFileException::diskFull);
        EXPECT_EQ(ReplaceFailure(Path("b.klt"), std::string(5000, 'n')), CFileException::diskFull);
    }
    EXPECT_EQ(klt::ReadFileContents(Path("a.klt")), old);
    EXPECT_FALSE(fs::exists(Path("b.klt")));
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(FileIo, RefusalsCarryTheirCause) {
    EXPECT_EQ(ReplaceFailure(Path("missing/a.klt"), "x"), CFileException::fileNotFound);
    fs::create_directory(Path("folder"));
    EXPECT_EQ(ReplaceFailure(Path("folder"), "x"), CFileException::accessDenied);
    EXPECT_TRUE(fs::is_directory(Path("folder")));

    if (::geteuid() != 0) { // root may write anything
        WriteFile(Path("readonly.klt"), "keep");
        ::chmod(Path("readonly.klt").c_str(), 0444);
        EXPECT_EQ(ReplaceFailure(Path("readonly.klt"), "x"), CFileException::accessDenied);
        EXPECT_EQ(klt::ReadFileContents(Path("readonly.klt")), "keep");
        ::chmod(m_folder.Path().c_str(), 0500);
        EXPECT_EQ(ReplaceFailure(Path("c.klt"), "x"), CFileException::accessDenied);
    }
}

TEST_F(FileIo, ReadingErrors) {
    const auto cause = [](const std::string& strPath) {
        try {
            klt::ReadFileContents(strPath);
        } catch (const CFileException& e) {
            return e.m_cause;
        }
        return CFileException::none;
    };
    EXPECT_EQ(cause(Path("none.klt")), CFileException::fileNotFound);
    EXPECT_EQ(cause(m_folder.Path().string()), CFileException::accessDenied);
    EXPECT_EQ(cause(Path("none/x.klt")), CFileException::fileNotFound);
    WriteFile(Path("plain"), "");
    EXPECT_EQ(cause(Path("plain/x.klt")), CFileException::badPath);
    ::mkfifo(Path("fifo").c_str(), 0600);
    EXPECT_EQ(cause(Path("fifo")), CFileException::accessDenied);
}

TEST(FileException, TextsNameThePath) {
    EXPECT_EQ(klt::FileErrorText(CFileException::FromErrno(EACCES, "/x/a.klt")),
              "Access to /x/a.klt was denied.");
    EXPECT_EQ(klt::FileErrorText(CFileException::FromErrno(ENOSPC, "a.klt")),
              "Disk full while accessing a.klt.");
    EXPECT_EQ(klt::FileErrorText(CFileException::badSeek, "a.klt"), "Seek failed on a.klt");
    EXPECT_EQ(klt::FileErrorText(CFileException::none, "a.klt"), "No error occurred.");
    const CFileException e = CFileException::FromErrno(EPROTO, "a.klt");
    EXPECT_EQ(e.m_cause, CFileException::genericException);
    EXPECT_EQ(e.m_lOsError, EPROTO);
    EXPECT_STREQ(e.what(), "An unknown error occurred while accessing a.klt.");
}

TEST_F(FileIo, LinksAreFollowedToTheirFinalTargetAndNeverReplaced) {
    fs::create_directories(Path("real"));
    WriteFile(Path("real/a.klt"), "old");
    fs::create_symlink("real/a.klt", Path("first.klt"));      // relative to the link's folder
    fs::create_symlink(Path("first.klt"), Path("chain.klt")); // a link to a link
    fs::create_symlink("real/new.klt", Path("dangling.klt"));
    fs::create_symlink("/nonexistent-mount/x.klt", Path("offline.klt"));
    EXPECT_EQ(ReplaceFailure(Path("chain.klt"), "through two"), CFileException::none);
    EXPECT_EQ(ReplaceFailure(Path("dangling.klt"), "new"), CFileException::none);
    EXPECT_EQ(ReplaceFailure(Path("offline.klt"), "x"), CFileException::fileNotFound);
    EXPECT_EQ(klt::ReadFileContents(Path("real/a.klt")), "through two");
    EXPECT_EQ(klt::ReadFileContents(Path("real/new.klt")), "new");
    EXPECT_EQ(Mode(Path("real/new.klt")), 0600u);
    for (const char* pszLink : {"first.klt", "chain.klt", "dangling.klt", "offline.klt"}) {
        EXPECT_TRUE(fs::is_symlink(Path(pszLink))) << pszLink;
    }
    EXPECT_EQ(FileCount(), 5u);
}

TEST_F(FileIo, NamesOfTheLongestLengthSave) {
    const std::string path = (m_folder.Path() / std::string(255, 'n')).string();
    klt::ReplaceFileContents(path, "first");
    klt::ReplaceFileContents(path, "second");
    EXPECT_EQ(klt::ReadFileContents(path), "second");
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(FileIo, KilledSaveLeavesNoCopyAndStaleCopiesGoWithTheNextSave) {
    WriteFile(Path("a.klt"), "old");
    const pid_t child = ::fork();
    if (child == 0) {
        // Killed in the middle of writing, by the file-size signal.
        const rlimit noCore{0, 0}, small{100, 100};
        ::setrlimit(RLIMIT_CORE, &noCore);
        ::setrlimit(RLIMIT_FSIZE, &small);
        klt::ReplaceFileContents(Path("a.klt"), std::string(5000, 'p'));
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(FileCount(), 1u);

    // Where a save had to name its file: copies left by killed saves of a.klt go, other files'
    // copies and the one a running save holds stay.
    for (const char* pszName : {".a.klt.Ab12Cd", ".b.klt.Ab12Cd", ".a.klt.x"}) {
        WriteFile(Path(pszName), "plaintext");
    }
    const int running = ::open(Path(".a.klt.Runnin").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(::flock(running, LOCK_EX), 0);
    klt::ReplaceFileContents(Path("a.klt"), "new");
    ::close(running);
    EXPECT_FALSE(fs::exists(Path(".a.klt.Ab12Cd")));
    EXPECT_EQ(FileCount(), 4u);
}

TEST_F(FileIo, AccessControlListsOfAnySizeAreKept) {
    // 600 named users make an attribute larger than a page: ext4 cannot hold that, tmpfs can.
    std::string strShm = "/dev/shm/klt-acl-XXXXXX";
    if (::mkdtemp(strShm.data()) == nullptr) {
        GTEST_SKIP() << "no /dev/shm";
    }
    const std::string path = strShm + "/a.klt";
    WriteFile(path, "old");
    struct Entry {
        uint16_t tag, perm;
        uint32_t id;
    };
    std::vector<Entry> entries{{0x01, 6, ~0u}}; // the owner, 600 named users, group, mask, others
    for (uint32_t uid = 10000; uid < 10600; ++uid) {
        entries.push_back({0x02, 4, uid});
    }
    entries.insert(entries.end(), {{0x04, 4, ~0u}, {0x10, 4, ~0u}, {0x20, 0, ~0u}});
    const std::string acl =
        std::string("\x02\0\0\0", 4) + // version 2
        std::string(reinterpret_cast<const char*>(entries.data()), entries.size() * sizeof(Entry));
    if (::setxattr(path.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0) {
        fs::remove_all(strShm);
        GTEST_SKIP() << "no large access-control lists on this system";
    }
    klt::ReplaceFileContents(path, "new");
    std::string kept(acl.size(), '\0');
    kept.resize(
        std::max<ssize_t>(0, ::getxattr(path.c_str(), "system.posix_acl_access", kept.data(), kept.size())));
    fs::remove_all(strShm);
    EXPECT_EQ(kept, acl);
}

TEST_F(FileIo, AnInPlaceRewriteWithItsTimeRestoredIsAnotherVersion) {
    const klt::FileIdentity saved = klt::ReplaceFileContents(Path("a.klt"), "old");
    EXPECT_EQ(klt::IdentityOf(Path("a.klt")), saved);
    // File times move in clock ticks: wait until a change would get a later one.
    for (int i = 0; i < 100000 && klt::IdentityOf(Path("a.klt")) == saved; ++i) {
        ::chmod(Path("a.klt").c_str(), 0600);
    }
    WriteFile(Path("a.klt"), "new");
    const timespec times[2] = {{saved.mtimeSeconds, saved.mtimeNanoseconds},
                               {saved.mtimeSeconds, saved.mtimeNanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, Path("a.klt").c_str(), times, 0), 0);
    const auto now = klt::IdentityOf(Path("a.klt"));
    ASSERT_TRUE(now);
    EXPECT_EQ(now->size, saved.size);
    EXPECT_EQ(now->mtimeNanoseconds, saved.mtimeNanoseconds);
    EXPECT_NE(now, saved);
}
