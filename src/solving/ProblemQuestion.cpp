#include "solving/ProblemQuestion.h"

#include <algorithm>
#include <cstdlib>

#include "collection/ProblemComments.h"
#include "collection/SgfMarks.h"
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

// The defender's stones the problem is about: its chains within two lines of a tree's move,
// and the chains within two lines of those in turn. A stone far from all of them stands
// elsewhere on the board (another corner, a ladder breaker) and is no part of the question.
// Without moves every defender stone counts.
std::vector<int> DefenderStonesNear(const TSolverBoard& board, const std::vector<int>& moves,
                                    TStone defender) {
    constexpr int kNear = 2;
    std::vector<int> all, found;
    for (int p = 0; p < TSolverBoard::kCells; ++p)
        if (board.At(p) == defender) all.push_back(p);
    if (moves.empty()) return all;
    auto within = [](int a, int b) {
        return std::abs(TSolverBoard::XOf(a) - TSolverBoard::XOf(b)) <= kNear &&
               std::abs(TSolverBoard::YOf(a) - TSolverBoard::YOf(b)) <= kNear;
    };
    std::vector<bool> taken(TSolverBoard::kCells, false);
    std::vector<int> anchors = moves;
    for (size_t i = 0; i < anchors.size(); ++i)
        for (const int p : all) {
            if (taken[static_cast<size_t>(p)] || !within(anchors[i], p)) continue;
            for (const int s : board.ChainOf(p)) {
                taken[static_cast<size_t>(s)] = true;
                found.push_back(s);
                anchors.push_back(s);
            }
        }
    return found;
}

// True when the empty point `p` lies in a gap of the attacker's wall that one move closes: between
// two of its stones a point apart in a line, between one and the edge (a stone on the second line
// closes the first line below it: crawling there is no way out), or between two of its chains a
// knight's move apart.
bool InAGapOfTheWall(const TSolverBoard& board, TStone attacker, int p) {
    for (const int d : {1, TSolverBoard::kStride})
        if (board.At(p - d) == attacker && board.At(p + d) == attacker) return true;
    for (const int d : TSolverBoard::kDirections)
        if (!board.OnBoard(p - d) && board.At(p + d) == attacker) return true;
    // A wall is made of chains: a lone stone a knight's move from another may be cut off.
    const auto wall = [&](int q) {
        if (board.At(q) != attacker) return false;
        for (const int d : TSolverBoard::kDirections)
            if (board.At(q + d) == attacker) return true;
        return false;
    };
    // A knight's move is a gap of two points, this and its twin beside it; a defender's stone on
    // the twin has cut it open already.
    const auto openTwin = [&](int twin) { return board.At(twin) == TStone::Empty || board.At(twin) == attacker; };
    for (const int d : TSolverBoard::kDirections) {
        const int side = d == 1 || d == -1 ? TSolverBoard::kStride : 1;
        if (!wall(p + d)) continue;
        for (const int s : {side, -side})
            if (wall(p - d + s) && openTwin(p + s)) return true;
    }
    return false;
}

