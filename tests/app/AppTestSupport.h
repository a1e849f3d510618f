#pragma once
// What the application tests share: a folder of their own for password files, settings read the way
// another process reads them, and a started application object.

#include "KLTApp.h"
#include "KLTDoc.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace klt::testing {

// Writes a password file with the given master password ("" for none) and one entry per system name.
void WritePasswordFile(const std::string& path, const std::string& password,
                       const std::vector<std::string>& systems = {});

// A value of the program's settings file, as another process sees it; empty when absent.
std::string ReadSetting(const std::string& key);
void WriteSetting(const std::string& key, const std::string& value);

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
    std::filesystem::path m_previousFolder;
};

} // namespace klt::testing
