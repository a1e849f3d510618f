// Options turns on the start at log-on: the autostart entry it writes starts the program in the tray.

#include "ProgramTest.h"

#include <QEventLoop>
#include <QFileSystemWatcher>
#include <QStandardPaths>
#include <QTimer>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using namespace klt::e2e;

namespace {

// The command of the entry's Exec key, as a desktop runs it: the file's escapes undone, "%%" a '%'.
std::string ExecCommand(const std::string& entryPath) {
    std::ifstream in(entryPath);
    std::string line;
    while (std::getline(in, line) && !line.starts_with("Exec=")) {
    }
    std::string command;
    for (size_t i = 5; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            const char next = line[++i];
            command += next == 's' ? ' ' : next == 'n' ? '\n' : next == 't' ? '\t' : next;
        } else if (line[i] == '%' && i + 1 < line.size() && line[i + 1] == '%') {
            command += line[++i];
        } else {
            command += line[i];
        }
    }
    return command;
}

// Waits, within the bound, until the file is in its folder.
bool WaitForFile(const fs::path& path) {
    QFileSystemWatcher watcher({QString::fromStdString(path.parent_path().string())});
    QEventLoop loop;
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, &QEventLoop::quit);
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
    bound.start(static_cast<int>(kBound.count()));
    while (!fs::exists(path) && bound.isActive()) {
        loop.exec();
    }
    return fs::exists(path);
}

} // namespace

TEST_F(ProgramTest, OptionsWritesAnAutostartEntryThatStartsTheProgramInTheTray) {
    // A blank, quotes, '$' and '%' in the program's path survive the Exec key.
    m_program = MakePortableCopy((m_home / "odd \"dir\" $HOME 100%").string());
    WriteSetting("Settings/Startup File", File("a.klt"));
    const Window frame = StartFirst("a.klt");
    ASSERT_NE(frame, 0u);
    Desktop::Key("alt+v");
    Desktop::Key("o");
    const fs::path entry =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() +
        "/autostart/Keyloft.desktop";
    fs::create_directories(entry.parent_path());
    const Window options = m_desktop.WaitForActiveWindow("Options");
    ASSERT_NE(options, 0u);
    for (const char* key : {"Tab", "Tab", "space", "Return"}) { // the tray box, then OK
        Desktop::Key(key);
    }
    ASSERT_TRUE(WaitForFile(entry));
    const std::string command = ExecCommand(entry.string());
    EXPECT_TRUE(command.ends_with("\" /s")) << command;

    // The log-on start: this instance is gone, the desktop runs the command.
    m_processes.back()->Crash();
    WriteSetting("Settings/HWND", ""); // the next instance may well get the same window id
    m_processes.push_back(std::make_unique<KeyloftProcess>(
        "/bin/sh", std::vector<std::string>{"-c", "exec " + command}, (m_home / "files").string()));
    ASSERT_NE(WaitForSettingOtherThan("Settings/HWND", ""), "") << command;
    EXPECT_TRUE(m_processes.back()->IsRunning());
    EXPECT_EQ(m_desktop.WaitForWindow("a.klt - Keyloft"), 0u); // in the tray: no window comes up
    // Called up by a second start, it opens the start-up file.
    Start({});
    EXPECT_NE(m_desktop.WaitForWindow("a.klt - Keyloft"), 0u);
}
