#include "app/ProgramFiles.h"

#include "app/version/VersionInfo.h"

#include <QStandardPaths>
#include <filesystem>

namespace fs = std::filesystem;

namespace klt {

bool IsBareFileName(const std::string& name) {
    return name.find_first_of("/\\:") == std::string::npos;
}

ProgramFolders ProgramFolders::OfRunningProgram() {
    ProgramFolders folders;
    folders.program = fs::path(RunningProgramPath()).parent_path().string();
    folders.installedData = (fs::path(folders.program) / KLT_DATA_FROM_BIN).lexically_normal().string();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    folders.userData = (fs::path(data.toStdString()) / "Keyloft").string();
    return folders;
}

bool ProgramFolders::IsInstalled() const {
    std::error_code error;
    return !installedData.empty() && fs::is_directory(installedData, error);
}

std::string ProgramFolders::PathOf(const std::string& name) const {
    const fs::path beside = fs::path(program) / name;
    std::error_code error;
    if (!IsInstalled() || fs::exists(beside, error)) {
        return beside.string();
    }
    const fs::path text = fs::path(installedData) / name;
    if (fs::exists(text, error)) {
        return text.string();
    }
    // The password files live where only the user can look.
    if (fs::create_directories(userData, error)) {
        fs::permissions(userData, fs::perms::owner_all, fs::perm_options::replace, error);
    }
    return (fs::path(userData) / name).string();
}

} // namespace klt
