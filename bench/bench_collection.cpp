// Solution blob speed: reading and writing a 5,000-node tree.
#include <benchmark/benchmark.h>

#include <random>

#include "board/Notation.h"
#include "collection/SolutionBlob.h"

using namespace karvena;

namespace {

std::vector<uint8_t> BigBlob() {
    std::mt19937 random(5);
    TSolutionTree tree;
    tree.Add(kNoNode, "root");
    for (int i = 1; i < 5000; ++i) {
        const TNodeId parent = static_cast<TNodeId>(random() % tree.Size());
        tree.Add(parent,
                 PointText(1 + random() % 19, 1 + random() % 19) + (random() % 3 ? "" : " 1"),
                 random() % 4 ? "" : "5", random() % 5 ? "" : "3");
    }
    return SaveSolution(tree);
}

void BM_ReadSolution5000(benchmark::State& state) {
    const std::vector<uint8_t> blob = BigBlob();
    TSolutionTree tree;
    for (auto _ : state)
        LoadSolution(tree, blob);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * blob.size()));
}
BENCHMARK(BM_ReadSolution5000)->Unit(benchmark::kMicrosecond);

void BM_WriteSolution5000(benchmark::State& state) {
    const std::vector<uint8_t> blob = BigBlob();
    TSolutionTree tree;
    LoadSolution(tree, blob);
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveSolution(tree));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * blob.size()));
}
BENCHMARK(BM_WriteSolution5000)->Unit(benchmark::kMicrosecond);

} // namespace

#include <chrono>
#include <filesystem>
#include <fstream>

#include "collection/Archive.h"
#include "collection/OpenGroup.h"

