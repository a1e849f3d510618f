#include "DesktopEntry.h"

#include <QStandardPaths>

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
        case '\n':
            quoted += "\\n";
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

} // namespace klt
