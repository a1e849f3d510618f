// What other processes learn of the program's secrets: it runs as an unprivileged user with folders
// of its own, looked at by another process of that user and, from outside, by root.

#include "e2e/ProgramTest.h"
#include "support/TempFolder.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace klt::e2e;

namespace {

// Whether text stands in the process's readable memory; a sanitizer's huge shadow is passed over.
bool InMemory(qint64 pid, const std::string& text) {
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    const int fd = ::open(("/proc/" + std::to_string(pid) + "/mem").c_str(), O_RDONLY | O_CLOEXEC);
    std::string bytes;
    unsigned long long start = 0;
    unsigned long long end = 0;
    char perms[5] = {};
    for (std::string line; fd >= 0 && std::getline(maps, line);) {
        if (std::sscanf(line.c_str(), "%llx-%llx %4s", &start, &end, perms) != 3 || perms[0] != 'r' ||
            end - start > (1ULL << 30)) {
            continue;
        }
        for (auto at = start; at < end; at += 1 << 24) { // overlapping chunks of 16 MB
            bytes.resize(std::min<unsigned long long>((1 << 24) + text.size(), end - at));
            const ssize_t n = ::pread(fd, bytes.data(), bytes.size(), static_cast<off_t>(at));
            if (n > 0 &&
                std::string_view(bytes.data(), static_cast<size_t>(n)).find(text) != std::string::npos) {
                ::close(fd);
                return true;
            }
        }
    }
    EXPECT_GE(fd, 0);
    ::close(fd);
    return false;
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
    const std::string program = MakePortableCopy(own.PathOf("prog"));
    std::ofstream(own.PathOf("config/Quellmoor/Keyloft.conf")) << "[Settings]\nShow ReadMe=0\n";
    const std::string password = "Sq" + std::to_string(std::random_device()()) + std::to_string(::getpid());
    WritePasswordFile(own.PathOf("files/a.klt"), password, {"Mail"});
    for (const auto& entry : fs::recursive_directory_iterator(own.Path())) {
        ASSERT_EQ(::lchown(entry.path().c_str(), 65534, 65534), 0) << entry.path(); // nobody
    }
    ASSERT_EQ(::chown(own.Path().c_str(), 65534, 65534), 0);
    fs::permissions(own.PathOf("runtime"), fs::perms::owner_all);

    const QStringList asUser = {"--reuid=65534", "--regid=65534", "--clear-groups", "--"};
    std::vector<std::string> args = {
        "HOME=" + own.PathOf("files"), "XDG_RUNTIME_DIR=" + own.PathOf("runtime"),
        "XDG_CONFIG_HOME=" + own.PathOf("config"), "XDG_DATA_HOME=" + own.PathOf("data")};
    args.emplace_back("setpriv");
    for (const QString& arg : asUser) {
        args.push_back(arg.toStdString());
    }
    args.insert(args.end(), {program, "a.klt"});
    m_processes.push_back(std::make_unique<KeyloftProcess>("/usr/bin/env", args, own.PathOf("files")));
    const qint64 pid = m_processes.back()->ProcessId();
    ASSERT_NE(m_desktop.WaitForActiveWindow("Enter the password for a.klt."), 0u);
    EXPECT_TRUE(InMemory(pid, password)); // the file it read, while it asks: the search finds it
    Desktop::Key("Escape");
    ASSERT_NE(m_desktop.WaitForActiveWindow("Untitled - Keyloft"), 0u); // no tray host: the window comes
    EXPECT_FALSE(InMemory(pid, password));

    QProcess reader; // another process of the same user
    reader.start("setpriv", QStringList(asUser) << "sh"
                                                << "-c" << QString("exec 3</proc/%1/mem").arg(pid));
    ASSERT_TRUE(reader.waitForFinished(static_cast<int>(kBound.count())));
    EXPECT_NE(reader.exitCode(), 0);
    std::ifstream limits("/proc/" + std::to_string(pid) + "/limits");
    const std::string limitsText{std::istreambuf_iterator<char>(limits), {}};
    EXPECT_NE(limitsText.find("Max core file size        0                    0"), std::string::npos);
}
