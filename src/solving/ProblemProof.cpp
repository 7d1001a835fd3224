#include "solving/ProblemProof.h"

#include <algorithm>

#include "collection/SolutionBlob.h"

namespace karvena {

const char* AgreementName(TAgreement agreement) {
    switch (agreement) {
    case TAgreement::Agree:
        return "agree";
    case TAgreement::Disagree:
        return "disagree";
    case TAgreement::Unknown:
        return "unknown";
    }
    return "unknown";
}

namespace {

// A correct move wins (or reaches the problem's own ko); a wrong move loses or only reaches a
// ko the problem does not count as its answer.
TAgreement AgreementOf(bool treeCorrect, TSolverVerdict verdict, bool koAnswer) {
    if (verdict == TSolverVerdict::Unknown) return TAgreement::Unknown;
    return ReachesTheGoal(verdict, koAnswer) == treeCorrect ? TAgreement::Agree : TAgreement::Disagree;
}

} // namespace

std::string LineText(const std::string& first, const std::vector<int>& line) {
    std::string text = first;
    for (const int p : line)
        text += " " + SolverPointText(p);
    return text;
}

namespace {

// The tree's first moves, a pass or a move listed twice left out.
std::vector<TFirstMoveProof> FirstMovesOf(const TSolutionTree& tree, int lines) {
    const std::vector<bool> success = tree.SuccessBelowAll();
    std::vector<TFirstMoveProof> moves;
    for (const TNodeId child : tree.Children(tree.Root())) {
        TFirstMoveProof m;
        m.Move = tree.MoveOf(child);
        const bool seen = std::any_of(moves.begin(), moves.end(),
                                      [&](const TFirstMoveProof& o) { return o.Move == m.Move; });
        if (PointOfMove(m.Move, lines) <= 0 || seen) continue;
        m.TreeCorrect = tree.LineEndOf(child) == TLineEnd::Success ||
                        success[static_cast<size_t>(child)];
        moves.push_back(std::move(m));
    }
    return moves;
}

// A problem disagrees where one of its first moves does; it agrees when every move does.
TAgreement AgreementOfAll(const std::vector<TFirstMoveProof>& moves) {
    const auto any = [&](TAgreement a) {
        return std::any_of(moves.begin(), moves.end(), [a](const TFirstMoveProof& m) { return m.Agreement == a; });
    };
    if (any(TAgreement::Disagree)) return TAgreement::Disagree;
    return any(TAgreement::Unknown) || moves.empty() ? TAgreement::Unknown : TAgreement::Agree;
}

// Judges the tree's first moves against `question`, correct ones first; with
// `stopAtAFailingAnswer`, a correct move that fails ends the judging (the goal is not this one).
void JudgeFirstMoves(const TSolutionTree& tree, const TSolverBudget& perMove, TSolverTable& table,
                     bool stopAtAFailingAnswer, TProblemProof& proof) {
    const TLifeAndDeath& question = proof.Question.Question;
    std::vector<TFirstMoveProof> moves = FirstMovesOf(tree, question.Board.Lines());
    const std::vector<TFirstMoveProof> treeOrder = moves;
    std::stable_partition(moves.begin(), moves.end(),
                          [](const TFirstMoveProof& m) { return m.TreeCorrect; });
    for (TFirstMoveProof& judged : moves) {
        TLifeAndDeath after = question;
        if (after.Play(PointOfMove(judged.Move, question.Board.Lines())))
            judged.Solved = Solve(after, perMove, table);
        judged.Agreement = AgreementOf(judged.TreeCorrect, judged.Solved.Verdict, proof.Question.Ko);
        proof.Milliseconds += judged.Solved.Milliseconds;
        const bool answerFails = judged.TreeCorrect && judged.Agreement == TAgreement::Disagree;
        proof.Moves.push_back(std::move(judged));
        if (stopAtAFailingAnswer && answerFails) break;
    }
    // Reported in the tree's order.
    auto rank = [&](const TFirstMoveProof& m) {
        return std::find_if(treeOrder.begin(), treeOrder.end(),
                            [&](const TFirstMoveProof& o) { return o.Move == m.Move; }) -
               treeOrder.begin();
    };
    std::stable_sort(proof.Moves.begin(), proof.Moves.end(),
                     [&](const TFirstMoveProof& a, const TFirstMoveProof& b) { return rank(a) < rank(b); });
    proof.Agreement = AgreementOfAll(proof.Moves);
}

// The moves on which `proof` disagrees with the tree, judged again with the region a point
// further along the edge: a verdict at the rim of the region can be the frame's doing (its stone
// beside a capture on the edge makes a ko that the board does not have). The disagreement
// stands only where the wider question does not settle the move otherwise.
void JudgeDisagreementsAgain(const TProblemRow& row, const TSolutionTree& tree,
                             const TSolverBudget& perMove, TSolverTable& table, TProblemProof& proof) {
    if (proof.Agreement != TAgreement::Disagree) return;
    const TProblemQuestion wider = QuestionOf(row, tree, proof.Question.Question.Goal, true);
    if (!wider.Ok() || wider.Question.Region.size() <= proof.Question.Question.Region.size()) return;
    for (TFirstMoveProof& m : proof.Moves) {
        TLifeAndDeath after = wider.Question;
        if (m.Agreement == TAgreement::Disagree && after.Play(PointOfMove(m.Move, after.Board.Lines()))) {
            const TSolveResult again = Solve(after, perMove, table);
            proof.Milliseconds += again.Milliseconds;
            if (again.Verdict != TSolverVerdict::Unknown) {
                m.Solved = again;
                m.Agreement = AgreementOf(m.TreeCorrect, again.Verdict, proof.Question.Ko);
            }
        }
    }
    proof.Agreement = AgreementOfAll(proof.Moves);
}

// How a goal fits the tree: its correct first moves that work, that fail, and that reach only a
// ko the problem does not ask for; its wrong first moves that work.
struct TFit {
    int CorrectWork = 0, CorrectFail = 0, WrongWork = 0, CorrectKo = 0;
};
TFit FitOf(const TProblemProof& proof) {
    TFit fit;
    for (const TFirstMoveProof& m : proof.Moves) {
        if (m.Solved.Verdict == TSolverVerdict::Unknown) continue;
        const bool disagrees = m.Agreement == TAgreement::Disagree;
        if (m.TreeCorrect && disagrees && m.Solved.Verdict == TSolverVerdict::Ko) ++fit.CorrectKo;
        else if (m.TreeCorrect) (disagrees ? fit.CorrectFail : fit.CorrectWork)++;
        else if (disagrees) ++fit.WrongWork;
    }
    return fit;
}

// True when the player reaches the goal of `question` without a move: passing at the start, it
// still wins (the group to kill is dead already, the group to save alive). Such a goal is no
// question the problem poses, for every move would "work" under it.
bool ReachedWithoutAMove(const TProblemQuestion& question, const TSolverBudget& perMove, TSolverTable& table,
                         int64_t& milliseconds) {
    TLifeAndDeath passed = question.Question;
    if (!passed.Play(TSolverBoard::kNoPoint)) return false;
    const TSolveResult solved = Solve(passed, perMove, table);
    milliseconds += solved.Milliseconds;
    return solved.Verdict == TSolverVerdict::Win;
}

// The tree's first moves judged under the goal the problem states, or else the goal its tree
// fits.
TProblemProof ProveUnderItsGoal(const TProblemRow& row, const TSolutionTree& tree,
                                const TSolverBudget& perMove, TSolverTable& table) {
    TProblemProof proof;
    proof.Question = QuestionOf(row, tree);
    if (proof.Question.Ok()) {
        JudgeFirstMoves(tree, perMove, table, false, proof);
        return proof;
    }
    if (proof.Question.Error != kNoStatedGoal) {
        proof.Error = proof.Question.Error;
        return proof;
    }
    // No stated goal: the one the tree's answer fits. The goal of the smaller region is tried
    // first (the enclosed side is most often the one the problem is about); a goal under which
    // every first move agrees with the tree is taken at once, one under which a correct move
    // fails is left at once.
    std::vector<TProblemProof> candidates(2);
    const TLifeGoal goals[2] = {TLifeGoal::Kill, TLifeGoal::Live};
    for (int i = 0; i < 2; ++i) {
        candidates[static_cast<size_t>(i)].GoalDerived = true;
        candidates[static_cast<size_t>(i)].Question = QuestionOf(row, tree, goals[i]);
    }
    const auto size = [](const TProblemProof& p) {
        return p.Question.Ok() ? p.Question.Question.Region.size() : size_t{100000};
    };
    if (size(candidates[1]) < size(candidates[0])) std::swap(candidates[0], candidates[1]);
    std::vector<TProblemProof> tried, onlyKo, unsettled;
    std::string wrongMovesWinUnder, withoutAMove;
    int ruledOut = 0; // goals the tree cannot mean: reached without a move, or its answer fails
    for (TProblemProof& under : candidates) {
        if (!under.Question.Ok()) continue;
        if (ReachedWithoutAMove(under.Question, perMove, table, under.Milliseconds)) {
            const char* goal = under.Question.Question.Goal == TLifeGoal::Kill ? "killing" : "living";
            withoutAMove += (withoutAMove.empty() ? "" : " and as ") + std::string(goal);
            ++ruledOut;
            continue;
        }
        JudgeFirstMoves(tree, perMove, table, true, under);
        if (under.Agreement == TAgreement::Agree) return std::move(under);
        // The goal is the one under which the correct moves win and the wrong ones lose: one
        // under which a wrong move wins too is not it (the tree would be wrong either way).
        const TFit fit = FitOf(under);
        if (fit.CorrectKo > 0 && fit.CorrectFail == 0) onlyKo.push_back(under);
        if (fit.CorrectFail > 0) ++ruledOut;
        if (fit.CorrectWork == 0 && fit.CorrectFail == 0 && fit.CorrectKo == 0 && fit.WrongWork == 0)
            unsettled.push_back(under);
        if (fit.CorrectWork == 0 || fit.CorrectFail > 0) continue;
        if (fit.WrongWork > 0) {
            const char* goal = under.Question.Question.Goal == TLifeGoal::Kill ? "killing" : "living";
            wrongMovesWinUnder += (wrongMovesWinUnder.empty() ? "" : " or as ") + std::string(goal);
            continue;
        }
        tried.push_back(std::move(under));
    }
    // No goal under which the answer wins, but one under which it reaches a ko and none of it
    // fails: that is the goal, and the tree is wrong to count its answer as a clean one. Every
    // first move is judged under it, to show all that the tree gets wrong.
    if (tried.empty() && onlyKo.size() == 1) {
        TProblemProof under = std::move(onlyKo.front());
        under.Moves.clear();
        under.Milliseconds = 0;
        JudgeFirstMoves(tree, perMove, table, false, under);
        return under;
    }
    // Where one goal is ruled out and the search settles nothing under the other, the problem
    // asks the other: a problem is about killing or living, and the tree cannot mean the first.
    if (tried.empty() && onlyKo.empty() && ruledOut == 1 && unsettled.size() == 1) {
        TProblemProof under = std::move(unsettled.front());
        under.Moves.clear();
        JudgeFirstMoves(tree, perMove, table, false, under);
        return under;
    }
    if (tried.size() != 1) {
        proof.Error =
            tried.size() == 2 ? "the goal cannot be derived: the tree's answer fits killing and "
                                "living alike"
            : !withoutAMove.empty() || !wrongMovesWinUnder.empty()
                ? "the goal cannot be derived: " +
                      (withoutAMove.empty() ? "" : "as " + withoutAMove + ", the goal is reached without a move (a pass wins)") +
                      (withoutAMove.empty() || wrongMovesWinUnder.empty() ? "" : "; ") +
                      (wrongMovesWinUnder.empty() ? "" : "as " + wrongMovesWinUnder +
                                                             ", the tree's correct first moves win but so do wrong ones")
                : "the goal cannot be derived: the tree's correct first moves win neither as "
                  "killing nor as living, within the budget";
        return proof;
    }
    return std::move(tried.front());
}

} // namespace

std::vector<TFinding> FindingsOf(const TProblemProof& proof, const TSolutionTree& tree,
                                 const TSolverBudget& perMove) {
    std::vector<TFinding> findings;
    if (!proof.Error.empty()) return findings;
    for (const TFirstMoveProof& m : proof.Moves)
        if (m.Agreement == TAgreement::Disagree)
            findings.push_back({m.TreeCorrect ? TFinding::CorrectFails : TFinding::WrongWorks, m.Move, m.Solved});
    const TLifeAndDeath& question = proof.Question.Question;
    const int lines = question.Board.Lines();
    std::vector<bool> listed(TSolverBoard::kCells, false);
    for (const TNodeId child : tree.Children(tree.Root()))
        if (const int p = PointOfMove(tree.MoveOf(child), lines); p > 0) listed[static_cast<size_t>(p)] = true;
    TSolverTable table(perMove.TableBytes);
    for (const int p : question.Region) {
        if (question.Board.At(p) != TStone::Empty || listed[static_cast<size_t>(p)]) continue;
        TLifeAndDeath after = question;
        if (!after.Play(p)) continue;
        const TSolveResult solved = Solve(after, perMove, table);
        if (ReachesTheGoal(solved.Verdict, proof.Question.Ko)) findings.push_back({TFinding::LackedWorks, SolverPointText(p), solved});
    }
    return findings;
}

std::string FindingText(const TFinding& finding) {
    const std::string line = LineText(finding.Move, finding.Solved.Line);
    const bool ko = finding.Solved.Verdict == TSolverVerdict::Ko;
    switch (finding.Kind) {
    case TFinding::CorrectFails:
        return "the solver refutes correct first move " + finding.Move + (ko ? " (only a ko)" : "") +
               ": " + line;
    case TFinding::WrongWorks:
        return "the solver finds wrong first move " + finding.Move + " correct: " + line;
    case TFinding::LackedWorks:
        return "the solver finds " + finding.Move + " correct, which the tree lacks: " + line;
    }
    return line;
}

TProblemQuestion QuestionUnderItsGoal(const TProblemRow& row, const TSolutionTree& tree,
                                      const TSolverBudget& perMove) {
    TProblemQuestion stated = QuestionOf(row, tree);
    if (stated.Ok() || stated.Error != kNoStatedGoal) return stated;
    TSolverTable table(perMove.TableBytes);
    TProblemProof proof = ProveUnderItsGoal(row, tree, perMove, table);
    if (!proof.Error.empty()) proof.Question.Error = proof.Error;
    return proof.Question;
}

bool StoreDerivedGoal(TProblemRow& row, const TSolverBudget& perMove) {
    TSolutionTree tree;
    try {
        LoadSolution(tree, row.Solution);
    } catch (const TBlobError&) {
        return false;
    }
    if (tree.Empty()) return false;
    const TProblemQuestion stated = QuestionOf(row, tree);
    if (stated.Error != kNoStatedGoal) return false;
    const TProblemQuestion derived = QuestionUnderItsGoal(row, tree, perMove);
    if (!derived.Ok()) return false;
    row.Result2 = DerivedResult(derived.Question.Goal == TLifeGoal::Kill, derived.Ko);
    return true;
}

TProblemProof ProveProblem(const TProblemRow& row, const TSolverBudget& perMove) {
    TProblemProof proof;
    TSolutionTree tree;
    try {
        LoadSolution(tree, row.Solution);
    } catch (const TBlobError& e) {
        proof.Error = std::string("solution data corrupted: ") + e.what();
        return proof;
    }
    if (tree.Empty()) {
        proof.Error = "no solution tree";
        return proof;
    }
    // One table for the problem: each question's positions are its own in it.
    TSolverTable table(perMove.TableBytes);
    proof = ProveUnderItsGoal(row, tree, perMove, table);
    if (proof.Error.empty()) JudgeDisagreementsAgain(row, tree, perMove, table, proof);
    return proof;
}

} // namespace karvena
