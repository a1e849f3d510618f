// Options turns on the start at log-on: the autostart entry it writes starts the program in the tray.

#include "e2e/ProgramTest.h"

#include <QRegularExpression>
#include <fstream>

namespace fs = std::filesystem;
using namespace klt::e2e;

TEST_F(ProgramTest, OptionsWritesAnAutostartEntryThatStartsTheProgramInTheTray) {
    // A blank, quotes, '$' and '%' in the program's path survive the Exec key.
    m_program = MakePortableCopy((m_home / "odd \"dir\" $HOME 100%").string());
    WriteSetting("Settings/Startup File", File("a.klt"));
    const fs::path entry = AutostartFolder() / "Keyloft.desktop";
    ASSERT_NE(StartFirst("a.klt"), 0u);
    Desktop::Key("alt+v");
    Desktop::Key("o");
    ASSERT_NE(m_desktop.WaitForActiveWindow("Options"), 0u);
    for (const char* key : {"Tab", "Tab", "space", "Return"}) { // the tray box, then OK
        Desktop::Key(key);
    }
    ASSERT_TRUE(klt::test::WaitUntil([&] { return fs::exists(entry); }));

    // The desktop's reading of the Exec key: the file's escapes undone, "%%" a '%'.
    std::ifstream in(entry);
    std::string line;
    while (std::getline(in, line) && !line.starts_with("Exec=")) {
    }
    const QString command = QString::fromStdString(line.substr(5))
                                .replace(QRegularExpression(R"(\\(.))"), R"(\1)")
                                .replace("%%", "%");
    EXPECT_TRUE(command.endsWith("\" /s")) << line;

    // The log-on start: this instance is gone; the next one may well get the same window id.
    m_processes.back()->Crash();
    WriteSetting("Settings/HWND", "");
    m_processes.push_back(std::make_unique<KeyloftProcess>(
        "/bin/sh", std::vector<std::string>{"-c", "exec " + command.toStdString()}, m_home.string()));
    ASSERT_NE(WaitForSettingOtherThan("Settings/HWND", ""), "") << line;
    EXPECT_TRUE(m_processes.back()->IsRunning());
    EXPECT_EQ(m_desktop.WaitForWindow("a.klt - Keyloft"), 0u); // in the tray: no window comes up
    Start({}); // called up by a second start, it shows the start-up file
    EXPECT_NE(m_desktop.WaitForWindow("a.klt - Keyloft"), 0u);
}
