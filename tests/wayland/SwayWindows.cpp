#include "wayland/SwayWindows.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace klt::wayland_test {
namespace {

// The id of the container with this title among the node and its children, 0 when none has it.
klt::WindowId Find(const QJsonObject& node, const QString& title) {
    if (node["name"].toString() == title && node.contains("pid")) {
        return static_cast<klt::WindowId>(node["id"].toInteger());
    }
    for (const char* children : {"nodes", "floating_nodes"}) {
        for (const QJsonValue& child : node[children].toArray()) {
            if (const klt::WindowId id = Find(child.toObject(), title); id != 0) {
                return id;
            }
        }
    }
    return 0;
}

QByteArray Swaymsg(const QStringList& arguments) {
    QProcess swaymsg;
    swaymsg.start("swaymsg", arguments);
    swaymsg.waitForFinished(static_cast<int>(klt::test::kBound.count()));
    return swaymsg.exitCode() == 0 ? swaymsg.readAllStandardOutput() : QByteArray();
}

} // namespace

klt::WindowId WaitForSwayWindow(const std::string& title) {
    // Window events wake the wait; the tree is looked at again at least every 100 ms, as a window may
    // come up before the subscription is made.
    QProcess events;
    events.start("swaymsg", {"-t", "subscribe", "-m", "-r", R"(["window"])"});
    QElapsedTimer clock;
    clock.start();
    klt::WindowId id = 0;
    while ((id = Find(QJsonDocument::fromJson(Swaymsg({"-t", "get_tree", "-r"})).object(),
                      QString::fromStdString(title))) == 0 &&
           clock.elapsed() < klt::test::kBound.count()) {
        events.waitForReadyRead(100);
        events.readAllStandardOutput();
    }
    events.kill();
    events.waitForFinished();
    return id;
}

bool FocusSwayWindow(klt::WindowId container) {
    return QJsonDocument::fromJson(Swaymsg({"-r", QString("[con_id=%1] focus").arg(container)}))
        .array()
        .at(0)["success"]
        .toBool();
}

} // namespace klt::wayland_test
