// Characters per second that reach a Qt line edit in another process, typed through the X11 keyboard
// service, and how many of them arrived wrong or not at all. Needs an X display; run it as
//   tests/support/with-xvfb build/bench/platform/platform_bench
#include "KeystrokeTyper.h"
#include "TextCodec.h"
#include "TypingTargets.h"
#include "X11Platform.h"
#include "X11TestDisplay.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <random>

namespace {

constexpr size_t kLength = 10000;

// Random characters drawn from the given set, the same every run.
std::u32string RandomText(const std::u32string& alphabet) {
    std::mt19937 random(20240601);
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::u32string text;
    for (size_t i = 0; i < kLength; ++i) {
        text += alphabet[pick(random)];
    }
    return text;
}

// Characters that differ at the same place, plus those missing or extra at the end.
size_t WrongOrMissing(const std::u32string& expected, const std::u32string& received) {
    size_t count = expected.size() > received.size() ? expected.size() - received.size()
                                                     : received.size() - expected.size();
    for (size_t i = 0; i < std::min(expected.size(), received.size()); ++i) {
        count += expected[i] != received[i];
    }
    return count;
}

void TypeIntoQtLineEdit(benchmark::State& state, const std::u32string& alphabet) {
    auto platform = klt::X11Platform::Open();
    if (!platform) {
        state.SkipWithError("no X display");
        return;
    }
    klt::KeystrokeTyper typer(platform->Keyboard());
    klt::test::X11TestDisplay display;
    const std::u32string text = RandomText(alphabet);
    const std::string bytes = klt::EncodeUtf8(text);
    size_t wrong = 0;
    std::chrono::steady_clock::duration sending{};
    for (auto _ : state) {
        auto target =
            klt::test::StartQtLineEdit(klt::test::WindowsOf(display), [&] { typer.TypeText("\r"); });
        if (!target->Window() || !platform->Windows().SetForegroundWindow(target->Window())) {
            state.SkipWithError("the line edit did not come up");
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        typer.TypeText(bytes);
        sending += std::chrono::steady_clock::now() - start;
        const std::u32string received = klt::DecodeText(target->Received(bytes, std::chrono::minutes(10)));
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        wrong += WrongOrMissing(text, received);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kLength));
    state.counters["wrong_or_missing"] = static_cast<double>(wrong);
    // How fast the keys leave this program, as against how fast the line edit takes them in.
    state.counters["sent_per_second"] =
        static_cast<double>(state.iterations() * kLength) / std::chrono::duration<double>(sending).count();
}

std::u32string PrintableAscii() {
    std::u32string alphabet;
    for (char32_t c = 0x20; c <= 0x7E; ++c) {
        alphabet += c;
    }
    return alphabet;
}

// Printable ASCII with the Latin-1 letters, which a US layout types through lent keys.
std::u32string AsciiAndLatin1() {
    std::u32string alphabet = PrintableAscii();
    for (char32_t c = 0xC0; c <= 0xFF; ++c) {
        if (c != 0xD7 && c != 0xF7) {
            alphabet += c;
        }
    }
    return alphabet;
}

} // namespace

BENCHMARK_CAPTURE(TypeIntoQtLineEdit, printable_ascii, PrintableAscii())
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(TypeIntoQtLineEdit, ascii_and_latin1, AsciiAndLatin1())
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