// The area the attacker's wall and the edge enclose around `defenderStones`: every point reached
// from them without crossing an attacker's stone or a gap of its wall, and the gaps beside it with
// the points just beyond (a move there is part of the problem; further on the wall closes). A gap that leads back into an
// enclosed space (between the attacker's stones inside the defender's area, say) is no gap: that
// space joins the area. False, and nothing filled, where the area reaches past `inBox`: the
// problem is open there.
template <typename TInBox>
bool EnclosedArea(const TSolverBoard& board, TStone attacker, const std::vector<int>& defenderStones,
                  TInBox inBox, std::vector<bool>& reached, std::vector<int>& region) {
    std::vector<bool> seen(TSolverBoard::kCells, false);
    std::vector<int> area, gaps;
    // Floods from area[from] on, each new point a gap or the area's; false when it leaves the box.
    const auto flood = [&](size_t from, bool stopAtGaps) {
        for (size_t i = from; i < area.size(); ++i)
            for (const int d : TSolverBoard::kDirections) {
                const int n = area[i] + d;
                if (!board.OnBoard(n) || seen[static_cast<size_t>(n)] || board.At(n) == attacker) continue;
                if (!inBox(n)) return false;
                seen[static_cast<size_t>(n)] = true;
                const bool gap = stopAtGaps && board.At(n) == TStone::Empty && InAGapOfTheWall(board, attacker, n);
                (gap ? gaps : area).push_back(n);
            }
        return true;
    };
    for (const int seed : defenderStones) {
        if (seen[static_cast<size_t>(seed)]) continue;
        seen[static_cast<size_t>(seed)] = true;
        area.push_back(seed);
        if (!flood(area.size() - 1, true)) return false;
    }
    // What lies beyond each gap: an enclosed space joins the area, the gap with it.
    std::vector<int> wallGaps;
    for (size_t g = 0; g < gaps.size(); ++g) {
        const int gap = gaps[g];
        if (std::find(area.begin(), area.end(), gap) != area.end()) continue;
        const size_t areaBefore = area.size(), gapsBefore = gaps.size();
        const std::vector<bool> seenBefore = seen;
        area.push_back(gap);
        if (flood(areaBefore, false)) continue;
        area.resize(areaBefore);
        gaps.resize(gapsBefore);
        seen = seenBefore;
        wallGaps.push_back(gap);
    }
    // The wall closes a point beyond its gap: a stone played in the gap keeps the liberty it has
    // there (the attacker's stone at once beside it would make a ko the board does not have). On
    // the edge it closes at the gap: the first line beyond the wall is the attacker's.
    std::vector<bool> inArea(TSolverBoard::kCells, false);
    for (const int p : area)
        inArea[static_cast<size_t>(p)] = true;
    for (const int gap : wallGaps) {
        area.push_back(gap);
        inArea[static_cast<size_t>(gap)] = true;
    }
    const auto onTheEdge = [&](int p) {
        return std::any_of(std::begin(TSolverBoard::kDirections), std::end(TSolverBoard::kDirections),
                           [&](int d) { return !board.OnBoard(p + d); });
    };
    for (const int gap : wallGaps)
        for (const int d : TSolverBoard::kDirections) {
            if (onTheEdge(gap)) break;
            const int n = gap + d;
            if (!board.OnBoard(n) || inArea[static_cast<size_t>(n)] || board.At(n) != TStone::Empty) continue;
            inArea[static_cast<size_t>(n)] = true;
            area.push_back(n);
        }
    for (const int p : area) {
        reached[static_cast<size_t>(p)] = true;
        region.push_back(p);
    }
    return true;
}

// The defender's stones whose area the problem asks about: every one but those standing in an open
// area (one that reaches past `inBox` without crossing the attacker's stones or a gap of its wall)
// that holds none of `keyPoints` nor touches one, and touches no wall chain short of liberties.
// Such a stone is the defender's on the far side of a safe wall: no part of the problem.
// Where no area holds a key point, all of them.
template <typename TInBox>
std::vector<int> StonesTheProblemIsAbout(const TSolverBoard& board, TStone attacker,
                                         const std::vector<int>& defenderStones,
                                         const std::vector<int>& keyPoints, TInBox inBox) {
    std::vector<int> component(TSolverBoard::kCells, -1);
    std::vector<bool> open, holdsAKey;
    std::vector<int> area;
    for (const int seed : defenderStones) {
        if (component[static_cast<size_t>(seed)] >= 0) continue;
        const int id = static_cast<int>(open.size());
        open.push_back(false);
        holdsAKey.push_back(false);
        area.assign(1, seed);
        component[static_cast<size_t>(seed)] = id;
        for (size_t i = 0; i < area.size(); ++i)
            for (const int d : TSolverBoard::kDirections) {
                const int n = area[i] + d;
                if (!board.OnBoard(n) || component[static_cast<size_t>(n)] >= 0 || board.At(n) == attacker)
                    continue;
                if (!inBox(n)) {
                    open[static_cast<size_t>(id)] = true;
                    continue;
                }
                component[static_cast<size_t>(n)] = id;
                if (board.At(n) == TStone::Empty && InAGapOfTheWall(board, attacker, n)) continue;
                area.push_back(n);
            }
    }
    for (const int key : keyPoints)
        for (const int d : {0, 1, -1, TSolverBoard::kStride, -TSolverBoard::kStride}) {
            const int n = key + d;
            if (board.OnBoard(n) && component[static_cast<size_t>(n)] >= 0)
                holdsAKey[static_cast<size_t>(component[static_cast<size_t>(n)])] = true;
        }
    if (std::none_of(holdsAKey.begin(), holdsAKey.end(), [](bool b) { return b; })) return defenderStones;
    // Stones beside a wall chain short of liberties stay: they may take it.
    for (const int s : defenderStones)
        for (const int d : TSolverBoard::kDirections)
            if (board.At(s + d) == attacker && board.Liberties(s + d, 3) <= 2)
                holdsAKey[static_cast<size_t>(component[static_cast<size_t>(s)])] = true;
    std::vector<int> kept;
    for (const int s : defenderStones) {
        const int id = component[static_cast<size_t>(s)];
        if (!open[static_cast<size_t>(id)] || holdsAKey[static_cast<size_t>(id)]) kept.push_back(s);
    }
    return kept;
}

