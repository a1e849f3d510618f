#include "app/desktop/FileTypeRegistration.h"

#include "app/desktop/DesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace klt {
namespace {

QByteArray ReadResource(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// True when the file had other contents and now holds these.
bool WriteIfDifferent(const QString& path, const QByteArray& contents) {
    QFile existing(path);
    if (contents.isEmpty() || (existing.open(QIODevice::ReadOnly) && existing.readAll() == contents)) {
        return false;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() && file.commit();
}

} // namespace

void RegisterFileType(const std::string& programPath) {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty()) {
        return;
    }
    QByteArray entry = ReadResource(QStringLiteral(":/xdg/keyloft.desktop.in"));
    entry.replace("@KLT_EXEC@", QByteArray::fromStdString(DesktopExecArgument(programPath)));

    WriteIfDifferent(data + "/icons/hicolor/scalable/apps/keyloft.svg", ReadResource(":/icons/keyloft.svg"));
    if (WriteIfDifferent(data + "/mime/packages/keyloft.xml", ReadResource(":/xdg/keyloft-mime.xml"))) {
        QProcess::startDetached(QStringLiteral("update-mime-database"), {data + "/mime"});
    }
    if (WriteIfDifferent(data + "/applications/keyloft.desktop", entry)) {
        QProcess::startDetached(QStringLiteral("update-desktop-database"), {data + "/applications"});
    }
}

} // namespace klt
