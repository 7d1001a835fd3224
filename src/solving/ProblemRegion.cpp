#include "solving/ProblemRegion.h"

#include <algorithm>
#include <cstdlib>

#include "solving/ProblemQuestion.h"

namespace karvena {

namespace {

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
// the points just beyond (a move there is part of the problem; further on the wall closes), also
// listed in `beyond`. A gap that leads back into an enclosed space (between the attacker's stones
// inside the defender's area, say) is no gap: that space joins the area. False, and nothing
// filled, where the area reaches past `inBox`: the problem is open there.
template <typename TInBox>
bool EnclosedArea(const TSolverBoard& board, TStone attacker, const std::vector<int>& defenderStones,
                  TInBox inBox, std::vector<bool>& reached, std::vector<int>& region,
                  std::vector<int>& beyond) {
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
            beyond.push_back(n);
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
    std::vector<bool> open, matters; // by area: it reaches past the box; it is the problem's
    std::vector<int> area;
    for (const int seed : defenderStones) {
        if (component[static_cast<size_t>(seed)] >= 0) continue;
        const int id = static_cast<int>(open.size());
        open.push_back(false);
        matters.push_back(false);
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
                matters[static_cast<size_t>(component[static_cast<size_t>(n)])] = true;
        }
    if (std::none_of(matters.begin(), matters.end(), [](bool b) { return b; })) return defenderStones;
    // Stones beside a wall chain short of liberties stay: they may take it.
    for (const int s : defenderStones)
        for (const int d : TSolverBoard::kDirections)
            if (board.At(s + d) == attacker && board.Liberties(s + d, 3) <= 2)
                matters[static_cast<size_t>(component[static_cast<size_t>(s)])] = true;
    std::vector<int> kept;
    for (const int s : defenderStones) {
        const int id = component[static_cast<size_t>(s)];
        if (!open[static_cast<size_t>(id)] || matters[static_cast<size_t>(id)]) kept.push_back(s);
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

// A rectangle of the board's points, its corners included.
struct TBox {
    int X0 = 0, Y0 = 0, X1 = -1, Y1 = -1;

    static TBox Around(const std::vector<int>& points) {
        TBox box{1 << 20, 1 << 20, -1, -1};
        for (const int p : points) {
            box.X0 = std::min(box.X0, TSolverBoard::XOf(p)), box.X1 = std::max(box.X1, TSolverBoard::XOf(p));
            box.Y0 = std::min(box.Y0, TSolverBoard::YOf(p)), box.Y1 = std::max(box.Y1, TSolverBoard::YOf(p));
        }
        return box;
    }
    // `margin` lines wider on every side, and on to the edge where it comes within three lines
    // of it: the space between a problem and a near edge is part of the problem.
    TBox Widened(int margin, int lines) const {
        return {X0 - margin <= 3 ? 1 : X0 - margin, Y0 - margin <= 3 ? 1 : Y0 - margin,
                X1 + margin >= lines - 2 ? lines : X1 + margin, Y1 + margin >= lines - 2 ? lines : Y1 + margin};
    }
    TBox Within(const TBox& other) const {
        return {std::max(X0, other.X0), std::max(Y0, other.Y0), std::min(X1, other.X1), std::min(Y1, other.Y1)};
    }
    bool operator()(int p) const {
        const int x = TSolverBoard::XOf(p), y = TSolverBoard::YOf(p);
        return x >= X0 && x <= X1 && y >= Y0 && y <= Y1;
    }
};

// The points of every move of the tree, in the order the tree holds them.
std::vector<int> TreePoints(const TSolutionTree& tree, int lines) {
    std::vector<int> points;
    for (TNodeId n = tree.Empty() ? kNoNode : tree.FirstChild(tree.Root()); n != kNoNode;
         n = tree.NextInDepthFirst(n)) {
        if (tree.Level(n) <= 0) break;
        const int p = PointOfMove(tree.MoveOf(n), lines);
        if (p > 0) points.push_back(p);
    }
    return points;
}

// The region of a problem no wall encloses: the defender's stones and the tree's points (`seeds`)
// with the points around them (diagonals too), and what they reach from there without crossing
// the attacker's stones. An open side of the board stays outside: a group that gets out there
// has escaped.
void RegionNearTheProblem(const TSolverBoard& board, TStone attacker, const std::vector<int>& seeds,
                          const TBox& box, std::vector<bool>& reached, std::vector<int>& region) {
    const int lines = board.Lines();
    std::vector<bool> near(TSolverBoard::kCells, false);
    for (const int seed : seeds)
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy) {
                const int n = seed + dx + dy * TSolverBoard::kStride;
                if (board.OnBoard(n)) near[static_cast<size_t>(n)] = true;
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
            if (board.At(second) != TStone::Empty) continue;
            const int first = second + dx + dy * TSolverBoard::kStride;
            near[static_cast<size_t>(second)] = true;
            for (const int side : {-1, 0, 1}) {
                const int n = first + (dx == 0 ? side : 0) + (dy == 0 ? side * TSolverBoard::kStride : 0);
                if (board.OnBoard(n)) near[static_cast<size_t>(n)] = true;
            }
        }
    }
    for (const int seed : seeds) {
        if (reached[static_cast<size_t>(seed)]) continue;
        reached[static_cast<size_t>(seed)] = true;
        region.push_back(seed);
        for (size_t i = region.size() - 1; i < region.size(); ++i)
            for (const int d : TSolverBoard::kDirections) {
                const int n = region[i] + d;
                if (!board.OnBoard(n) || !box(n) || !near[static_cast<size_t>(n)] ||
                    reached[static_cast<size_t>(n)] || board.At(n) == attacker)
                    continue;
                reached[static_cast<size_t>(n)] = true;
                region.push_back(n);
            }
    }
    constexpr size_t kLargestPocket = 12;
    AddEnclosedPockets(board, attacker, reached, region, kLargestPocket);
}

// The attacker's chains beside the region that belong to it, with their liberties: those whose
// every liberty lies in the region (inside it, not its wall), and the only two kinds of wall
// chain that can be taken: one in a race with the defender (it touches the defender's stones,
// two liberties or fewer, all in `box`) and one the tree's own lines put in atari or take
// (`attackedByTheTree`).
void AddTakableWallChains(const TSolverBoard& board, TStone attacker, const std::vector<bool>& attackedByTheTree,
                          const TBox& box, std::vector<bool>& reached, std::vector<int>& region) {
    const TStone defender = Other(attacker);
    std::vector<bool> looked(TSolverBoard::kCells, false);
    const size_t reachedCount = region.size();
    auto add = [&](int p) {
        if (reached[static_cast<size_t>(p)]) return;
        reached[static_cast<size_t>(p)] = true;
        region.push_back(p);
    };
    for (size_t i = 0; i < reachedCount; ++i)
        for (const int d : TSolverBoard::kDirections) {
            const int n = region[i] + d;
            if (board.At(n) != attacker || looked[static_cast<size_t>(n)]) continue;
            const std::vector<int> chain = board.ChainOf(n);
            std::vector<int> liberties;
            bool inside = true;
            for (const int s : chain) {
                looked[static_cast<size_t>(s)] = true;
                for (const int e : TSolverBoard::kDirections) {
                    const int l = s + e;
                    if (board.At(l) != TStone::Empty) continue;
                    if (!reached[static_cast<size_t>(l)]) inside = false;
                    if (std::find(liberties.begin(), liberties.end(), l) == liberties.end())
                        liberties.push_back(l);
                }
            }
            const bool shortOfLiberties = liberties.size() <= 2 && std::all_of(liberties.begin(), liberties.end(), box);
            const bool inARace = std::any_of(chain.begin(), chain.end(), [&](int s) {
                return std::any_of(std::begin(TSolverBoard::kDirections), std::end(TSolverBoard::kDirections),
                                   [&](int e) { return board.At(s + e) == defender; });
            });
            const bool weak = (shortOfLiberties && inARace) || attackedByTheTree[static_cast<size_t>(n)];
            if (!inside && !weak) continue;
            for (const int s : chain)
                add(s);
            for (const int l : liberties)
                add(l);
        }
}

// The region a point further along the edge: a frame stone beside an edge point of the region
// takes the last liberty of a stone there, and can make a ko the board does not have.
void AddAlongTheEdge(const TSolverBoard& board, std::vector<bool>& reached, std::vector<int>& region) {
    const int lines = board.Lines();
    const auto onFirstLine = [&](int p) {
        const int x = TSolverBoard::XOf(p), y = TSolverBoard::YOf(p);
        return x == 1 || y == 1 || x == lines || y == lines;
    };
    const size_t before = region.size();
    for (size_t i = 0; i < before; ++i)
        for (const int d : TSolverBoard::kDirections) {
            const int n = region[i] + d;
            if (onFirstLine(region[i]) && board.OnBoard(n) && onFirstLine(n) && board.At(n) == TStone::Empty &&
                !reached[static_cast<size_t>(n)]) {
                reached[static_cast<size_t>(n)] = true;
                region.push_back(n);
            }
        }
}

// The empty points whose every neighbour is a point of the region (the corner point behind two
// gaps of the wall, closed in by them): no stone can stand for the open board there.
void AddEnclosedHoles(const TSolverBoard& board, std::vector<bool>& reached, std::vector<int>& region) {
    std::vector<bool> inRegion(TSolverBoard::kCells, false);
    for (const int p : region)
        inRegion[static_cast<size_t>(p)] = true;
    for (size_t i = 0; i < region.size(); ++i)
        for (const int d : TSolverBoard::kDirections) {
            const int n = region[i] + d;
            if (!board.OnBoard(n) || inRegion[static_cast<size_t>(n)] || board.At(n) != TStone::Empty) continue;
            bool closed = true;
            for (const int e : TSolverBoard::kDirections)
                closed = closed && (!board.OnBoard(n + e) || inRegion[static_cast<size_t>(n + e)]);
            if (!closed) continue;
            inRegion[static_cast<size_t>(n)] = reached[static_cast<size_t>(n)] = true;
            region.push_back(n);
        }
}

// The empty points just outside the region, each once: where the region is open, the
// attacker's stones stand there in the question.
std::vector<int> FrameOf(const TSolverBoard& board, const std::vector<bool>& reached, const std::vector<int>& region) {
    std::vector<int> frame;
    for (const int p : region)
        for (const int d : TSolverBoard::kDirections) {
            const int n = p + d;
            if (!board.OnBoard(n) || reached[static_cast<size_t>(n)] || board.At(n) != TStone::Empty ||
                std::find(frame.begin(), frame.end(), n) != frame.end())
                continue;
            frame.push_back(n);
        }
    return frame;
}

// The frame points that stand for the open board: off the first two lines (crawling along the
// edge is no escape: the edge beyond a problem is the attacker's as far as it shows) with none of
// the attacker's stones beside them (a point in a gap of the attacker's wall is no way out: one
// move closes it).
std::vector<int> OpenPoints(const TSolverBoard& board, TStone attacker, const std::vector<int>& frame) {
    const int lines = board.Lines();
    std::vector<int> open;
    for (const int p : frame) {
        const int x = TSolverBoard::XOf(p), y = TSolverBoard::YOf(p);
        const bool offTheEdge = std::min({x, y, lines + 1 - x, lines + 1 - y}) > 2;
        const bool besideTheWall = std::any_of(std::begin(TSolverBoard::kDirections), std::end(TSolverBoard::kDirections),
                                               [&](int d) { return board.At(p + d) == attacker; });
        if (offTheEdge && !besideTheWall) open.push_back(p);
    }
    return open;
}

} // namespace

TProblemRegion RegionOf(const TSolverBoard& board, TStone attacker, TStone toMove, const TSolutionTree& tree,
                        const std::vector<int>& firstMoves, bool alongTheEdge) {
    TProblemRegion out;
    const TStone defender = Other(attacker);
    const int lines = board.Lines();
    // The tree's points, and the box of everything the problem shows, one line wider.
    const std::vector<int> moves = TreePoints(tree, lines);
    std::vector<int> seeds = moves;
    for (const int p : DefenderStonesNear(board, moves, defender))
        seeds.push_back(p);
    if (seeds.empty()) {
        out.Error = "the problem has neither stones of the side to be killed or saved nor moves";
        return out;
    }
    std::vector<int> shown = moves;
    for (int p = 0; p < TSolverBoard::kCells; ++p)
        if (board.At(p) == TStone::Black || board.At(p) == TStone::White) shown.push_back(p);
    const TBox box = TBox::Around(shown).Widened(1, lines);
    // An enclosed area lies near the problem: within two lines of the stones and moves it is
    // about (a far stone of the problem's board widens the box, not the problem).
    const TBox nearTheProblem = TBox::Around(seeds).Widened(2, lines).Within(box);

    // Where the attacker's wall and the edge enclose the defender's stones, the region is the
    // area they enclose, and nothing beyond the wall: its stones are safe, and a tree's line
    // played behind them is no part of the question. The defender's stones outside the wall,
    // attacking it, are no part of it either.
    const std::vector<int> defenderStones = StonesTheProblemIsAbout(
        board, attacker, DefenderStonesNear(board, moves, defender), firstMoves, nearTheProblem);
    std::erase_if(seeds, [&](int p) {
        return board.At(p) == defender &&
               std::find(defenderStones.begin(), defenderStones.end(), p) == defenderStones.end();
    });
    std::vector<bool> reached(TSolverBoard::kCells, false);
    std::vector<int>& region = out.Points;
    const bool enclosed = !defenderStones.empty() &&
                          EnclosedArea(board, attacker, defenderStones, nearTheProblem, reached, region, out.Beyond);
    if (!enclosed) RegionNearTheProblem(board, attacker, seeds, box, reached, region);
    AddTakableWallChains(board, attacker, AttackedByTheTree(board, tree, toMove, attacker), box, reached, region);
    if (alongTheEdge) AddAlongTheEdge(board, reached, region);
    AddEnclosedHoles(board, reached, region);
    std::sort(region.begin(), region.end());
    // The frame: where the region is open, the attacker holds the points around it.
    out.Frame = FrameOf(board, reached, region);
    out.Open = OpenPoints(board, attacker, out.Frame);
    std::sort(out.Beyond.begin(), out.Beyond.end());
    out.TreePoints = moves;
    std::sort(out.TreePoints.begin(), out.TreePoints.end());
    out.TreePoints.erase(std::unique(out.TreePoints.begin(), out.TreePoints.end()), out.TreePoints.end());
    return out;
}

} // namespace karvena