// The attacker's stones on `board` whose chain a line of `tree` puts in atari or takes: a
// defender's move beside it while it has two liberties or fewer. Such a chain is no safe wall.
std::vector<bool> AttackedByTheTree(TSolverBoard board, const TSolutionTree& tree, TStone toMove,
                                    TStone attacker) {
    std::vector<bool> attacked(TSolverBoard::kCells, false);
    const std::vector<bool> atTheStart = [&] {
        std::vector<bool> stones(TSolverBoard::kCells, false);
        for (int p = 0; p < TSolverBoard::kCells; ++p)
            stones[static_cast<size_t>(p)] = board.At(p) == attacker;
        return stones;
    }();
    for (TNodeId n = tree.Empty() ? kNoNode : tree.FirstChild(tree.Root()); n != kNoNode;
         n = tree.NextInDepthFirst(n)) {
        const int level = tree.Level(n);
        if (level <= 0) break;
        while (board.Depth() >= level)
            board.Undo();
        const TStone side = level % 2 == 1 ? toMove : Other(toMove);
        const int p = PointOfMove(tree.MoveOf(n), board.Lines());
        if (p > 0 && side != attacker && board.At(p) == TStone::Empty)
            for (const int d : TSolverBoard::kDirections)
                if (board.At(p + d) == attacker && board.Liberties(p + d, 3) <= 2)
                    for (const int s : board.ChainOf(p + d))
                        if (atTheStart[static_cast<size_t>(s)]) attacked[static_cast<size_t>(s)] = true;
        if (p <= 0 || !board.Play(p, side, true)) board.Pass();
    }
    return attacked;
}

// Where the region stops short of empty points that the defender's own stones and the edge close
// off (the far end of a corner behind a solid wall, the empty 1-1 point), those points belong to
// it: the frame must never put attacker stones inside the defender's space. A pocket is the
// empty points reached from a point beside the region; it joins when it closes within `largest`
// points and no attacker's stone touches it (that would make it the attacker's side, or a way
// out); an open one stays outside.
void AddEnclosedPockets(const TSolverBoard& board, TStone attacker, std::vector<bool>& reached,
                        std::vector<int>& region, size_t largest) {
    std::vector<bool> tried(TSolverBoard::kCells, false);
    std::vector<int> pocket;
    for (size_t i = 0; i < region.size(); ++i)
        for (const int d : TSolverBoard::kDirections) {
            const int start = region[i] + d;
            if (!board.OnBoard(start) || reached[static_cast<size_t>(start)] ||
                tried[static_cast<size_t>(start)] || board.At(start) != TStone::Empty)
                continue;
            // The whole empty area is filled, so that no later start sees only a part of it.
            pocket.assign(1, start);
            tried[static_cast<size_t>(start)] = true;
            bool touchesAttacker = false;
            for (size_t j = 0; j < pocket.size(); ++j)
                for (const int e : TSolverBoard::kDirections) {
                    const int n = pocket[j] + e;
                    touchesAttacker = touchesAttacker || board.At(n) == attacker;
                    if (!board.OnBoard(n) || reached[static_cast<size_t>(n)] ||
                        tried[static_cast<size_t>(n)] || board.At(n) != TStone::Empty)
                        continue;
                    tried[static_cast<size_t>(n)] = true;
                    pocket.push_back(n);
                }
            const bool closed = !touchesAttacker && pocket.size() <= largest;
            if (!closed) continue;
            for (const int p : pocket) {
                reached[static_cast<size_t>(p)] = true;
                region.push_back(p);
            }
        }
}

