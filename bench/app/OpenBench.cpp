// How long the real program takes from its start with a password file of 100,000 or 1,000,000
// entries to its window on the screen, the processor time it has used by then, and the memory each
// entry costs it there: the resident size then, less that with an empty file, per entry. Needs a
// window manager and a tray host; run it as
//   tests/support/with-xvfb --wm --tray -- build/bench/app/open_bench
#include "store/PasswordFileContent.h"
#include "support/TempFolder.h"
#include "support/X11TestDisplay.h"
#include "support/userfiles/UserFiles.h"

#include <QCoreApplication>
#include <QProcess>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

const klt::testing::TempFolder& Folder() {
    static const klt::testing::TempFolder folder("klt_open_bench_");
    return folder;
}

// A file of nEntries entries named in no particular order, as a user's names come.
std::string MakeFile(int nEntries) {
    const std::string strPath = Folder().PathOf("open" + std::to_string(nEntries) + ".klt");
    std::mt19937 random(static_cast<unsigned>(nEntries));
    std::uniform_int_distribution<int> letter('a', 'z');
    klt::PasswordFileContent content;
    for (int i = 0; i < nEntries; ++i) {
        std::string name(8, ' ');
        for (char& c : name) {
            c = static_cast<char>(letter(random));
        }
        content.entryList.push_back(std::make_unique<QMPassword>(
            name + std::to_string(i), "user@example.org", "pw" + std::to_string(random()), 1700000000));
    }
    content.SaveFile(strPath);
    return strPath;
}

long ResidentBytes(qint64 pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6)) * 1024;
        }
    }
    return 0;
}

// The processor time a process has used so far, in seconds: on a shared machine a steadier figure
// than the time on the clock.
double ProcessorSeconds(qint64 pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string field;
    // The name in field 2 is in parentheses and may hold spaces; user and system time follow as
    // fields 14 and 15.
    std::getline(stat, field, ')');
    long nTicks = 0;
    for (int i = 3; i <= 15 && stat >> field; ++i) {
        if (i >= 14) {
            nTicks += std::stol(field);
        }
    }
    return static_cast<double>(nTicks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

struct Opened {
    double seconds = 0;
    double processorSeconds = 0;
    long nResident = 0;
};

// Starts the program with the file and waits for its window; 0 seconds when none came.
Opened Open(const std::string& strPath) {
    klt::test::X11TestDisplay display;
    QProcess program;
    const auto start = Clock::now();
    program.start(KLT_KEYLOFT, {QString::fromStdString(strPath)});
    const std::string title = strPath.substr(strPath.rfind('/') + 1) + " - Keyloft";
    // Slower than one bounded wait allows on a busy machine, before the list was quick.
    klt::WindowId window = 0;
    for (int nWaits = 0; nWaits < 6 && window == 0; ++nWaits) {
        window = display.WaitForWindow(title);
    }
    Opened opened;
    if (window != 0) {
        opened.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        opened.nResident = ResidentBytes(program.processId());
        opened.processorSeconds = ProcessorSeconds(program.processId());
    }
    program.kill();
    program.waitForFinished();
    return opened;
}

void BM_OpenToWindow(benchmark::State& state) {
    const int nEntries = static_cast<int>(state.range(0));
    const std::string strPath = MakeFile(nEntries);
    const Opened empty = Open(MakeFile(0));
    Opened opened;
    for (auto _ : state) {
        opened = Open(strPath);
        if (opened.seconds == 0 || empty.seconds == 0) {
            state.SkipWithError("no window");
            return;
        }
        state.SetIterationTime(opened.seconds);
    }
    state.counters["program_cpu_ms"] = opened.processorSeconds * 1000;
    state.counters["bytes_per_entry"] = static_cast<double>(opened.nResident - empty.nResident) / nEntries;
}
BENCHMARK(BM_OpenToWindow)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // The program's settings live in a folder of the benchmark's own, and no read-me greets it.
    const klt::testing::TempFolder settings("klt_open_settings_");
    setenv("XDG_CONFIG_HOME", settings.Path().c_str(), 1);
    QCoreApplication application(argc, argv);
    klt::testing::WriteSetting("Settings/Show ReadMe", "0");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
