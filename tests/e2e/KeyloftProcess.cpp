#include "e2e/KeyloftProcess.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileSystemWatcher>
#include <QTimer>
#include <filesystem>

namespace fs = std::filesystem;

namespace klt::e2e {

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

std::string WaitForSettingOtherThan(const std::string& key, const std::string& before) {
    const QString file = klt::testing::SettingsFile();
    const fs::path folder = fs::path(file.toStdString()).parent_path();
    fs::create_directories(folder);
    // The settings file is replaced as a whole: watch its folder, and the file once it is there.
    QFileSystemWatcher watcher({QString::fromStdString(folder.string())});
    QEventLoop loop;
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, &QEventLoop::quit);
    QObject::connect(&watcher, &QFileSystemWatcher::fileChanged, &loop, &QEventLoop::quit);
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
    bound.start(static_cast<int>(kBound.count()));
    std::string value;
    while ((value = ReadSetting(key)) == before && bound.isActive()) {
        if (QFile::exists(file) && !watcher.files().contains(file)) {
            watcher.addPath(file);
            continue;
        }
        loop.exec();
    }
    return value;
}

} // namespace klt::e2e
