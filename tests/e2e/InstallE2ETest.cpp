// What `cmake --install` puts in place: a program that runs from its prefix, keeps the user's files in
// the user's data folder and reads its texts from its data folder, and lets the desktop open password
// files with it.

#include "e2e/ProgramTest.h"

#include <QProcess>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;
using namespace klt::e2e;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

TEST_F(ProgramTest, InstalledProgramKeepsTheUsersFilesInTheUsersDataFolder) {
    const fs::path prefix = m_home / "installed";
    QProcess install;
    install.start(KLT_CMAKE,
                  {"--install", KLT_BUILD_DIR, "--prefix", QString::fromStdString(prefix.string())});
    ASSERT_TRUE(install.waitForFinished(static_cast<int>(kBound.count())));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();

    EXPECT_EQ(ReadAll(prefix / "share/keyloft/README.TXT"),
              ReadAll(fs::path(KLT_KEYLOFT).parent_path() / "README.TXT"));
    EXPECT_TRUE(fs::exists(prefix / "share/keyloft/LICENSE.TXT"));
    EXPECT_TRUE(fs::exists(prefix / "share/mime/packages/keyloft.xml"));
    EXPECT_TRUE(fs::exists(prefix / "share/icons/hicolor/scalable/apps/keyloft.svg"));
    const std::string entry = ReadAll(prefix / "share/applications/keyloft.desktop");
    EXPECT_NE(entry.find("Exec=\"" + (prefix / "bin/keyloft").string() + "\" %f\n"), std::string::npos);
    EXPECT_NE(entry.find("MimeType=application/x-keyloft;application/x-keyloft-encrypted;\n"),
              std::string::npos);

    m_program = (prefix / "bin/keyloft").string();
    Start({});
    ASSERT_NE(m_desktop.WaitForActiveWindow("Keyloft"), 0u);
    Desktop::Key("Return");
    ASSERT_NE(m_desktop.WaitForActiveWindow("Master password"), 0u);
    Desktop::Key("Return"); // no password: the file is saved unprotected
    ASSERT_NE(m_desktop.WaitForWindow("DEFAULT.KLT - Keyloft"), 0u);

    const fs::path data = std::getenv("XDG_DATA_HOME");
    EXPECT_EQ(ReadSetting("Settings/Last File"), (data / "Keyloft/DEFAULT.KLT").string());
    EXPECT_TRUE(fs::exists(data / "Keyloft/DEFAULT.KLT"));
    EXPECT_FALSE(fs::exists(prefix / "bin/DEFAULT.KLT"));
    // The user's own registration points at the program that ran.
    const std::string userEntry = ReadAll(data / "applications/keyloft.desktop");
    EXPECT_NE(userEntry.find("Exec=\"" + m_program + "\" %f\n"), std::string::npos);
    ExpectValidDesktopEntry(prefix / "share/applications/keyloft.desktop");
    ExpectValidDesktopEntry(data / "applications/keyloft.desktop");
    EXPECT_EQ(ReadAll(data / "mime/packages/keyloft.xml"),
              ReadAll(prefix / "share/mime/packages/keyloft.xml"));
}
