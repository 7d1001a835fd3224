// Board core speed: random legal games through MakeMove, and replays through GoToMove.
#include <benchmark/benchmark.h>

#include <random>

#include "board/GoBoard.h"

using namespace karvena;

namespace {

std::string RandomGame(int length, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> coordinate(1, 19);
    TGoBoard board;
    while (board.NextMove() <= length) {
        bool played = false;
        for (int tries = 0; tries < 50 && !played; ++tries)
            played = board.MakeMove(coordinate(random), coordinate(random), false);
        if (!played) board.MakeMove(20, 20, false);
    }
    return board.Process();
}

void BM_RandomMoves(benchmark::State& state) {
    std::mt19937 random(1);
    std::uniform_int_distribution<int> coordinate(1, 19);
    TGoBoard board;
    int64_t moves = 0;
    for (auto _ : state) {
        if (board.NextMove() > 250) {
            state.PauseTiming();
            board.NewGame(false);
            state.ResumeTiming();
        }
        bool played = false;
        for (int tries = 0; tries < 50 && !played; ++tries)
            played = board.MakeMove(coordinate(random), coordinate(random), false);
        if (!played) board.MakeMove(20, 20, false);
        ++moves;
    }
    state.counters["moves/s"] =
        benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RandomMoves);

void BM_GoToMove200(benchmark::State& state) {
    TGoBoard board;
    board.SetGivenProcess(RandomGame(200, 2));
    for (auto _ : state)
        board.GoToMove(200, true);
    state.counters["replays/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GoToMove200);

} // namespace
