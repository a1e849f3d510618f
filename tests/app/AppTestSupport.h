#pragma once
// What the application tests share: a folder of their own for password files, no settings (but
// the read-me's start-up showing switched off) and no autostart entry at the start, and a started
// application object.

#include "KLTApp.h"
#include "KLTDoc.h"
#include "TempFolder.h"
#include "UserFiles.h"

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

} // namespace klt::testing
