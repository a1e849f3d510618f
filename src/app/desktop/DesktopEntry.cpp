#include "app/desktop/DesktopEntry.h"

#include "store/FileException.h"
#include "store/FileIo.h"

#include <QStandardPaths>
#include <cerrno>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace klt {

std::string DesktopExecArgument(const std::string& path) {
    std::string quoted = "\"";
    for (const char c : path) {
        switch (c) {
        case '"':
        case '`':
        case '$':
            quoted += "\\\\"; // the command line's escape, itself escaped for the file
            quoted += c;
            break;
        case '\\':
            quoted += "\\\\\\\\"; // escaped for the command line, then for the file
            break;
        case '%':
            quoted += "%%";
            break;
        case '\n': // the file's own escapes: a value holds no control character
            quoted += "\\n";
            break;
        case '\t':
            quoted += "\\t";
            break;
        case '\r':
            quoted += "\\r";
            break;
        default:
            quoted += c;
        }
    }
    return quoted + '"';
}

std::string AutostartEntryPath(const std::string& productName) {
    if (productName.empty()) {
        return {};
    }
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config.toStdString() + "/autostart/" + productName + ".desktop";
}

bool AutostartEntryExists(const std::string& entryPath) {
    std::error_code error;
    return !entryPath.empty() && fs::exists(fs::symlink_status(entryPath, error));
}

bool OpenAutostartFolder(const std::string& entryPath) {
    if (entryPath.empty()) {
        return false;
    }
    const fs::path folder = fs::path(entryPath).parent_path();
    std::error_code error;
    fs::create_directories(folder, error);
    return fs::is_directory(folder, error) && access(folder.c_str(), W_OK | X_OK) == 0;
}

bool WriteAutostartEntry(const std::string& entryPath, const std::string& productName,
                         const std::string& programPath, std::string& error) {
    const std::string entry = "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=" +
                              productName +
                              "\n"
                              "Comment=Starts " +
                              productName +
                              " in the system tray\n"
                              "Exec=" +
                              DesktopExecArgument(programPath) +
                              " /s\n"
                              "Icon=keyloft\n"
                              "Terminal=false\n";
    try {
        ReplaceFileContents(entryPath, entry);
    } catch (const CFileException& e) {
        error = FileErrorText(e);
        return false;
    }
    return true;
}

bool RemoveAutostartEntry(const std::string& entryPath, std::string& error) {
    if (!AutostartEntryExists(entryPath)) {
        return true;
    }
    std::error_code removeError;
    if (!fs::remove(entryPath, removeError)) {
        error = FileErrorText(CFileException::FromErrno(removeError.value(), entryPath));
        return false;
    }
    return true;
}

} // namespace klt
