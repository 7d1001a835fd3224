#pragma once
// A problem put to the solver as a question: the position the trainer sets up, the region where
// moves may be played, the target and the player's goal, derived from what the problem says.
//
// The goal is the problem's stated result (it lives, it dies, by ko or not), else what its root
// comment says ("Black to live", "黑先活", "白先杀" …); a problem that says neither has no
// question, and says so. The region is where the attacker's wall encloses the problem (see
// ProblemRegion.h); the empty points just outside it are the attacker's (Frame). The target is the
// defender's chain nearest the tree's first moves (with the chains that share its liberties).
#include <optional>
#include <string>
#include <vector>

#include "board/GoBoard.h"
#include "board/Orientation.h"
#include "collection/ProblemStore.h"
#include "collection/SolutionTree.h"
#include "solver/LifeAndDeath.h"

namespace karvena {

struct TProblemQuestion {
    TLifeAndDeath Question;
    // The empty points just outside the region: the question holds attacker stones there, so
    // that a group can neither escape nor gain liberties outside (the outside is the attacker's).
    std::vector<int> Frame;
    std::string Error; // why the problem cannot be put as a question; empty when it can
    bool Ko = false;   // the problem's own answer is a ko
    // The tree's first moves whose correct line ends on a ko taken (a ko in all but words: a
    // ko verdict there disagrees with a plain "correct", for a reason the tree shows itself).
    std::vector<int> AnswersEndingOnAKo;
    bool Ok() const { return Error.empty(); }
};

// The question of a problem at its start, with `goal` when given, else the goal the problem
// states (an error when it states none: ProveProblem then derives it). With `alongTheEdge` the
// region reaches a point further along the edge, where it ends on the first line: the frame
// then stands further from the problem's stones.
TProblemQuestion QuestionOf(const TProblemRow& row, const TSolutionTree& tree,
                            std::optional<TLifeGoal> goal = std::nullopt, bool alongTheEdge = false);
// True when a move with this verdict reaches the problem's goal: it wins, or reaches the ko
// that is the problem's own answer.
inline bool ReachesTheGoal(TSolverVerdict verdict, bool koIsTheAnswer) {
    return verdict == TSolverVerdict::Win || (verdict == TSolverVerdict::Ko && koIsTheAnswer);
}

// The error text of a problem that states no goal.
extern const char* const kNoStatedGoal;

// The question as the problem is shown turned, mirrored or with its colours swapped: every
// point moved as `orientation` moves it, the attacker's colour swapped with the stones'.
TProblemQuestion Oriented(const TProblemQuestion& start, const TOrientation& orientation);

// The same question asked of the position on `board` (the problem played on from its start, as
// the trainer shows it in the orientation of `start`), with the side to move the board's.
TLifeAndDeath QuestionAt(const TProblemQuestion& start, const TGoBoard& board);

// The solver's point of a move as the trainer writes it ("AB"; SolverPointText is the way
// back): kNoPoint for "TT", -1 for text that is no point of the board.
int PointOfMove(const std::string& move, int lines);

} // namespace karvena
