// The solver: its board's moves taken back and forth, the bundled collection's first moves
// judged (agreement with the trees, the median and 90th percentile time per problem) for the
// first problems of each level group, one second per first move, and the trainer's judgement of
// a move the tree does not list (its budget, two seconds).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>

#include "collection/Archive.h"
#include "collection/ProblemStore.h"
#include "solver/Solver.h"
#include "collection/SolutionBlob.h"
#include "solving/MoveJudge.h"
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

// The bundled collection's problems; false (the benchmark skipped) when they cannot be read.
bool OpenBundled(TProblemStore& store, benchmark::State& state) {
    const TArchiveRead read = ReadArchiveMember(KARVENA_ARCHIVE);
    if (read.Error == TArchiveError::None && store.Open(read.Bytes)) return true;
    state.SkipWithError("the bundled archive cannot be read");
    return false;
}

void BM_ProveBundledGroup(benchmark::State& state) {
    const int group = static_cast<int>(state.range(0));
    const int count = static_cast<int>(state.range(1));
    TProblemStore store;
    if (!OpenBundled(store, state)) return;
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

// A player's move beside the tree's answer that the tree does not list: the first empty point
// next to the first correct first move, as a near miss would be; "" when there is none.
std::string NearMiss(const TProblemRow& row, const TSolutionTree& tree) {
    std::vector<std::string> listed;
    std::string answer;
    const std::vector<bool> success = tree.SuccessBelowAll();
    for (const TNodeId child : tree.Children(tree.Root())) {
        listed.push_back(tree.MoveOf(child));
        if (answer.empty() && (tree.LineEndOf(child) == TLineEnd::Success || success[static_cast<size_t>(child)]))
            answer = tree.MoveOf(child);
    }
    if (answer.size() != 2 || answer == "TT") return "";
    const std::string stones = row.ArrangedBlack + row.ArrangedWhite + row.Initial;
    for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        const char x = static_cast<char>(answer[0] + dx), y = static_cast<char>(answer[1] + dy);
        if (x < 'A' || x > 'S' || y < 'A' || y > 'S') continue;
        const std::string move{x, y};
        bool taken = std::find(listed.begin(), listed.end(), move) != listed.end();
        for (size_t k = 0; k + 1 < stones.size() && !taken; k += 2)
            taken = stones.compare(k, 2, move) == 0;
        if (!taken) return move;
    }
    return "";
}

