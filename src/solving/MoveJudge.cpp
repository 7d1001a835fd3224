#include "solving/MoveJudge.h"

#include <chrono>

#include "collection/SolutionBlob.h"
#include "solving/ProblemProof.h"

namespace karvena {

namespace {

// The table a judge keeps for its problem: the positions of one move help with the next.
constexpr size_t kJudgeTableBytes = size_t{32} << 20;

} // namespace

std::string AnswerOf(const TJudgement& judgement) {
    return judgement.Line.substr(0, 2);
}

std::string BestMoveAfterAnswer(const TJudgement& judgement) {
    return judgement.Line.size() >= 4 ? judgement.Line.substr(2, 2) : "";
}

namespace {

TSolutionTree TreeOf(const TProblemRow& row) {
    TSolutionTree tree;
    try {
        LoadSolution(tree, row.Solution);
    } catch (const TBlobError&) {
        // What was read stays: the region is drawn from the moves that are there.
    }
    return tree;
}

} // namespace

TMoveJudge::TMoveJudge(const TProblemRow& row)
    : m_Row(row), m_KoAnswer(QuestionOf(row, TreeOf(row), TLifeGoal::Kill).Ko) {}
TMoveJudge::~TMoveJudge() = default;

bool TMoveJudge::Prepare(const TSolverBudget& budget) {
    if (m_Question) return m_Question->Ok();
    const TSolutionTree tree = TreeOf(m_Row);
    // The goal the problem states, or the one found for it ahead, comes before any kept one.
    if (TProblemQuestion stated = QuestionOf(m_Row, tree); stated.Ok() || stated.Error != kNoStatedGoal) {
        m_Question = std::move(stated);
    } else if (m_KnownGoal == TJudgeGoal::None) {
        m_Question.emplace();
        m_Question->Error = "the goal cannot be derived";
    } else if (m_KnownGoal) {
        m_Question = QuestionOf(m_Row, tree,
                                *m_KnownGoal == TJudgeGoal::Kill ? TLifeGoal::Kill : TLifeGoal::Live);
    } else {
        // Each first move of the tree within half a judgement's time, and all of them within
        // half a judgement too: the player is waiting, and many problems have ten first moves
        // under two goals. (The bundled problems have their goals found when they were built.)
        TSolverBudget perMove = budget;
        perMove.Milliseconds = (budget.Milliseconds + 1) / 2;
        perMove.TableBytes = kJudgeTableBytes;
        if (budget.Milliseconds > 0) {
            const auto cap = std::chrono::steady_clock::now() + std::chrono::milliseconds(perMove.Milliseconds);
            if (perMove.Deadline == std::chrono::steady_clock::time_point{} || cap < perMove.Deadline)
                perMove.Deadline = cap;
        }
        m_Question = QuestionUnderItsGoal(m_Row, tree, perMove);
        // A search cut short says nothing of the goal: it is looked for again next time.
        if (budget.Cancel && budget.Cancel->load()) {
            m_Question.reset();
            m_Why = "cancelled";
            return false;
        }
        const bool outOfTime = perMove.Deadline != std::chrono::steady_clock::time_point{} &&
                               std::chrono::steady_clock::now() >= perMove.Deadline;
        if (!m_Question->Ok() && outOfTime) {
            m_Question.reset();
            m_Why = "the goal was not found in time";
            return false;
        }
        if (m_Question->Ok())
            m_KnownGoal = m_Question->Question.Goal == TLifeGoal::Kill ? TJudgeGoal::Kill : TJudgeGoal::Live;
        else if (m_Question->Error.rfind("the goal cannot be derived", 0) == 0)
            m_KnownGoal = TJudgeGoal::None;
    }
    if (!m_Question->Ok()) m_Why = m_Question->Error;
    return m_Question->Ok();
}

std::optional<TLifeAndDeath> TMoveJudge::After(const std::vector<std::string>& moves) const {
    TLifeAndDeath q = m_Question->Question;
    // The frame stands only around the position reached: a move may have been played on it.
    for (const int p : m_Question->Frame)
        q.Board.Set(p, TStone::Empty);
    for (const std::string& move : moves) {
        const int point = PointOfMove(move, q.Board.Lines());
        if (point < 0 || !q.Play(point)) return std::nullopt;
    }
    for (const int p : m_Question->Frame)
        if (q.Board.At(p) == TStone::Empty) q.Board.Set(p, q.Attacker);
    q.Passes = 0;
    return q;
}

bool TMoveJudge::GoalReached(const TLifeAndDeath& q) {
    const std::vector<bool> inRegion = q.RegionMask();
    const bool attackerToMove = q.ToMove == q.Attacker;
    if (q.Goal == TLifeGoal::Kill)
        return q.TargetCaptured(q.Board) || q.TargetDead(q.Board, inRegion, attackerToMove);
    return !q.TargetCaptured(q.Board) &&
           (q.TargetAlive(q.Board, inRegion) ||
            q.TargetLivesByItsEyeSpace(q.Board, inRegion, attackerToMove));
}

TJudgement TMoveJudge::Judge(const std::vector<std::string>& moves, const TSolverBudget& budget) {
    m_Why.clear();
    TJudgement judgement;
    if (!Prepare(budget)) return judgement;
    std::optional<TLifeAndDeath> position = After(moves);
    if (!position) {
        m_Why = "the moves cannot be played";
        return judgement;
    }
    if (!m_Table) m_Table = std::make_unique<TSolverTable>(kJudgeTableBytes);
    const TSolveResult solved = Solve(*position, budget, *m_Table);
    judgement.Verdict = solved.Verdict;
    judgement.PlayerTakesTheKoFirst = solved.KoTakenFirstBy == position->Player();
    for (const int p : solved.Line)
        judgement.Line += SolverPointText(p);
    if (solved.Verdict != TSolverVerdict::Unknown) {
        TLifeAndDeath answered = *position;
        const bool passes = solved.Line.empty() || solved.Line.front() == TSolverBoard::kNoPoint;
        judgement.Ends = passes || (answered.Play(solved.Line.front()) && GoalReached(answered));
        if (solved.Verdict != TSolverVerdict::Win) judgement.Ends = false;
    }
    return judgement;
}

} // namespace karvena
