#include "AppTestSupport.h"

#include <QFile>
#include <QStandardPaths>
#include <unistd.h>

namespace fs = std::filesystem;

namespace klt::testing {
void AppTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // No '-' in the name: the switch test would find one in a path on the command line.
    m_folder = fs::path(QStandardPaths::writableLocation(QStandardPaths::TempLocation).toStdString()) /
               (std::string("kltapp_") + info->test_suite_name() + "_" + info->name() + "_" +
                std::to_string(getpid()));
    fs::remove_all(m_folder);
    fs::create_directories(m_folder);
    // Every test starts as a first start: no settings, no autostart entry.
    QFile::remove(SettingsFile());
    WriteSetting("Settings/Show ReadMe", "0"); // the read-me at start would only be in the way
    fs::remove_all(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() +
                   "/autostart");
    m_previousFolder = fs::current_path();
    fs::current_path(m_folder);
}

void AppTest::TearDown() {
    m_pApp.reset();
    fs::current_path(m_previousFolder);
    std::error_code error;
    fs::remove_all(m_folder, error);
}

CKLTApp& AppTest::Start(const std::vector<std::string>& args, BOOL bExpected) {
    m_pApp.reset(); // the previous one lets go of the instance lock
    m_pApp = std::make_unique<CKLTApp>();
    m_pApp->SetCommandLine(args);
    EXPECT_EQ(m_pApp->InitInstance(), bExpected);
    return *m_pApp;
}

CFrameWnd* AppTest::Frame() const {
    return dynamic_cast<CFrameWnd*>(m_pApp->m_pMainWnd);
}

void AppTest::Configure() const {
    Frame()->SendMessage(WM_COMMAND, ID_TRAY_CONFIGURE);
}

} // namespace klt::testing
