#pragma once
// A fresh start for each program test: a portable copy of the program in $HOME/prog, a folder
// $HOME/files for password files, no settings; every process a test starts is ended with it.

#include "e2e/Desktop.h"
#include "e2e/KeyloftProcess.h"

#include <QStandardPaths>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace klt::e2e {

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_home = std::filesystem::path(std::getenv("HOME"));
        std::filesystem::remove_all(m_home / "files");
        std::filesystem::create_directories(m_home / "files");
        m_program = MakePortableCopy((m_home / "prog").string());
        std::filesystem::remove(m_home / "prog/DEFAULT.KLT");
        std::filesystem::remove(AutostartFolder().parent_path() / "Quellmoor/Keyloft.conf");
        std::filesystem::remove_all(AutostartFolder());
        // The read-me at start would only be in the way.
        WriteSetting("Settings/Show ReadMe", "0");
    }

    std::string File(const std::string& name) const { return (m_home / "files" / name).string(); }
    static std::filesystem::path AutostartFolder() {
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() +
               "/autostart";
    }
    // A desktop entry the program wrote, as the desktop's own checker sees it.
    static void ExpectValidDesktopEntry(const std::filesystem::path& entry) {
        QProcess validate;
        validate.start("desktop-file-validate", {QString::fromStdString(entry.string())});
        ASSERT_TRUE(validate.waitForFinished(static_cast<int>(kBound.count())));
        EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().toStdString();
    }

    // Starts the program in the files folder.
    KeyloftProcess& Start(const std::vector<std::string>& args, const std::string& folder = {}) {
        const std::string where = folder.empty() ? (m_home / "files").string() : folder;
        m_processes.push_back(std::make_unique<KeyloftProcess>(m_program, args, where));
        return *m_processes.back();
    }

    // A first instance with the file open and its window up.
    Window StartFirst(const std::string& name) {
        WritePasswordFile(File(name), "", {"Mail"});
        Start({name});
        const Window window = m_desktop.WaitForActiveWindow(name + " - Keyloft");
        EXPECT_NE(window, 0u);
        return window;
    }

    Desktop m_desktop;
    std::filesystem::path m_home;
    std::string m_program;
    std::vector<std::unique_ptr<KeyloftProcess>> m_processes; // killed at the end of the test
};

} // namespace klt::e2e
