#pragma once
// What the application tests share: a folder of their own for password files, no settings but the
// read-me off at start, no autostart entry, and a started application object.

#include "app/KLTApp.h"
#include "document/KLTDoc.h"
#include "frame/TrayIcon.h"
#include "platform/PlatformServices.h"
#include "support/FakeHotKey.h"
#include "support/FakeKeyboard.h"
#include "support/FakeWindowSystem.h"
#include "support/TempFolder.h"
#include "support/scripted/ScriptedUser.h"
#include "support/userfiles/UserFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace klt::testing {

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string File(const std::string& name) const { return (m_folder / name).string(); }
    // Constructs the application object with the command line and runs InitInstance.
    CKLTApp& Start(const std::vector<std::string>& args, BOOL bExpected = TRUE);
    CFrameWnd* Frame() const;
    CKLTDoc* Doc() const { return m_pApp->GetOpenDocument(); }
    // Sends the Configure command to the main window, as a second start does.
    void Configure() const;

    std::filesystem::path m_folder;
    std::unique_ptr<CKLTApp> m_pApp;

private:
    std::unique_ptr<TempFolder> m_pFolder;
    std::filesystem::path m_previousFolder;
};

// An application test on a faked desktop: its keyboard, its windows and its hot key, with a scripted user.
class FakeDesktopTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        InstallPlatform(&m_services);
    }
    void TearDown() override {
        AppTest::TearDown();
        InstallPlatform(nullptr);
        SetTrayHostQuery({}); // a test may pretend a tray host
    }

    FakeKeyboard m_keyboard;
    FakeWindowSystem m_windows;
    FakeHotKey m_hotKey;
    PlatformServices m_services{m_keyboard, m_windows, m_hotKey};
    ScriptedUser m_user;
};

} // namespace klt::testing
