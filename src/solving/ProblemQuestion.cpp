#include "solving/ProblemQuestion.h"

#include <algorithm>
#include <cstdlib>

#include "collection/ProblemComments.h"
#include "collection/SgfMarks.h"
#include "solving/ProblemRegion.h"
#include "solving/SolveLoop.h"

namespace karvena {

namespace {

TStone StoneOfSide(int side) { return side > 0 ? TStone::Black : TStone::White; }

// The stones a trainer's board shows.
TSolverBoard StonesOf(const TGoBoard& board, int lines) {
    TSolverBoard stones(lines);
    for (int x = 1; x <= lines; ++x)
        for (int y = 1; y <= lines; ++y) {
            const int8_t cell = board.GetCell(x, y);
            if (IsStone(cell)) stones.Set(TSolverBoard::PointOf(x, y), StoneOfSide(cell));
        }
    return stones;
}

// The player's goal: the stated result first, then the root comment's words.
bool GoalOfProblem(const TProblemRow& row, TStone player, TProblemQuestion& out) {
    int result = row.Result2.value_or(-1);
    const std::string root = DecodeComments(row.Comments).Root;
    // A ko without a stated goal: the goal is the comment's, or the one the tree fits.
    if (result == kResultKoGoalUnstated) {
        out.Ko = true;
        result = -1;
    }
    // A goal derived when the collection was built stands where the root comment says none.
    if (result >= kResultDerivedKill && result <= kResultDerivedKoLive) {
        const TGoal said = GoalOf(root, player == TStone::Black ? 'B' : 'W');
        const bool kill = said.Known ? said.Kill : DerivedKill(result);
        out.Question.Goal = kill ? TLifeGoal::Kill : TLifeGoal::Live;
        out.Ko = result >= kResultDerivedKoKill;
        return true;
    }
    if (result < 0 || result > 3) result = StatedResult(root);
    if (result >= 0 && result <= 3) {
        out.Question.Goal = result == 0 || result == 2 ? TLifeGoal::Kill : TLifeGoal::Live;
        out.Ko = result >= 2;
        return true;
    }
    const TGoal goal = GoalOf(root, player == TStone::Black ? 'B' : 'W');
    if (!goal.Known) return false;
    out.Question.Goal = goal.Kill ? TLifeGoal::Kill : TLifeGoal::Live;
    return true;
}

// The target: the defender's chain of the region that the tree's first moves are about (the
// largest within two lines of one, else the nearest; the largest where the tree has no moves), and
// every chain of the region that shares a liberty with it, or with one that does (the group,
// which may give up a part to live). A larger chain further off is another group.
std::vector<int> TargetGroup(const TSolverBoard& board, const std::vector<int>& region,
                             TStone defender, const std::vector<int>& firstMoves) {
    const auto distance = [&](const std::vector<int>& chain) {
        int nearest = 1 << 20;
        for (const int s : chain)
            for (const int m : firstMoves)
                nearest = std::min(nearest, std::abs(TSolverBoard::XOf(s) - TSolverBoard::XOf(m)) +
                                                std::abs(TSolverBoard::YOf(s) - TSolverBoard::YOf(m)));
        return nearest;
    };
    // Chains within two lines of a first move are all near enough: the largest of them. Where
    // none is that near, the nearest.
    constexpr int kNear = 2;
    std::vector<int> target;
    int targetDistance = 1 << 20;
    for (const int p : region) {
        if (board.At(p) != defender) continue;
        std::vector<int> chain = board.ChainOf(p);
        const int d = std::max(distance(chain), kNear);
        if (d < targetDistance || (d == targetDistance && chain.size() > target.size())) {
            target = std::move(chain);
            targetDistance = d;
        }
    }
    std::vector<bool> inTarget(TSolverBoard::kCells, false);
    for (const int p : target)
        inTarget[static_cast<size_t>(p)] = true;
    auto sharesALiberty = [&](const std::vector<int>& chain) {
        for (const int s : chain)
            for (const int d : TSolverBoard::kDirections) {
                const int l = s + d;
                if (board.At(l) != TStone::Empty) continue;
                for (const int e : TSolverBoard::kDirections)
                    if (inTarget[static_cast<size_t>(l + e)]) return true;
            }
        return false;
    };
    for (bool grown = !target.empty(); grown;) {
        grown = false;
        for (const int p : region) {
            if (board.At(p) != defender || inTarget[static_cast<size_t>(p)]) continue;
            const std::vector<int> chain = board.ChainOf(p);
            if (!sharesALiberty(chain)) continue;
            for (const int s : chain) {
                inTarget[static_cast<size_t>(s)] = true;
                target.push_back(s);
            }
            grown = true;
        }
    }
    return target;
}

// The tree's correct first moves, or all of its first moves where none is marked correct.
std::vector<int> FirstMovePoints(const TSolutionTree& tree, int lines) {
    std::vector<int> firstMoves, correctFirstMoves;
    if (tree.Empty()) return firstMoves;
    const std::vector<TNodeId> correct = CorrectFirstMoves(tree);
    for (const TNodeId child : tree.Children(tree.Root())) {
        const int p = PointOfMove(tree.MoveOf(child), lines);
        if (p <= 0) continue;
        firstMoves.push_back(p);
        if (std::count(correct.begin(), correct.end(), child)) correctFirstMoves.push_back(p);
    }
    return correctFirstMoves.empty() ? firstMoves : correctFirstMoves;
}

// The first moves of the tree's lines that end "correct" on a ko taken: the line's last move
// captured one stone that may not be retaken at once. Such an answer is a ko whatever its
// comment says. A hostile tree costs a bounded time: so many lines, so deep, are read at most.
std::vector<int> AnswersEndingOnAKo(const TSolverBoard& start, TStone toMove, const TSolutionTree& tree) {
    constexpr int kMostLines = 256;
    constexpr size_t kDeepest = 400;
    std::vector<int> firstMoves;
    const int lines = start.Lines();
    int read = 0;
    for (TNodeId end = 0; end < tree.Size() && read < kMostLines; ++end) {
        if (tree.LineEndOf(end) != TLineEnd::Success) continue;
        ++read;
        std::vector<TNodeId> line;
        TNodeId n = end;
        for (; n != kNoNode && n != tree.Root() && line.size() <= kDeepest; n = tree.Parent(n))
            line.push_back(n);
        if (n != tree.Root()) continue;
        TSolverBoard board = start;
        TStone side = toMove;
        bool played = true;
        for (auto it = line.rbegin(); it != line.rend() && played; ++it, side = Other(side)) {
            const int p = PointOfMove(tree.MoveOf(*it), lines);
            if (p == TSolverBoard::kNoPoint) board.Pass();
            else played = p > 0 && board.Play(p, side);
        }
        const int first = PointOfMove(tree.MoveOf(line.back()), lines);
        if (played && first > 0 && board.KoPoint() != TSolverBoard::kNoPoint &&
            std::find(firstMoves.begin(), firstMoves.end(), first) == firstMoves.end())
            firstMoves.push_back(first);
    }
    return firstMoves;
}

} // namespace

int PointOfMove(const std::string& move, int lines) {
    if (move == "TT") return TSolverBoard::kNoPoint;
    if (move.size() != 2) return -1;
    const int x = LetterToCoord(move[0]), y = LetterToCoord(move[1]);
    if (x < 1 || y < 1 || x > lines || y > lines) return -1;
    return TSolverBoard::PointOf(x, y);
}

const char* const kNoStatedGoal =
    "the goal cannot be derived: the problem states no result and its comment names no goal";

TProblemQuestion QuestionOf(const TProblemRow& row, const TSolutionTree& tree,
                            std::optional<TLifeGoal> goal, bool alongTheEdge) {
    TProblemQuestion out;
    TLifeAndDeath& q = out.Question;
    const int lines = row.BoardSize >= 7 && row.BoardSize <= 19 ? row.BoardSize : 19;
    TGoBoard board;
    board.SetGoLines(lines);
    const char firstToPlay = (row.FirstToPlay + "B")[0];
    SetUpPosition(board, row.ArrangedBlack, row.ArrangedWhite, row.Initial, firstToPlay);
    q.Board = StonesOf(board, lines);
    q.ToMove = StoneOfSide(SolverSideOf(firstToPlay, row.Initial));
    if (goal) {
        q.Goal = *goal;
        GoalOfProblem(row, q.ToMove, out); // whether the answer is a ko, when it says
        q.Goal = *goal;
    } else if (!GoalOfProblem(row, q.ToMove, out)) {
        out.Error = kNoStatedGoal;
        return out;
    }
    q.Attacker = q.Goal == TLifeGoal::Kill ? q.ToMove : Other(q.ToMove);
    const TStone defender = q.Defender();
    out.AnswersEndingOnAKo = AnswersEndingOnAKo(q.Board, q.ToMove, tree);

    // The tree's correct first moves say what the problem is about (its wrong ones may be
    // anywhere); without any, all of its first moves.
    const std::vector<int> firstMoves = FirstMovePoints(tree, lines);

    TProblemRegion region = RegionOf(q.Board, q.Attacker, q.ToMove, tree, firstMoves, alongTheEdge);
    if (!region.Error.empty()) {
        out.Error = region.Error;
        return out;
    }
    q.Region = std::move(region.Points);
    q.Preferred = std::move(region.TreePoints);
    q.Open = std::move(region.Open);
    q.Beyond = std::move(region.Beyond);
    out.Frame = std::move(region.Frame);
    for (const int p : out.Frame)
        q.Board.Set(p, q.Attacker);
    q.Target = TargetGroup(q.Board, q.Region, defender, firstMoves);
    std::sort(q.Target.begin(), q.Target.end());
    if (q.Target.empty())
        out.Error = "no stone of the side to be killed or saved lies in the problem's region";
    return out;
}

TProblemQuestion Oriented(const TProblemQuestion& start, const TOrientation& orientation) {
    TProblemQuestion out = start;
    TLifeAndDeath& q = out.Question;
    const int lines = start.Question.Board.Lines();
    const auto move = [&](int point) {
        const TPoint shown =
            orientation.Apply(TPoint{TSolverBoard::XOf(point), TSolverBoard::YOf(point)});
        return TSolverBoard::PointOf(shown.P, shown.Q);
    };
    const auto colour = [&](TStone stone) {
        return orientation.SwapsColours() && stone != TStone::Empty ? Other(stone) : stone;
    };
    const auto moveAll = [&](std::vector<int>& points) {
        for (int& p : points)
            p = move(p);
        std::sort(points.begin(), points.end());
    };
    q.Board = TSolverBoard(lines);
    for (int x = 1; x <= lines; ++x)
        for (int y = 1; y <= lines; ++y) {
            const int p = TSolverBoard::PointOf(x, y);
            q.Board.Set(move(p), colour(start.Question.Board.At(p)));
        }
    q.Attacker = colour(q.Attacker);
    q.ToMove = colour(q.ToMove);
    moveAll(q.Region);
    moveAll(q.Target);
    moveAll(q.Preferred);
    moveAll(out.Frame);
    moveAll(q.Open);
    moveAll(q.Beyond);
    moveAll(out.AnswersEndingOnAKo);
    return out;
}

TLifeAndDeath QuestionAt(const TProblemQuestion& start, const TGoBoard& board) {
    TLifeAndDeath q = start.Question;
    q.Board = StonesOf(board, start.Question.Board.Lines());
    for (const int p : start.Frame)
        if (q.Board.At(p) == TStone::Empty) q.Board.Set(p, q.Attacker);
    q.ToMove = StoneOfSide(board.Turn());
    q.Passes = 0;
    return q;
}

} // namespace karvena
