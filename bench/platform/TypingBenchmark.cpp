// Characters per second that reach a window of another process, and how many of them arrived wrong or
// not at all. On an X display, a Qt line edit typed into through the X11 keyboard service:
//   tests/support/with-xvfb build/bench/platform/platform_bench
// In a sway session, 2,000 characters into each target that the route can reach:
//   tests/support/with-sway build/bench/platform/platform_bench
#include "platform/KeystrokeTyper.h"
#include "platform/Platform.h"
#include "store/TextCodec.h"
#include "support/TypingTargets.h"
#include "support/WaitUntil.h"
#include "support/X11TestDisplay.h"
#include "wayland/SwayWindows.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <random>
#include <tuple>

namespace {

constexpr size_t kLength = 10000;
constexpr size_t kSwayLength = 2000;

// Random characters drawn from the given set, the same every run.
std::u32string RandomText(const std::u32string& alphabet, size_t length = kLength) {
    std::mt19937 random(20240601);
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::u32string text;
    for (size_t i = 0; i < length; ++i) {
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
    auto platform = klt::OpenX11Platform();
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
        // With the check the paste makes before every key.
        typer.TypeText(bytes, &platform->Windows(), target->Window());
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

// Printable ASCII and Latin-1 with Cyrillic and emoji, which no one layout has together.
std::u32string Mixed() {
    std::u32string alphabet = AsciiAndLatin1();
    for (char32_t c = 0x410; c <= 0x44F; ++c) {
        alphabet += c;
    }
    alphabet += U"🙂😀👍🎉🔑";
    return alphabet;
}

using TargetStarter = std::unique_ptr<klt::test::TypingTarget> (*)(klt::KeystrokeTyper& typer);

// A target in the sway session, given the focus through sway, as the paste gives it to the target, and
// typed into with the check the paste makes before every key.
void TypeOnSway(benchmark::State& state, klt::Platform* route, TargetStarter start,
                const std::u32string& alphabet) {
    if (route == nullptr) {
        state.SkipWithError("the route is not available");
        return;
    }
    klt::KeystrokeTyper typer(route->Keyboard());
    const std::u32string text = RandomText(alphabet, kSwayLength);
    const std::string bytes = klt::EncodeUtf8(text);
    size_t wrong = 0;
    size_t typed = 0;
    size_t arrived = 0;
    for (auto _ : state) {
        const auto target = start(typer);
        if (!target->Window() || !klt::wayland_test::FocusSwayWindow(target->Window())) {
            state.SkipWithError("the target did not come up");
            return;
        }
        // The route learns of the focus change from its own connection, a moment later than sway says.
        klt::IWindowSystem& windows = route->Windows();
        klt::test::WaitUntil(
            [&] { return windows.WindowTitle(windows.ForegroundWindow()) == target->Title(); });
        const auto begin = std::chrono::steady_clock::now();
        typer.TypeText(bytes, &windows, windows.ForegroundWindow());
        typed += static_cast<size_t>(typer.DoneCount());
        const std::u32string received = klt::DecodeText(target->Received(bytes, std::chrono::minutes(5)));
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
        wrong += WrongOrMissing(text, received);
        arrived += received.size();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kSwayLength));
    state.counters["wrong_or_missing"] = static_cast<double>(wrong);
    // A paste that stopped short, as against keys that went out and never arrived.
    state.counters["typed"] = static_cast<double>(typed);
    state.counters["arrived"] = static_cast<double>(arrived);
    state.counters["untyped"] = typer.UntypedCount();
}

// Each route into the targets it can reach, with both alphabets: the X11 route only into XWayland.
void RegisterSwayCases(klt::Platform* x11, klt::Platform* wayland) {
    using klt::wayland_test::WaitForSwayWindow;
    const std::pair<const char*, TargetStarter> targets[] = {
        {"xterm", [](klt::KeystrokeTyper&) { return klt::test::StartXterm(WaitForSwayWindow); }},
        {"qt_xcb",
         [](klt::KeystrokeTyper& typer) {
             return klt::test::StartQtLineEdit(WaitForSwayWindow, [&typer] { typer.TypeText("\r"); });
         }},
        {"foot", [](klt::KeystrokeTyper&) { return klt::test::StartFoot(WaitForSwayWindow); }},
        {"qt_wayland",
         [](klt::KeystrokeTyper& typer) {
             return klt::test::StartQtLineEdit(
                 WaitForSwayWindow, [&typer] { typer.TypeText("\r"); }, "wayland");
         }},
        {"gtk_wayland",
         [](klt::KeystrokeTyper& typer) {
             return klt::test::StartGtkEntry(
                 WaitForSwayWindow, [&typer] { typer.TypeText("\r"); }, "wayland");
         }},
    };
    for (const auto& [route, platform, reach] :
         {std::tuple{"x11", x11, 2}, std::tuple{"wayland", wayland, 5}}) {
        for (int i = 0; i < reach; ++i) {
            for (const auto& [alphabetName, alphabet] :
                 {std::pair{"ascii", PrintableAscii()}, std::pair{"mixed", Mixed()}}) {
                benchmark::RegisterBenchmark(
                    (std::string(route) + "/" + targets[i].first + "/" + alphabetName).c_str(), TypeOnSway,
                    platform, targets[i].second, alphabet)
                    ->UseManualTime()
                    ->Iterations(1)
                    ->Unit(benchmark::kMillisecond);
            }
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::unique_ptr<klt::Platform> x11;
    std::unique_ptr<klt::Platform> wayland;
    if (std::getenv("SWAYSOCK") != nullptr) {
        x11 = klt::OpenX11Platform();
        wayland = klt::OpenWaylandPlatform(x11 ? &x11->Keyboard() : nullptr, "keyloft");
        RegisterSwayCases(x11.get(), wayland.get());
    } else {
        for (const auto& [name, alphabet] : {std::pair{"printable_ascii", PrintableAscii()},
                                             std::pair{"ascii_and_latin1", AsciiAndLatin1()}}) {
            benchmark::RegisterBenchmark((std::string("TypeIntoQtLineEdit/") + name).c_str(),
                                         TypeIntoQtLineEdit, alphabet)
                ->UseManualTime()
                ->Iterations(3)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