// The trainer's judgement of such a move in the first problems of a group, two seconds a search:
// with the problem's goal known (the trainer looks for it as the problem opens), and the first
// time, the goal looked for then (first_...).
void BM_JudgeAMoveTheTreeLacks(benchmark::State& state) {
    const int group = static_cast<int>(state.range(0));
    const int count = static_cast<int>(state.range(1));
    TProblemStore store;
    if (!OpenBundled(store, state)) return;
    TSolverBudget budget;
    budget.Milliseconds = 2000;
    std::vector<double> times, firstTimes;
    int settled = 0, unknown = 0;
    for (auto _ : state) {
        for (const TProblemRow& listed : store.GroupWithNext(group)) {
            if (listed.Group1 != group || static_cast<int>(times.size()) >= count) break;
            const std::optional<TProblemRow> row = store.Find(listed.Auto1);
            if (!row) continue;
            TSolutionTree tree;
            LoadSolution(tree, row->Solution);
            const std::string move = NearMiss(*row, tree);
            if (move.empty()) continue;
            const auto clock = std::chrono::steady_clock::now;
            const auto since = [&](auto start) {
                return std::chrono::duration<double, std::milli>(clock() - start).count();
            };
            // The first time: the goal looked for, then the move judged.
            TMoveJudge first(*row);
            auto start = clock();
            first.Judge({move}, budget);
            firstTimes.push_back(since(start));
            // With the goal known (looked for as the problem opened, or kept in the history).
            TMoveJudge judge(*row);
            if (first.Goal()) judge.SetKnownGoal(*first.Goal());
            start = clock();
            const TJudgement judged = judge.Judge({move}, budget);
            times.push_back(since(start));
            (judged.Verdict == TSolverVerdict::Unknown ? unknown : settled)++;
        }
    }
    const auto at = [](std::vector<double> sorted, double share) {
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0.0
                              : sorted[static_cast<size_t>(share * static_cast<double>(sorted.size() - 1))];
    };
    state.counters["settled"] = settled;
    state.counters["unknown"] = unknown;
    state.counters["median_ms"] = at(times, 0.5);
    state.counters["p90_ms"] = at(times, 0.9);
    state.counters["first_median_ms"] = at(firstTimes, 0.5);
    state.counters["first_p90_ms"] = at(firstTimes, 0.9);
}
// The trainer's judgement (default budget, two seconds) of a first move cut from the tree, as a
// player would meet it: of the problems with two correct first moves or more, each correct one
// cut in turn must "work"; each wrong first move cut must be refuted with a reply. The counters:
// correct moves cut, judged to work, judged to fail (never right); wrong moves cut, refuted (a
// ko that is not the answer included), judged to work (never right), left unknown because the
// problem has no question (no goal found), left unknown by the search within the time.
void BM_JudgeACutFirstMove(benchmark::State& state) {
    const int group = static_cast<int>(state.range(0));
    TProblemStore store;
    if (!OpenBundled(store, state)) return;
    TSolverBudget budget;
    budget.Milliseconds = 2000;
    int correctCut = 0, correctWorks = 0, correctFails = 0, wrongCut = 0, wrongRefuted = 0, wrongWorks = 0;
    int wrongUnasked = 0, wrongUnknown = 0;
    std::vector<double> times;
    for (auto _ : state) {
        for (const TProblemRow& listed : store.GroupWithNext(group)) {
            if (listed.Group1 != group) break;
            const std::optional<TProblemRow> row = store.Find(listed.Auto1);
            if (!row) continue;
            TSolutionTree tree;
            LoadSolution(tree, row->Solution);
            const std::vector<TNodeId> firsts = tree.Children(tree.Root());
            const std::vector<TNodeId> corrects = CorrectFirstMoves(tree);
            const auto correct = [&](TNodeId n) { return std::count(corrects.begin(), corrects.end(), n) > 0; };
            for (const TNodeId first : firsts) {
                const bool isCorrect = correct(first);
                if ((isCorrect && corrects.size() < 2) || tree.MoveOf(first) == "TT") continue;
                TProblemRow cutRow = *row;
                cutRow.Solution = SaveSolution(WithoutFirstMove(tree, first));
                TMoveJudge judge(cutRow);
                const auto start = std::chrono::steady_clock::now();
                const TJudgement judged = judge.Judge({tree.MoveOf(first)}, budget);
                times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
                const bool works = judged.Verdict == TSolverVerdict::Win ||
                                   (judged.Verdict == TSolverVerdict::Ko && judge.KoIsTheAnswer());
                // A ko that is not the problem's answer fails too: the trainer says so and plays
                // the reply that starts it.
                const bool refuted = !works && (judged.Verdict == TSolverVerdict::Loss || judged.Verdict == TSolverVerdict::Ko) &&
                                     !AnswerOf(judged).empty();
                if (isCorrect) {
                    ++correctCut;
                    correctWorks += works ? 1 : 0;
                    correctFails += judged.Verdict == TSolverVerdict::Loss ? 1 : 0;
                } else {
                    ++wrongCut;
                    wrongRefuted += refuted ? 1 : 0;
                    wrongWorks += works ? 1 : 0;
                    if (judged.Verdict == TSolverVerdict::Unknown) (judge.Why().empty() ? wrongUnknown : wrongUnasked)++;
                }
            }
        }
    }
    std::sort(times.begin(), times.end());
    const auto at = [&](double share) {
        return times.empty() ? 0.0 : times[static_cast<size_t>(share * static_cast<double>(times.size() - 1))];
    };
    state.counters["correct_cut"] = correctCut;
    state.counters["correct_works"] = correctWorks;
    state.counters["correct_fails"] = correctFails;
    state.counters["wrong_cut"] = wrongCut;
    state.counters["wrong_refuted"] = wrongRefuted;
    state.counters["wrong_works"] = wrongWorks;
    state.counters["wrong_unasked"] = wrongUnasked;
    state.counters["wrong_unknown"] = wrongUnknown;
    state.counters["median_ms"] = at(0.5);
    state.counters["p90_ms"] = at(0.9);
}
BENCHMARK(BM_JudgeACutFirstMove)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK(BM_JudgeAMoveTheTreeLacks)->Args({1, 20})->Args({2, 20})->Args({3, 20})
    ->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
