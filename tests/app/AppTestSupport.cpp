#include "app/AppTestSupport.h"

#include "res/resource.h"

#include <QFile>
#include <QStandardPaths>

namespace fs = std::filesystem;

namespace klt::testing {
void AppTest::SetUp() {
    // No '-' in the name: the switch test would find one in a path on the command line.
    m_pFolder = std::make_unique<TempFolder>("kltapp_");
    m_folder = m_pFolder->Path();
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
    m_pFolder.reset();
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
