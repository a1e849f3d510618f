// Loading and saving password files of 1k to 1M entries with texts of 8 to 40 bytes, beside plain
// reading and writing of the same bytes. Saving includes the safe replacement with its flushes.
// Encrypted files are timed with the least key derivation there is, and the derivation that saves
// use on its own, with the memory it takes.

#include "store/FileIo.h"
#include "store/PasswordFileContent.h"
#include "store/PasswordFileType.h"
#include "support/TempFolder.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;

klt::PasswordFileContent MakeContent(int nEntries) {
    std::mt19937 random(static_cast<unsigned>(nEntries));
    std::uniform_int_distribution<int> length(8, 40);
    std::uniform_int_distribution<int> letter(' ', '~');
    const auto text = [&] {
        std::string s(static_cast<size_t>(length(random)), ' ');
        for (char& c : s) {
            c = static_cast<char>(letter(random));
        }
        return s;
    };
    klt::PasswordFileContent content;
    content.strMasterPassword = "correct horse battery staple";
    content.timeStamp = 1700000000;
    for (int i = 0; i < nEntries; ++i) {
        content.entryList.push_back(std::make_unique<QMPassword>(
            text(), text(), text(), 1600000000 + static_cast<int32_t>(random() % 99999999)));
    }
    return content;
}

// The least work the key derivation allows: what remains of an encrypted file's time is the cipher's.
constexpr klt::KdfLimits kLeastWork{1, 8192};

// One file per size and type in a folder of its own, made on first use and removed at exit.
class Files {
public:
    const std::string& Path(int nEntries, const std::string& strExtension = ".klt") {
        auto it = m_paths.find({nEntries, strExtension});
        if (it == m_paths.end()) {
            const std::string strPath = m_folder.PathOf("bench-" + std::to_string(nEntries) + strExtension);
            klt::SaveContent(MakeContent(nEntries), strPath, kLeastWork);
            it = m_paths.emplace(std::pair(nEntries, strExtension), strPath).first;
        }
        return it->second;
    }

private:
    klt::testing::TempFolder m_folder{"klt_bench_"};
    std::map<std::pair<int, std::string>, std::string> m_paths;
};

Files& BenchFiles() {
    static Files files;
    return files;
}

const klt::PasswordPrompt kPrompt = [] { return std::optional<std::string>("correct horse battery staple"); };

void Count(benchmark::State& state, size_t nBytes) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(nBytes));
}

void BM_ReadBytes(benchmark::State& state) {
    const std::string& strPath = BenchFiles().Path(static_cast<int>(state.range(0)));
    size_t nBytes = 0;
    for (auto _ : state) {
        const std::string bytes = klt::ReadFileContents(strPath);
        nBytes = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    Count(state, nBytes);
}

// Times load(path, content) on the file of the benchmark's size with the given extension.
template <typename Load> void LoadRepeatedly(benchmark::State& state, const char* pszExtension, Load load) {
    const std::string& strPath = BenchFiles().Path(static_cast<int>(state.range(0)), pszExtension);
    for (auto _ : state) {
        auto pContent = std::make_unique<klt::PasswordFileContent>();
        if (load(strPath, *pContent) != klt::ReadStatus::ok) {
            state.SkipWithError("load failed");
        }
        // Freeing the entries is not part of loading them, nor is the allocator's tidying up
        // after that, which a large request makes it do at once instead of in the next load.
        state.PauseTiming();
        pContent.reset();
        std::free(std::malloc(1 << 20));
        state.ResumeTiming();
    }
    Count(state, static_cast<size_t>(fs::file_size(strPath)));
}

void BM_Load(benchmark::State& state) {
    LoadRepeatedly(state, ".klt", [](const std::string& strPath, klt::PasswordFileContent& content) {
        return content.LoadFile(strPath, kPrompt);
    });
}

void BM_WriteBytes(benchmark::State& state) {
    const std::string& strPath = BenchFiles().Path(static_cast<int>(state.range(0)));
    const std::string bytes = klt::ReadFileContents(strPath);
    for (auto _ : state) {
        klt::ReplaceFileContents(strPath, bytes);
    }
    Count(state, bytes.size());
}

void BM_Save(benchmark::State& state) {
    const std::string& strPath = BenchFiles().Path(static_cast<int>(state.range(0)));
    const klt::PasswordFileContent content = MakeContent(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        content.SaveFile(strPath);
    }
    Count(state, static_cast<size_t>(fs::file_size(strPath)));
}

// The file's bytes in memory, without touching the disk.
void BM_Build(benchmark::State& state) {
    const klt::PasswordFileContent content = MakeContent(static_cast<int>(state.range(0)));
    size_t nBytes = 0;
    for (auto _ : state) {
        const std::string bytes = content.Build();
        nBytes = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    Count(state, nBytes);
}

// The key derivation of every save and open of an encrypted file. The counter is how much the
// process's peak memory grew while it ran (it runs first, so the peak is its own).
void BM_DeriveKey(benchmark::State& state) {
    const std::string salt(klt::kSaltSize, 's');
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            klt::detail::DeriveKey("correct horse battery staple", salt, klt::kSaveKdfLimits));
    }
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    state.counters["peak_MiB"] = static_cast<double>(after.ru_maxrss - before.ru_maxrss) / 1024;
}

void BM_LoadSealed(benchmark::State& state) {
    LoadRepeatedly(state, ".kltx", [](const std::string& strPath, klt::PasswordFileContent& content) {
        return klt::LoadContent(klt::ReadFileContents(strPath), kPrompt, content);
    });
}

void BM_SaveSealed(benchmark::State& state) {
    const std::string& strPath = BenchFiles().Path(static_cast<int>(state.range(0)), ".kltx");
    const klt::PasswordFileContent content = MakeContent(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        klt::SaveContent(content, strPath, kLeastWork);
    }
    Count(state, static_cast<size_t>(fs::file_size(strPath)));
}

#define KLT_SIZES RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->UseRealTime()

BENCHMARK(BM_DeriveKey)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadBytes)->KLT_SIZES;
BENCHMARK(BM_Load)->KLT_SIZES;
BENCHMARK(BM_WriteBytes)->KLT_SIZES;
BENCHMARK(BM_Save)->KLT_SIZES;
BENCHMARK(BM_Build)->KLT_SIZES;
BENCHMARK(BM_LoadSealed)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveSealed)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