// The tree's correct first moves, or all of its first moves where none is marked correct.
std::vector<int> FirstMovePoints(const TSolutionTree& tree, int lines) {
    std::vector<int> firstMoves, correctFirstMoves;
    if (tree.Empty()) return firstMoves;
    const std::vector<bool> success = tree.SuccessBelowAll();
    for (const TNodeId child : tree.Children(tree.Root())) {
        const int p = PointOfMove(tree.MoveOf(child), lines);
        if (p <= 0) continue;
        firstMoves.push_back(p);
        if (tree.LineEndOf(child) == TLineEnd::Success || success[static_cast<size_t>(child)])
            correctFirstMoves.push_back(p);
    }
    return correctFirstMoves.empty() ? firstMoves : correctFirstMoves;
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

    // The tree's correct first moves say what the problem is about (its wrong ones may be
    // anywhere); without any, all of its first moves.
    const std::vector<int> firstMoves = FirstMovePoints(tree, lines);

    // The tree's points and the box of everything the problem shows, one line wider.
    std::vector<int> moves;
    for (TNodeId n = tree.Empty() ? kNoNode : tree.FirstChild(tree.Root()); n != kNoNode;
         n = tree.NextInDepthFirst(n)) {
        if (tree.Level(n) <= 0) break;
        const int p = PointOfMove(tree.MoveOf(n), lines);
        if (p > 0) moves.push_back(p);
    }
    int x0 = lines + 1, y0 = lines + 1, x1 = 0, y1 = 0;
    auto widen = [&](int p) {
        x0 = std::min(x0, TSolverBoard::XOf(p));
        x1 = std::max(x1, TSolverBoard::XOf(p));
        y0 = std::min(y0, TSolverBoard::YOf(p));
        y1 = std::max(y1, TSolverBoard::YOf(p));
    };
    for (int x = 1; x <= lines; ++x)
        for (int y = 1; y <= lines; ++y) {
            const int p = TSolverBoard::PointOf(x, y);
            if (q.Board.At(p) != TStone::Empty) widen(p);
        }
    std::vector<int> seeds = moves;
    for (const int p : DefenderStonesNear(q.Board, moves, defender))
        seeds.push_back(p);
    for (const int p : moves)
        widen(p);
    if (seeds.empty()) {
        out.Error = "the problem has neither stones of the side to be killed or saved nor moves";
        return out;
    }
    // The box reaches the edge across the first two lines: the space between a problem and a
    // near edge is part of the problem.
    x0 = x0 - 1 <= 3 ? 1 : x0 - 1, y0 = y0 - 1 <= 3 ? 1 : y0 - 1;
    x1 = x1 + 1 >= lines - 2 ? lines : x1 + 1, y1 = y1 + 1 >= lines - 2 ? lines : y1 + 1;
    auto inBox = [&](int p) {
        const int x = TSolverBoard::XOf(p), y = TSolverBoard::YOf(p);
        return x >= x0 && x <= x1 && y >= y0 && y <= y1;
    };

    // Where the attacker's wall and the edge enclose the defender's stones, the region is the
    // area they enclose, and nothing beyond the wall: its stones are safe, and a tree's line
    // played behind them is no part of the question.
    std::vector<int> defenderStones = DefenderStonesNear(q.Board, moves, defender);
    std::vector<bool> reached(TSolverBoard::kCells, false);
    std::vector<int> region;
    // An enclosed area lies near the problem: within two lines of the stones and moves it is
    // about (a far stone of the problem's board widens the box, not the problem).
    int nx0 = lines, ny0 = lines, nx1 = 1, ny1 = 1;
    for (const int p : seeds) {
        nx0 = std::min(nx0, TSolverBoard::XOf(p)), nx1 = std::max(nx1, TSolverBoard::XOf(p));
        ny0 = std::min(ny0, TSolverBoard::YOf(p)), ny1 = std::max(ny1, TSolverBoard::YOf(p));
    }
    nx0 = nx0 - 2 <= 3 ? 1 : nx0 - 2, ny0 = ny0 - 2 <= 3 ? 1 : ny0 - 2;
    nx1 = nx1 + 2 >= lines - 2 ? lines : nx1 + 2, ny1 = ny1 + 2 >= lines - 2 ? lines : ny1 + 2;
    const auto nearTheProblem = [&](int p) {
        const int x = TSolverBoard::XOf(p), y = TSolverBoard::YOf(p);
        return inBox(p) && x >= nx0 && x <= nx1 && y >= ny0 && y <= ny1;
    };
    // The defender's stones outside the wall, attacking it, are no part of the question.
    {
        const std::vector<int> about = StonesTheProblemIsAbout(q.Board, q.Attacker, defenderStones, firstMoves, nearTheProblem);
        std::erase_if(seeds, [&](int p) {
            return q.Board.At(p) == defender && std::find(about.begin(), about.end(), p) == about.end();
        });
        defenderStones = about;
    }
    const bool enclosed = !defenderStones.empty() &&
                          EnclosedArea(q.Board, q.Attacker, defenderStones, nearTheProblem, reached, region);
    if (!enclosed) {
        // Near the problem: the defender's stones, the tree's points, and the points around either
        // (diagonals too). An open side of the board stays outside: a group that gets out there
        // has escaped.
        std::vector<bool> near(TSolverBoard::kCells, false);
        for (const int seed : seeds)
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy) {
                    const int n = seed + dx + dy * TSolverBoard::kStride;
                    if (q.Board.OnBoard(n)) near[static_cast<size_t>(n)] = true;
                }
        // A stone or tree point on the third line sees the edge: the empty second-line point
        // between and the first-line points beyond it are near too, for a group at the edge lives
        // or dies by them. Behind the attacker's stones the edge stays outside.
        for (const int seed : seeds) {
            const int x = TSolverBoard::XOf(seed), y = TSolverBoard::YOf(seed);
            const int towardEdge[4][2] = {{x == 3 ? -1 : 0, 0}, {x == lines - 2 ? 1 : 0, 0},
                                          {0, y == 3 ? -1 : 0}, {0, y == lines - 2 ? 1 : 0}};
            for (const auto& [dx, dy] : towardEdge) {
                if (dx == 0 && dy == 0) continue;
                const int second = seed + dx + dy * TSolverBoard::kStride;
                if (q.Board.At(second) != TStone::Empty) continue;
                const int first = second + dx + dy * TSolverBoard::kStride;
                near[static_cast<size_t>(second)] = true;
                for (const int side : {-1, 0, 1}) {
                    const int n = first + (dx == 0 ? side : 0) + (dy == 0 ? side * TSolverBoard::kStride : 0);
                    if (q.Board.OnBoard(n)) near[static_cast<size_t>(n)] = true;
                }
            }
        }
        // Everything the defender and the tree reach near the problem without crossing the
        // attacker's stones.
        for (const int seed : seeds) {
            if (reached[static_cast<size_t>(seed)]) continue;
            reached[static_cast<size_t>(seed)] = true;
            region.push_back(seed);
            for (size_t i = region.size() - 1; i < region.size(); ++i)
                for (const int d : TSolverBoard::kDirections) {
                    const int n = region[i] + d;
                    if (!q.Board.OnBoard(n) || !inBox(n) || !near[static_cast<size_t>(n)] ||
                        reached[static_cast<size_t>(n)] || q.Board.At(n) == q.Attacker)
                        continue;
                    reached[static_cast<size_t>(n)] = true;
                    region.push_back(n);
                }
        }
        constexpr size_t kLargestPocket = 12;
        AddEnclosedPockets(q.Board, q.Attacker, reached, region, kLargestPocket);
    }
    // Attacker chains whose every liberty lies in the region are inside it, not its wall; a
    // chain beside the region with two liberties or fewer can be taken, so it joins the region
    // with its liberties.
    std::vector<bool> looked(TSolverBoard::kCells, false);
    const std::vector<bool> attackedByTheTree = AttackedByTheTree(q.Board, tree, q.ToMove, q.Attacker);
    const size_t reachedCount = region.size();
    auto add = [&](int p) {
        if (reached[static_cast<size_t>(p)]) return;
        reached[static_cast<size_t>(p)] = true;
        region.push_back(p);
    };
    for (size_t i = 0; i < reachedCount; ++i)
        for (const int d : TSolverBoard::kDirections) {
            const int n = region[i] + d;
            if (q.Board.At(n) != q.Attacker || looked[static_cast<size_t>(n)]) continue;
            const std::vector<int> chain = q.Board.ChainOf(n);
            std::vector<int> liberties;
            bool inside = true;
            for (const int s : chain) {
                looked[static_cast<size_t>(s)] = true;
                for (const int e : TSolverBoard::kDirections) {
                    const int l = s + e;
                    if (q.Board.At(l) != TStone::Empty) continue;
                    if (!reached[static_cast<size_t>(l)]) inside = false;
                    if (std::find(liberties.begin(), liberties.end(), l) == liberties.end())
                        liberties.push_back(l);
                }
            }
            // Only two kinds of wall chain can be taken: one in a race with the defender (it
            // touches the defender's stones, short of liberties) and one the tree's own lines
            // put in atari or take.
            const bool shortOfLiberties = liberties.size() <= 2 &&
                                          std::all_of(liberties.begin(), liberties.end(), inBox);
            const bool inARace = std::any_of(chain.begin(), chain.end(), [&](int s) {
                return std::any_of(std::begin(TSolverBoard::kDirections), std::end(TSolverBoard::kDirections),
                                   [&](int e) { return q.Board.At(s + e) == defender; });
            });
            const bool weak = (shortOfLiberties && inARace) || attackedByTheTree[static_cast<size_t>(n)];
            if (!inside && !weak) continue;
            for (const int s : chain)
                add(s);
            for (const int l : liberties)
                add(l);
        }
    // Asked so, the region goes a point further along the edge: a frame stone beside an edge
    // point of the region takes the last liberty of a stone there, and can make a ko the board
    // does not have.
    const auto onFirstLine = [&](int p) {
        const int x = TSolverBoard::XOf(p), y = TSolverBoard::YOf(p);
        return x == 1 || y == 1 || x == lines || y == lines;
    };
    const size_t beforeTheEdge = alongTheEdge ? region.size() : 0;
    for (size_t i = 0; i < beforeTheEdge; ++i)
        for (const int d : TSolverBoard::kDirections) {
            const int n = region[i] + d;
            if (onFirstLine(region[i]) && q.Board.OnBoard(n) && onFirstLine(n) &&
                q.Board.At(n) == TStone::Empty)
                add(n);
        }
    std::sort(region.begin(), region.end());
    q.Region = region;
    // The tree's points are the first the solver tries.
    std::sort(moves.begin(), moves.end());
    moves.erase(std::unique(moves.begin(), moves.end()), moves.end());
    q.Preferred = moves;
    // The frame: where the region is open, the attacker holds the points around it.
    for (const int p : region)
        for (const int d : TSolverBoard::kDirections) {
            const int n = p + d;
            if (!q.Board.OnBoard(n) || reached[static_cast<size_t>(n)] ||
                q.Board.At(n) != TStone::Empty ||
                std::find(out.Frame.begin(), out.Frame.end(), n) != out.Frame.end())
                continue;
            out.Frame.push_back(n);
        }
    // The open board: frame points off the first two lines (crawling along the edge is no
    // escape: the edge beyond a problem is the attacker's as far as it shows) with none of the
    // attacker's stones beside them (a point in a gap of the attacker's wall is no way out: one
    // move closes it).
    for (const int p : out.Frame) {
        const int x = TSolverBoard::XOf(p), y = TSolverBoard::YOf(p);
        const bool offTheEdge = std::min({x, y, lines + 1 - x, lines + 1 - y}) > 2;
        const bool besideTheWall = std::any_of(std::begin(TSolverBoard::kDirections), std::end(TSolverBoard::kDirections),
                                               [&](int d) { return q.Board.At(p + d) == q.Attacker; });
        if (offTheEdge && !besideTheWall) q.Open.push_back(p);
    }
    for (const int p : out.Frame)
        q.Board.Set(p, q.Attacker);
    q.Target = TargetGroup(q.Board, region, defender, firstMoves);
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
