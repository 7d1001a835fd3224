#pragma once
// TMoveJudge: what the solver says of a move that a problem's tree does not list. It puts the
// problem to the solver once (under the goal the problem states, else the one its tree fits)
// and then judges positions reached from the problem's start: the verdict for the player once
// the player has moved, the solver's line from there (the opponent's answer first), and whether
// the player's goal stands on the board once that answer is played.
//
// Everything is in the problem's stored orientation: moves are written as the tree writes them.
// A judge is used by one thread at a time; the solve loop hands it to a worker.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "collection/ProblemStore.h"
#include "solver/Solver.h"
#include "solving/ProblemQuestion.h"

namespace karvena {

struct TJudgement {
    TSolverVerdict Verdict = TSolverVerdict::Unknown; // for the player, after the player's move
    // The solver's line from the judged position, two letters a move ("TT" a pass): the
    // opponent's answer first, then the player's best move, and so on.
    std::string Line;
    // The player's goal is reached once the line's first move is played (at once when the line
    // is empty or the opponent can only pass): the target is taken, or it lives for good.
    bool Ends = false;
    // For a ko: the player takes it first (the opponent needs a threat to take it back), or
    // the opponent does (the player needs one).
    bool PlayerTakesTheKoFirst = false;
    friend bool operator==(const TJudgement&, const TJudgement&) = default;
};

// The opponent's answer of a judgement ("" for none), and the player's best move after it.
std::string AnswerOf(const TJudgement& judgement);
std::string BestMoveAfterAnswer(const TJudgement& judgement);

// The goal a judge works under, as the history keeps it for a problem: found (kill or live),
// or known to be underivable.
enum class TJudgeGoal { Kill = 0, Live = 1, None = 2 };

class TMoveJudge {
public:
    // `row` is the problem as stored; its tree is read from it.
    explicit TMoveJudge(const TProblemRow& row);
    ~TMoveJudge();
    TMoveJudge(const TMoveJudge&) = delete;
    TMoveJudge& operator=(const TMoveJudge&) = delete;

    // A goal found before (kept in the history), so it is not looked for again.
    void SetKnownGoal(TJudgeGoal goal) { m_KnownGoal = goal; }
    // The goal the judge worked under, once it has judged (or was told).
    std::optional<TJudgeGoal> Goal() const { return m_KnownGoal; }
    // The problem's own answer is a ko: a move that reaches the ko then works.
    bool KoIsTheAnswer() const { return m_KoAnswer; }

    // The position after `moves` (from the problem's start, both sides in turn, the player's
    // last), judged within `budget`; the goal is looked for first when the problem states none
    // (its tree's first moves judged within half the time each). Unknown when the goal cannot
    // be derived, the moves cannot be played, or the budget ran out.
    TJudgement Judge(const std::vector<std::string>& moves, const TSolverBudget& budget);
    // Why the last Judge said unknown before searching ("" when it searched).
    const std::string& Why() const { return m_Why; }
    // Puts the problem to the solver ahead of the first judgement (the goal looked for, as
    // Judge would); false when it has no question.
    bool Prepare(const TSolverBudget& budget);

private:
    // The question at the position after `moves`, or nothing when they cannot be played.
    std::optional<TLifeAndDeath> After(const std::vector<std::string>& moves) const;
    // The player's goal holds on `q`'s board: the target taken or dead (kill), alive (live).
    static bool GoalReached(const TLifeAndDeath& q);

    TProblemRow m_Row;
    bool m_KoAnswer = false; // read when made: the window asks it while a worker prepares
    std::optional<TJudgeGoal> m_KnownGoal;
    std::optional<TProblemQuestion> m_Question;
    std::unique_ptr<TSolverTable> m_Table;
    std::string m_Why;
};

// Runs a judge for the solve loop: the window on a worker thread, the headless play at once.
// `done` is called on the thread that called Start, never for a judgement cancelled before it
// was reported.
class ISolverRunner {
public:
    virtual ~ISolverRunner() = default;
    // Puts a newly loaded problem to the solver while the player thinks (a judgement of the
    // same judge then waits for it instead of starting over); `done` as for Start. A runner
    // may leave it to the first judgement.
    virtual void Prepare(std::shared_ptr<TMoveJudge> /*judge*/, TSolverBudget /*budget*/,
                         std::function<void()> /*done*/) {}
    virtual void Start(std::shared_ptr<TMoveJudge> judge, std::vector<std::string> moves,
                       TSolverBudget budget, std::function<void(const TJudgement&)> done) = 0;
    virtual void Cancel() = 0;
};

// Judges at once, on the caller's thread.
class TImmediateRunner : public ISolverRunner {
public:
    void Start(std::shared_ptr<TMoveJudge> judge, std::vector<std::string> moves,
               TSolverBudget budget, std::function<void(const TJudgement&)> done) override {
        done(judge->Judge(moves, budget));
    }
    void Cancel() override {}
};

} // namespace karvena
