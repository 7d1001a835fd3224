// The solver: its board's moves taken back and forth, and the bundled collection's first moves
// judged (agreement with the trees, the median and 90th percentile time per problem) for the
// first problems of each level group, one second per first move.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

#include "collection/Archive.h"
#include "collection/ProblemStore.h"
#include "solver/Solver.h"
#include "solving/ProblemProof.h"

using namespace karvena;

namespace {

void BM_SolverBoardPlayAndUndo(benchmark::State& state) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(1, 19);
    TSolverBoard board;
    TStone side = TStone::Black;
    for (auto _ : state) {
        if (board.Depth() > 200) {
            while (board.Depth() > 0) board.Undo();
        }
        const int p = TSolverBoard::PointOf(coordinate(random), coordinate(random));
        if (board.Play(p, side)) side = Other(side);
        benchmark::DoNotOptimize(board.Hash());
    }
}
BENCHMARK(BM_SolverBoardPlayAndUndo);

void BM_ProveBundledGroup(benchmark::State& state) {
    const int group = static_cast<int>(state.range(0));
    const int count = static_cast<int>(state.range(1));
    TProblemStore store;
    const TArchiveRead read = ReadArchiveMember(KARVENA_ARCHIVE);
    if (read.Error != TArchiveError::None || !store.Open(read.Bytes)) {
        state.SkipWithError("the bundled archive cannot be read");
        return;
    }
    TSolverBudget budget;
    budget.Milliseconds = 1000;
    std::vector<int64_t> times;
    int agree = 0, disagree = 0, unknown = 0;
    for (auto _ : state) {
        for (const TProblemRow& listed : store.GroupWithNext(group)) {
            if (listed.Group1 != group || static_cast<int>(times.size()) >= count) break;
            const std::optional<TProblemRow> row = store.Find(listed.Auto1);
            if (!row) continue;
            const TProblemProof proof = ProveProblem(*row, budget);
            times.push_back(proof.Milliseconds);
            (proof.Agreement == TAgreement::Agree      ? agree
             : proof.Agreement == TAgreement::Disagree ? disagree
                                                       : unknown)++;
        }
    }
    std::sort(times.begin(), times.end());
    const auto at = [&](double share) {
        return times.empty() ? 0.0
                             : static_cast<double>(times[static_cast<size_t>(
                                   share * static_cast<double>(times.size() - 1))]);
    };
    state.counters["agree"] = agree;
    state.counters["disagree"] = disagree;
    state.counters["unknown"] = unknown;
    state.counters["median_ms"] = at(0.5);
    state.counters["p90_ms"] = at(0.9);
}
BENCHMARK(BM_ProveBundledGroup)->Args({1, 20})->Args({2, 20})->Args({3, 20})
    ->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
