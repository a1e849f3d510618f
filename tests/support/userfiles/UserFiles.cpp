#include "support/userfiles/UserFiles.h"

#include "store/PasswordFileContent.h"

#include <QSettings>
#include <QStandardPaths>

namespace klt::testing {

void WritePasswordFile(const std::string& path, const std::string& password,
                       const std::vector<std::string>& systems) {
    PasswordFileContent content;
    content.bProtected = !password.empty();
    content.strMasterPassword = password;
    for (const std::string& system : systems) {
        content.entryList.push_back(std::make_unique<QMPassword>(system, "ann", "secret", 0));
    }
    content.SaveFile(path);
}

QString SettingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/Quellmoor/Keyloft.conf";
}

std::string ReadSetting(const std::string& key) {
    const QSettings settings(SettingsFile(), QSettings::IniFormat);
    return settings.value(QString::fromStdString(key)).toString().toStdString();
}

void WriteSetting(const std::string& key, const std::string& value) {
    QSettings settings(SettingsFile(), QSettings::IniFormat);
    settings.setValue(QString::fromStdString(key), QString::fromStdString(value));
}

} // namespace klt::testing
