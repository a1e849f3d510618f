// main() of the GUI test programs: headless (offscreen), with fresh XDG folders so that nothing
// touches a real user's settings or files, and a scripted user with an empty script installed, so
// that any modal interaction a test did not script fails that test instead of waiting.

#include "Resources.h"
#include "ScriptedUser.h"

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

// The offscreen platform says what it cannot do (raise a window, size hints) at every turn.
void QuietMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) {
        return;
    }
    qt_message_output(type, context, message);
}

std::filesystem::path MakeTempFolder(const char* name) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / (std::string("klt-") + name + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::exit(2);
    }
    return pattern;
}

} // namespace

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::filesystem::path runtime = MakeTempFolder("runtime");
    const std::filesystem::path config = MakeTempFolder("config");
    const std::filesystem::path data = MakeTempFolder("data");
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("XDG_DATA_HOME", data.c_str(), 1);

    qInstallMessageHandler(QuietMessageHandler);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    klt::AfxSetResources(klt::res::ProgramResources());
    int result = 0;
    {
        klt::testing::ScriptedUser strictUser; // nothing scripted: every modal interaction fails the test
        result = RUN_ALL_TESTS();
    }
    std::error_code error;
    for (const auto& folder : {runtime, config, data}) {
        std::filesystem::remove_all(folder, error);
    }
    return result;
}
