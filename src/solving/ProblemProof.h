#pragma once
// A problem's tree checked by the solver: every first move the tree holds is judged and set
// against the tree's mark (a move from which a success can be reached is the tree's correct
// move). A correct move must win (or reach the ko that is the problem's own answer); a wrong one
// must not.
#include <string>
#include <vector>

#include "collection/ProblemStore.h"
#include "solver/Solver.h"
#include "solving/ProblemQuestion.h"

namespace karvena {

enum class TAgreement { Agree, Disagree, Unknown };
const char* AgreementName(TAgreement agreement); // "agree", "disagree", "unknown"

struct TFirstMoveProof {
    std::string Move;          // as the tree writes it
    bool TreeCorrect = false;  // a success can be reached through it
    TSolveResult Solved;       // the verdict for the player after the move, and its line
    TAgreement Agreement = TAgreement::Unknown;
};

struct TProblemProof {
    std::string Error; // why the problem could not be put as a question (or read)
    TProblemQuestion Question;
    bool GoalDerived = false; // the problem states no goal: the tree's answer chose it
    std::vector<TFirstMoveProof> Moves;
    TAgreement Agreement = TAgreement::Unknown;
    int64_t Milliseconds = 0;
};

// Judges the problem's first moves. A problem that states no goal takes the goal the tree fits:
// the goal of the smaller region first, taken at once when every first move agrees with the
// tree; else the one under which the tree's correct first moves win (the wrong ones deciding
// when they win under both); failing that, the one under which the correct moves reach a ko
// and none fails (the tree is then wrong to count a ko as its answer); failing that, where one
// goal is ruled out (the player reaches it by passing, or the answer fails under it) and nothing
// is settled under the other, the other; when neither or both remain, the goal cannot be
// derived (Error).
TProblemProof ProveProblem(const TProblemRow& row, const TSolverBudget& perMove);

// The problem's question under the goal it states, or else under the goal its tree fits, found
// as ProveProblem finds it (each first move judged within `perMove`); its Error says why there
// is none.
TProblemQuestion QuestionUnderItsGoal(const TProblemRow& row, const TSolutionTree& tree,
                                      const TSolverBudget& perMove);

// Writes into `row`'s Result2 the goal its tree fits (kResultDerivedKill …) when the problem
// states none and one is found with `perMove` a first move, so that the trainer has its question
// at once when the problem opens. False, and the row unchanged, otherwise.
bool StoreDerivedGoal(TProblemRow& row, const TSolverBudget& perMove);

// What the solver finds that the tree gets wrong: its correct first moves that fail (or reach
// only a ko it does not ask for), its wrong first moves that work, and the moves of the region
// it lacks that work, each with the solver's line from the move on.
struct TFinding {
    enum TKind { CorrectFails, WrongWorks, LackedWorks } Kind;
    std::string Move;
    TSolveResult Solved;
};
// The findings of a proof; the region's moves the tree lacks are judged within `perMove` each
// (none when the proof has no question).
std::vector<TFinding> FindingsOf(const TProblemProof& proof, const TSolutionTree& tree,
                                 const TSolverBudget& perMove);
// One line of the collection tool's report ("the solver refutes correct first move CC: CC DD").
std::string FindingText(const TFinding& finding);

// The line as move texts joined by blanks, the first move first.
std::string LineText(const std::string& first, const std::vector<int>& line);

} // namespace karvena
