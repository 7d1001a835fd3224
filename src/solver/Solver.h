#pragma once
// Solve: proves, within a budget, what the side to move of a life-and-death question reaches.
//
// A depth-first proof-number search (df-pn): a node of the player's is won when one move wins,
// a node of the opponent's when every move (the pass among them) does, and the search always
// follows the line that looks cheapest to settle. Settled positions end a line at once (a
// target stone taken, the target unconditionally alive, two passes); every position proven
// without leaning on a repetition of the line is kept in a transposition table of fixed size,
// so other lines (and other questions sharing the table) read it back. The search runs twice
// at most: once with repetitions against the player and the opponent free to retake a ko at
// once (a win outright, whatever threats the opponent has; a loss there that met no ko and no
// repetition is a loss under any rule), then with repetitions for the player and the player
// free to retake (a ko the player wins); the answer is win, ko, loss, or unknown when the
// budget ran out first. A ko the attacker wins is searched once more with the lines that pass
// out judged as play would be confirmed (the attacker moving first, no ko retaken at once by
// either side): a ko only the attacker can start, which the defender can never pre-empt, is
// then a win outright ("bent four in the corner is dead").
//
// A move whose sibling was refuted already is first tried against the sibling's refutation
// (simulation): the refuting side answers as it did there, every reply of the other side is
// followed, and where every line reaches a position the table or the rules settle, the move is
// refuted without a search of its own.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "solver/LifeAndDeath.h"

namespace karvena {

struct TSolverBudget {
    int64_t Nodes = 0;        // positions visited, 0 for no bound
    int64_t Milliseconds = 0; // 0 for no bound
    // A moment no search goes past, whatever its own bound (several searches sharing one span
    // of time); none when default.
    std::chrono::steady_clock::time_point Deadline{};
    const std::atomic<bool>* Cancel = nullptr;
    size_t TableBytes = size_t{64} << 20;
};

struct TSolveResult {
    TSolverVerdict Verdict = TSolverVerdict::Unknown;
    int Best = -1;          // the move that reaches the verdict (kNoPoint: pass); -1 for none
    // The line that proves it, from the question's position; for a ko, the other side's
    // resistance that leaves the player nothing better than the ko (retaken at once in it).
    std::vector<int> Line;
    // For a ko: the side that takes it first in the line the player wins it by (the player's
    // own ko when it is the player, one the player must retake when it is the opponent).
    TStone KoTakenFirstBy = TStone::Empty;
    int64_t Nodes = 0;
    int64_t Milliseconds = 0;
};

// "ko, Black takes first" for a ko, else the verdict's name.
std::string VerdictText(const TSolveResult& result);

// The positions proven so far, kept from one search to the next: the moves of one problem,
// solved one after another, read what the others proved. Each question's positions are told
// apart, so any questions may share one. Its size is fixed when made.
class TSolverTable {
public:
    explicit TSolverTable(size_t bytes = size_t{64} << 20);
    ~TSolverTable();
    TSolverTable(const TSolverTable&) = delete;
    TSolverTable& operator=(const TSolverTable&) = delete;

    class TTable;

private:
    friend TSolveResult Solve(const TLifeAndDeath&, const TSolverBudget&, TSolverTable&);
    std::unique_ptr<TTable> m_Table;
};

// The verdict for the player of `problem` (its side to move need not be the player); the
// budget's TableBytes sizes a table of its own, or `table` is used instead.
TSolveResult Solve(const TLifeAndDeath& problem, const TSolverBudget& budget = {});
TSolveResult Solve(const TLifeAndDeath& problem, const TSolverBudget& budget, TSolverTable& table);

// Each move the side to move may play in the region, and the pass, with the verdict for the
// player after it; the budget holds for each move.
struct TJudgedMove {
    int Point = 0;
    TSolverVerdict Verdict = TSolverVerdict::Unknown;
};
std::vector<TJudgedMove> JudgeMoves(const TLifeAndDeath& problem, const TSolverBudget& budget = {});

} // namespace karvena
