// main() of the GUI test programs: headless (offscreen), with fresh XDG folders so that nothing
// touches a real user's settings or files, and a scripted user with an empty script installed, so
// that any modal interaction a test did not script fails that test instead of waiting.

#include "res/Resources.h"
#include "support/TempFolder.h"
#include "support/scripted/ScriptedUser.h"

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// The offscreen platform says what it cannot do (raise a window, size hints) at every turn.
void QuietMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) {
        return;
    }
    qt_message_output(type, context, message);
}

} // namespace

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // mkdtemp makes each folder the user's alone, as XDG_RUNTIME_DIR must be.
    const klt::testing::TempFolder runtime("klt_runtime_");
    const klt::testing::TempFolder config("klt_config_");
    const klt::testing::TempFolder data("klt_data_");
    setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    setenv("XDG_DATA_HOME", data.Path().c_str(), 1);

    qInstallMessageHandler(QuietMessageHandler);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    klt::AfxSetResources(klt::res::ProgramResources());
    int result = 0;
    {
        klt::testing::ScriptedUser strictUser; // nothing scripted: every modal interaction fails the test
        result = RUN_ALL_TESTS();
    }
    return result;
}
