// What other processes can learn of the program's secrets: the program runs as an unprivileged user
// with folders of that user's own, as in a desktop session, and is looked at by another process of
// that user and, from outside, by root.

#include "ProgramTest.h"
#include "TempFolder.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace klt::e2e;

namespace {

constexpr uid_t kUser = 65534; // nobody, whose group has the same number

// Whether text stands anywhere in the readable memory of the process. Regions larger than a
// program's own (a sanitizer's shadow) are passed over.
bool InMemory(qint64 pid, const std::string& text) {
    constexpr uint64_t kLargest = 1ULL << 30;
    constexpr size_t kChunk = 1 << 24;
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    const int fd = ::open(("/proc/" + std::to_string(pid) + "/mem").c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_GE(fd, 0);
    std::string bytes;
    bool bFound = false;
    for (std::string line; fd >= 0 && !bFound && std::getline(maps, line);) {
        unsigned long long start = 0;
        unsigned long long end = 0;
        char perms[5] = {};
        if (std::sscanf(line.c_str(), "%llx-%llx %4s", &start, &end, perms) != 3 || perms[0] != 'r' ||
            end - start > kLargest) {
            continue;
        }
        // Chunks overlap by the text's length, so that none is missed across a boundary.
        for (uint64_t at = start; !bFound && at < end; at += kChunk) {
            bytes.resize(std::min<uint64_t>(kChunk + text.size(), end - at));
            const ssize_t n = ::pread(fd, bytes.data(), bytes.size(), static_cast<off_t>(at));
            bFound = n > 0 &&
                     std::string_view(bytes.data(), static_cast<size_t>(n)).find(text) != std::string::npos;
        }
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return bFound;
}

std::string UniquePassword() {
    std::random_device random;
    std::ostringstream text;
    text << "Sq" << std::hex << random() << random() << random();
    return text.str();
}

} // namespace

TEST_F(ProgramTest, AnotherProcessOfTheUserCannotReadTheMemoryAndACancelledPasswordLeavesNoCopy) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root, to run the program as another user";
    }
    const klt::testing::TempFolder own("klt_user_");
    for (const char* pszName : {"runtime", "config/Quellmoor", "data", "files"}) {
        fs::create_directories(own.Path() / pszName);
    }
    const std::string program = MakePortableCopy((own.Path() / "prog").string());
    std::ofstream(own.PathOf("config/Quellmoor/Keyloft.conf")) << "[Settings]\nShow ReadMe=0\n";
    const std::string password = UniquePassword();
    WritePasswordFile(own.PathOf("files/a.klt"), password, {"Mail"});
    for (const auto& entry : fs::recursive_directory_iterator(own.Path())) {
        ASSERT_EQ(::lchown(entry.path().c_str(), kUser, kUser), 0) << entry.path();
    }
    ASSERT_EQ(::chown(own.Path().c_str(), kUser, kUser), 0);
    fs::permissions(own.PathOf("runtime"), fs::perms::owner_all);

    const std::vector<std::string> asUser = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                                             "--"};
    std::vector<std::string> args = {
        "HOME=" + own.PathOf("files"), "XDG_RUNTIME_DIR=" + own.PathOf("runtime"),
        "XDG_CONFIG_HOME=" + own.PathOf("config"), "XDG_DATA_HOME=" + own.PathOf("data")};
    args.insert(args.end(), asUser.begin(), asUser.end());
    args.insert(args.end(), {program, "a.klt"});
    m_processes.push_back(std::make_unique<KeyloftProcess>("/usr/bin/env", args, own.PathOf("files")));
    const qint64 pid = m_processes.back()->ProcessId();
    ASSERT_NE(m_desktop.WaitForActiveWindow("Enter the password for a.klt."), 0u);
    // While it asks, the file it read holds the stored password, and the search finds it there.
    EXPECT_TRUE(InMemory(pid, password));
    Desktop::Key("Escape");
    // Without a tray host the window comes up all the same, with the empty document.
    ASSERT_NE(m_desktop.WaitForActiveWindow("Untitled - Keyloft"), 0u);

    QProcess reader; // another process of the same user
    QStringList readerArgs;
    for (const std::string& arg : asUser) {
        readerArgs << QString::fromStdString(arg);
    }
    reader.start("setpriv", readerArgs << "sh"
                                       << "-c" << QString("exec 3</proc/%1/mem").arg(pid));
    ASSERT_TRUE(reader.waitForFinished(static_cast<int>(kBound.count())));
    EXPECT_NE(reader.exitCode(), 0);
    std::ifstream limits("/proc/" + std::to_string(pid) + "/limits");
    const std::string limitsText{std::istreambuf_iterator<char>(limits), {}};
    EXPECT_NE(limitsText.find("Max core file size        0                    0"), std::string::npos)
        << limitsText;

    EXPECT_FALSE(InMemory(pid, password));
}
