// How quickly the real program answers a paste: from the press of the hot key to the paste dialog on
// the screen, and from choosing "Paste Password" to the last of 32 characters arriving in an xterm.
// The medians of 20 are what counts. Needs a window manager and a tray host; run it as
//   tests/support/with-xvfb --wm --tray -- build/bench/app/paste_bench
#include "platform/Platform.h"
#include "store/PasswordFileContent.h"
#include "support/TypingTargets.h"
#include "support/X11TestDisplay.h"
#include "support/userfiles/UserFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <X11/keysym.h>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

const std::string kPassword = "Kx7#pQ2!vR9@mZ4$wL8%tN3^bH6&yD1*"; // 32 characters
const std::string kDialog = "Paste a password or username";

// The program with one entry, and an xterm in front of it, shared by every run.
struct Session {
    Session() {
        const std::string file = QDir::temp().filePath("paste_bench.klt").toStdString();
        klt::PasswordFileContent content;
        content.entryList.push_back(std::make_unique<QMPassword>("Mail", "ann", kPassword, 0));
        content.SaveFile(file);
        klt::testing::WriteSetting("Settings/Show ReadMe", "0");
        program.start(KLT_KEYLOFT, {QString::fromStdString(file)});
        bReady = display.WaitForWindow("paste_bench.klt - Keyloft") != 0;
        target = klt::test::StartXterm(klt::test::WindowsOf(display));
        bReady = bReady && platform && target->Window() &&
                 platform->Windows().SetForegroundWindow(target->Window());
    }
    ~Session() {
        program.kill();
        program.waitForFinished();
    }

    QProcess program;
    klt::test::X11TestDisplay display;
    std::unique_ptr<klt::Platform> platform = klt::OpenX11Platform();
    std::unique_ptr<klt::test::TypingTarget> target;
    std::string received;
    bool bReady = false;
};

Session& TheSession() {
    static Session session;
    return session;
}

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// One paste through the hot key; the time of the part that is measured.
void Paste(benchmark::State& state, bool bTimeDialog) {
    Session& session = TheSession();
    if (!session.bReady) {
        state.SkipWithError("the program or the xterm did not come up");
        return;
    }
    for (auto _ : state) {
        auto start = Clock::now();
        session.display.Tap(XK_Insert, {XK_Alt_L});
        // The client window is mapped inside the window manager's frame, which the root does not hear
        // of: looking every 10 ms keeps the figure within 10 ms.
        if (session.display.WaitForWindow(kDialog, [] {}) == 0) {
            state.SkipWithError("no paste dialog");
            return;
        }
        const double dialog = Since(start);
        // The button pressed with the focus on it, which clicks it at once, as the mouse does; its
        // mnemonic would first show it pressed for 100 ms.
        session.display.Tap(XK_Tab);
        session.display.Tap(XK_Tab);
        start = Clock::now();
        session.display.Tap(XK_Return);
        session.received += kPassword;
        if (session.target->Received(session.received) != session.received) {
            state.SkipWithError("the password did not arrive");
            return;
        }
        state.SetIterationTime(bTimeDialog ? dialog : Since(start));
        session.platform->Windows().SetForegroundWindow(session.target->Window());
    }
}

} // namespace

BENCHMARK_CAPTURE(Paste, HotKeyToDialogMapped, true)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Paste, PastePasswordToLastCharacter, false)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