namespace {

std::string BenchFolder() {
    const auto folder = std::filesystem::temp_directory_path() / "karvena-bench";
    std::filesystem::create_directories(folder);
    return folder.string();
}

// The archive of a 10,000-problem collection in four groups, in `folder`.
void WriteCollection10000(const std::string& folder) {
    TProblemTableWriter writer;
    const std::vector<uint8_t> solution = BigBlob();
    const std::vector<uint8_t> small(solution.begin(),
                                     solution.begin() + std::min<size_t>(solution.size(), 600));
    for (int i = 0; i < 10000; ++i) {
        TProblemRow row;
        row.Auto1 = i;
        row.Group1 = i % 4;
        row.Level1 = i % 49 + 1;
        row.Num = i;
        row.ArrangedBlack = "CCDCECFBGB";
        row.ArrangedWhite = "BCCBDBEAFA";
        row.Solution = small;
        row.Result2 = 1;
        writer.Add(row);
    }
    WriteArchive(folder + "/Karvena.dgo", writer.Image());
}

// Opens the archive of a 10,000-problem collection and lists one group of 2,500.
void BM_OpenGroup10000(benchmark::State& state) {
    const std::string folder = BenchFolder();
    WriteCollection10000(folder);
    std::filesystem::remove(folder + "/History1.cds");
    THistoryStore history;
    history.Open(folder + "/History1.cds");
    size_t lines = 0;
    for (auto _ : state) {
        TProblemStore problems;
        lines = OpenGroup(folder, 2, problems, history).Lines.size();
    }
    state.counters["lines"] = static_cast<double>(lines);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_OpenGroup10000)->Unit(benchmark::kMillisecond);

// The same through the cache folder: the first start makes the copy (answers scrambled), later
// starts read it.
void BM_OpenGroup10000Cached(benchmark::State& state) {
    const bool first = state.range(0) == 1;
    const std::string folder = BenchFolder();
    WriteCollection10000(folder);
    std::filesystem::remove(folder + "/History1.cds");
    THistoryStore history;
    history.Open(folder + "/History1.cds");
    const std::string cache = folder + "/cache";
    size_t lines = 0;
    for (auto _ : state) {
        if (first) {
            state.PauseTiming();
            std::filesystem::remove_all(cache);
            state.ResumeTiming();
        }
        TProblemStore problems;
        lines = OpenGroup(folder, 2, problems, history, cache).Lines.size();
    }
    state.counters["lines"] = static_cast<double>(lines);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_OpenGroup10000Cached)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_HistoryPost(benchmark::State& state) {
    const std::string folder = BenchFolder();
    THistoryStore history;
    history.Open(folder + "/History1.cds");
    THistoryRow row;
    row.Auto1 = 1;
    for (auto _ : state) {
        ++row.FailedCount;
        history.Post(row);
    }
    state.counters["posts/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_HistoryPost)->Unit(benchmark::kMicrosecond);

} // namespace

#include "collection/CollectionBuilder.h"
#include "collection/UserCollection.h"

namespace {

// Building the bundled archive from its SGF files.
void BM_BuildBundled(benchmark::State& state) {
    const std::string data = KARVENA_DATA_DIR;
    TLevelMap levels;
    std::string error;
    ReadLevelMap(data + "/levels.txt", levels, error);
    const std::string archive = BenchFolder() + "/bundled.dgo";
    for (auto _ : state) {
        const TBuiltCollection built =
            BuildCollection({data + "/ggg-weekly/easy", data + "/ggg-weekly/intermediate",
                             data + "/ggg-weekly/hard", data + "/ggg-weekly/other"},
                            &levels);
        TProblemTableWriter writer;
        for (const TProblemRow& row : built.Rows)
            writer.Add(row);
        WriteArchive(archive, writer.Image());
    }
    std::filesystem::remove_all(BenchFolder());
}
BENCHMARK(BM_BuildBundled)->Unit(benchmark::kMillisecond);

// 10,000 generated problems: each a corner shape with a three-level tree.
void BM_Build10000Generated(benchmark::State& state) {
    const std::string folder = BenchFolder() + "/generated";
    std::filesystem::create_directories(folder);
    std::mt19937 random(3);
    for (int i = 0; i < 10000; ++i) {
        std::string sgf = "(;GM[1]FF[4]SZ[19]AB[ba][bb][cb]AW[ca][db][dc]";
        const char* firsts[] = {"aa", "ab", "da", "ea"};
        for (const char* first : firsts)
            sgf += std::string("(;B[") + first + "];W[" + "fa" + "](;B[ga]C[" +
                   (random() % 2 ? "Correct" : "Wrong") + "])(;B[ha]))";
        sgf += ")";
        std::ofstream(folder + "/p" + std::to_string(10000 + i) + ".sgf") << sgf;
    }
    const std::string archive = BenchFolder() + "/generated.dgo";
    for (auto _ : state) {
        const TBuiltCollection built = BuildCollection({folder}, nullptr);
        TProblemTableWriter writer;
        for (const TProblemRow& row : built.Rows)
            writer.Add(row);
        WriteArchive(archive, writer.Image());
    }
    std::filesystem::remove_all(BenchFolder());
}
BENCHMARK(BM_Build10000Generated)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

#include "collection/SgfImport.h"

namespace {

// A single line of 50,000 moves: reading and importing stay linear in the size of the file.
void BM_ImportDeepLine(benchmark::State& state) {
    std::string sgf = "(;AB[aa]";
    for (int i = 0; i < 50000; ++i)
        sgf += i % 2 ? ";W[cc]" : ";B[bb]";
    sgf += "C[Correct])";
    for (auto _ : state) {
        const TSgfRead read = ReadSgf(sgf, "deep.sgf");
        benchmark::DoNotOptimize(ImportSgf(*read.File, "deep.sgf"));
    }
}
BENCHMARK(BM_ImportDeepLine)->Unit(benchmark::kMillisecond);

// One 30 MB file of 20,000 game records of 250 moves: read game by game, every record left out
// as no problem. The peak memory of the same import through "karvena-collection build" is in
// the notes (/usr/bin/time): the file is held once, and one game of it.
void BM_ImportGameRecordFile30MB(benchmark::State& state) {
    const std::string path = BenchFolder() + "/games.sgf";
    {
        std::ofstream out(path, std::ios::binary);
        uint32_t seed = 5;
        auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
        for (int g = 0; g < 20000; ++g) {
            out << "(;GM[1]FF[4]SZ[19]PB[Black]PW[White]RE[B+R]KM[6.5]";
            for (int m = 0; m < 250; ++m)
                out << ';' << (m % 2 ? 'W' : 'B') << '[' << char('a' + next() % 19)
                    << char('a' + (next() >> 8) % 19) << ']';
            out << ")\n";
        }
    }
    size_t skipped = 0;
    for (auto _ : state) {
        const TFileImport imported = ImportSgfFile(path, [](TImportedProblem&&) { return true; });
        skipped = imported.Skipped.size();
    }
    state.counters["skipped"] = static_cast<double>(skipped);
    std::filesystem::remove(path);
}
BENCHMARK(BM_ImportGameRecordFile30MB)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

// 10,000 different problems imported into the player's collection, with the longest wait between
// two progress reports (the dialog is redrawn from them).
void BM_Import10000Sgf(benchmark::State& state) {
    const std::string folder = BenchFolder() + "/import";
    std::filesystem::create_directories(folder + "/a/b");
    for (int i = 0; i < 10000; ++i) {
        // Two stones far from the corner make each problem its own.
        const char black[3] = {static_cast<char>('j' + i % 10), static_cast<char>('j' + i / 10 % 10), 0};
        const char white[3] = {static_cast<char>('j' + i / 100 % 10), static_cast<char>('a' + i / 1000), 0};
        std::string sgf = std::string("(;GM[1]FF[4]SZ[19]AB[ba][bb][cb][") + black + "]AW[ca][db][dc][" +
                          white + "]";
        for (const char* first : {"aa", "ab", "da", "ea"})
            sgf += std::string("(;B[") + first + "];W[fa](;B[ga]C[Correct])(;B[ha]))";
        sgf += ")";
        std::ofstream(folder + (i % 2 ? "/a/p" : "/a/b/p") + std::to_string(i) + ".sgf") << sgf;
    }
    double longestGap = 0;
    for (auto _ : state) {
        std::filesystem::remove(BenchFolder() + "/Imported.cds");
        TUserCollection collection(BenchFolder() + "/Imported.cds");
        auto last = std::chrono::steady_clock::now();
        const TImportSummary summary = collection.Import({folder}, [&](int, int) {
            const auto now = std::chrono::steady_clock::now();
            longestGap = std::max(longestGap,
                                  std::chrono::duration<double, std::milli>(now - last).count());
            last = now;
            return true;
        });
        if (summary.Added.empty() || summary.Added[0].Count + summary.Added[1].Count != 10000)
            state.SkipWithError("not every problem was imported");
    }
    state.counters["longest_progress_gap_ms"] = longestGap;
    std::filesystem::remove_all(BenchFolder());
}
BENCHMARK(BM_Import10000Sgf)->Unit(benchmark::kMillisecond)->Iterations(1);
