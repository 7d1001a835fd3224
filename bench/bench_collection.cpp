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
