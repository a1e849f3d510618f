#include "KeyloftProcess.h"

#include "PasswordFileContent.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileSystemWatcher>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <filesystem>

namespace fs = std::filesystem;

namespace klt::e2e {
namespace {

QString SettingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/Quellmoor/Keyloft.conf";
}

} // namespace

std::string MakePortableCopy(const std::string& folder) {
    fs::create_directories(folder);
    const fs::path built(KLT_KEYLOFT);
    for (const char* name : {"keyloft", "README.TXT", "LICENSE.TXT"}) {
        fs::copy_file(built.parent_path() / name, fs::path(folder) / name,
                      fs::copy_options::overwrite_existing);
    }
    return (fs::path(folder) / "keyloft").string();
}

KeyloftProcess::KeyloftProcess(const std::string& program, const std::vector<std::string>& args,
                               const std::string& folder) {
    QStringList arguments;
    for (const std::string& arg : args) {
        arguments << QString::fromStdString(arg);
    }
    m_process.setWorkingDirectory(QString::fromStdString(folder));
    m_process.setProcessChannelMode(QProcess::ForwardedChannels);
    m_process.start(QString::fromStdString(program), arguments);
    m_process.waitForStarted(static_cast<int>(kBound.count()));
}

KeyloftProcess::~KeyloftProcess() {
    if (IsRunning()) {
        m_process.kill();
        m_process.waitForFinished(static_cast<int>(kBound.count()));
    }
}

std::optional<int> KeyloftProcess::WaitForExit() {
    if (IsRunning() && !m_process.waitForFinished(static_cast<int>(kBound.count()))) {
        return std::nullopt;
    }
    if (m_process.exitStatus() != QProcess::NormalExit) {
        return -1;
    }
    return m_process.exitCode();
}

void KeyloftProcess::Crash() {
    m_process.kill();
    m_process.waitForFinished(static_cast<int>(kBound.count()));
}

std::string ReadSetting(const std::string& key) {
    const QSettings settings(SettingsFile(), QSettings::IniFormat);
    return settings.value(QString::fromStdString(key)).toString().toStdString();
}

void WriteSetting(const std::string& key, const std::string& value) {
    fs::create_directories(fs::path(SettingsFile().toStdString()).parent_path());
    QSettings settings(SettingsFile(), QSettings::IniFormat);
    settings.setValue(QString::fromStdString(key), QString::fromStdString(value));
}

std::string WaitForSettingOtherThan(const std::string& key, const std::string& before) {
    const QString folder = fs::path(SettingsFile().toStdString()).parent_path().c_str();
    fs::create_directories(folder.toStdString());
    QFileSystemWatcher watcher({folder});
    QEventLoop loop;
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, &QEventLoop::quit);
    QObject::connect(&watcher, &QFileSystemWatcher::fileChanged, &loop, &QEventLoop::quit);
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
    bound.start(static_cast<int>(kBound.count()));
    std::string value;
    while ((value = ReadSetting(key)) == before && bound.isActive()) {
        if (QFile::exists(SettingsFile()) && !watcher.files().contains(SettingsFile())) {
            watcher.addPath(SettingsFile());
            continue;
        }
        loop.exec();
    }
    return value;
}

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

} // namespace klt::e2e
