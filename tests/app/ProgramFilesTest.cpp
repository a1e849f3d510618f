// Files beside the program, the version block in the program file, and the instance lock.

#include "app/ProgramFiles.h"

#include "app/instance/InstanceLock.h"
#include "app/version/ElfSection.h"
#include "app/version/VersionInfo.h"
#include "support/TempFolder.h"

#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <elf.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

TEST(ProgramFiles, BareNamesHaveNoFolderWrittenEitherWay) {
    EXPECT_TRUE(klt::IsBareFileName("DEFAULT.KLT"));
    EXPECT_TRUE(klt::IsBareFileName("my passwords.klt"));
    EXPECT_FALSE(klt::IsBareFileName("sub/x.klt"));
    EXPECT_FALSE(klt::IsBareFileName("/home/ann/x.klt"));
    EXPECT_FALSE(klt::IsBareFileName("sub\\x.klt"));
    EXPECT_FALSE(klt::IsBareFileName("C:x.klt"));
}

TEST(ProgramFiles, PortableCopyKeepsEverythingInItsOwnFolder) {
    const klt::testing::TempFolder temp("kltprog_");
    const klt::ProgramFolders folders{(temp.Path() / "prog").string(),
                                      (temp.Path() / "share/keyloft").string(),
                                      (temp.Path() / "user").string()};
    EXPECT_FALSE(folders.IsInstalled());
    EXPECT_EQ(folders.PathOf("DEFAULT.KLT"), (temp.Path() / "prog/DEFAULT.KLT").string());
    EXPECT_EQ(folders.PathOf("README.TXT"), (temp.Path() / "prog/README.TXT").string());
    EXPECT_FALSE(fs::exists(temp.Path() / "user"));
}

TEST(ProgramFiles, InstalledCopyTakesTextsFromItsDataFolderAndKeepsUserFilesWithTheUser) {
    const klt::testing::TempFolder temp("kltprog_");
    fs::create_directories(temp.Path() / "bin");
    fs::create_directories(temp.Path() / "share/keyloft");
    WriteAll(temp.Path() / "bin/keyloft", "program");
    WriteAll(temp.Path() / "share/keyloft/README.TXT", "text");
    const klt::ProgramFolders folders{(temp.Path() / "bin").string(),
                                      (temp.Path() / "share/keyloft").string(),
                                      (temp.Path() / "data/Keyloft").string()};
    ASSERT_TRUE(folders.IsInstalled());
    EXPECT_EQ(folders.PathOf("keyloft"), (temp.Path() / "bin/keyloft").string());
    EXPECT_EQ(folders.PathOf("README.TXT"), (temp.Path() / "share/keyloft/README.TXT").string());
    EXPECT_EQ(folders.PathOf("DEFAULT.KLT"), (temp.Path() / "data/Keyloft/DEFAULT.KLT").string());
    // The user's folder is made for the new password file, for the user's eyes only.
    ASSERT_TRUE(fs::is_directory(temp.Path() / "data/Keyloft"));
    EXPECT_EQ(fs::status(temp.Path() / "data/Keyloft").permissions(), fs::perms::owner_all);
}

TEST(VersionBlock, ValuesAreReadByNameFromTheProgramsSection) {
    klt::VersionBlock block;
    std::string value = "unchanged";
    EXPECT_FALSE(GetVersionString("NoSuchValue", value, block));
    EXPECT_EQ(value, "unchanged");
    EXPECT_TRUE(GetVersionString("FileDescription", value, block));
    EXPECT_EQ(value, "Keyloft Program File");
    EXPECT_TRUE(GetVersionString("ProductVersion", value, block));
    EXPECT_EQ(value, "1.1");
    // A prefix of a name is not the name.
    EXPECT_FALSE(GetVersionString("Product", value, block));
}

TEST(ElfSection, DamagedOrForeignFilesAreRefusedWithTheCause) {
    const klt::testing::TempFolder temp("kltprog_");
    const std::string program = klt::RunningProgramPath();
    std::string contents;
    std::string error;
    ASSERT_TRUE(klt::ReadElfSection(program, ".keyloft.version", contents, error)) << error;
    EXPECT_NE(contents.find("ProductName=Keyloft\n"), std::string::npos);
    EXPECT_FALSE(klt::ReadElfSection(program, ".keyloft.missing", contents, error));
    EXPECT_EQ(error, std::strerror(ENOEXEC));

    EXPECT_FALSE(klt::ReadElfSection((temp.Path() / "none").string(), ".keyloft.version", contents, error));
    EXPECT_EQ(error, std::strerror(ENOENT));

    const std::string image = ReadAll(program);
    ASSERT_EQ(image[EI_CLASS], ELFCLASS64) << "the damaged copies below are made for 64-bit programs";
    WriteAll(temp.Path() / "text", "#!/bin/sh\necho not a program\n");
    WriteAll(temp.Path() / "cut", image.substr(0, image.size() / 2)); // the section table is at the end
    std::string wild = image;
    auto* header = reinterpret_cast<Elf64_Ehdr*>(wild.data());
    header->e_shoff = ~0ull - 8; // points past the end and would wrap around
    WriteAll(temp.Path() / "wild", wild);
    std::string names = image;
    reinterpret_cast<Elf64_Ehdr*>(names.data())->e_shstrndx = 0xFFF0; // no such section
    WriteAll(temp.Path() / "names", names);
    for (const char* name : {"text", "cut", "wild", "names"}) {
        SCOPED_TRACE(name);
        contents = "kept";
        EXPECT_FALSE(klt::ReadElfSection((temp.Path() / name).string(), ".keyloft.version", contents, error));
        EXPECT_EQ(error, std::strerror(ENOEXEC));
    }
}

TEST(InstanceLock, OneHolderAtATimeAndReleasedWithItsHolder) {
    auto first = std::make_unique<klt::InstanceLock>();
    ASSERT_EQ(first->Acquire("KLT_TEST_LOCK"), klt::InstanceLock::Result::first);
    klt::InstanceLock second;
    EXPECT_EQ(second.Acquire("KLT_TEST_LOCK"), klt::InstanceLock::Result::second);
    EXPECT_EQ(second.Acquire("KLT_TEST_LOCK"), klt::InstanceLock::Result::second);
    // Only the user may see it.
    struct stat info {};
    ASSERT_EQ(stat((klt::RuntimeFolder() + "/KLT_TEST_LOCK").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0077, 0u);
    first.reset();
    EXPECT_EQ(second.Acquire("KLT_TEST_LOCK"), klt::InstanceLock::Result::first);
}
