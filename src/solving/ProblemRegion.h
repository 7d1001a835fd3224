#pragma once
// Where a problem's question is asked: the region of the board whose points the solver may play.
//
// Where the attacker's wall and the edge enclose the defender's stones, the region is the area
// they enclose. A wall's gap that one move closes ends it: two of the attacker's stones a point
// apart, one of them and the edge (a stone on the second line closes the first line below it),
// two of its chains a knight's move apart; the wall closes a point beyond a gap, and at the gap
// on the edge. The defender's stones beyond a safe wall, attacking it from outside, are no part
// of the problem. Where nothing encloses them, the region holds every point of the tree's moves
// and the empty points around the defender's stones up to the attacker's stones or the edge,
// within the box of the problem's stones and moves one line wider; the open board beyond it
// is a way out. Either way, attacker stones enclosed in it belong to it, and wall stones keep
// their liberties outside it, so they are never taken, but for a chain in a race with the
// defender or one the tree's lines attack. The empty points just outside the region are the
// attacker's (the frame).
#include <string>
#include <vector>

#include "collection/SolutionTree.h"
#include "solver/SolverBoard.h"

namespace karvena {

struct TProblemRegion {
    std::string Error;             // why there is none
    std::vector<int> Points;       // sorted
    std::vector<int> Frame;        // the empty points just outside, where the attacker stands
    std::vector<int> Open;         // the frame points that stand for the open board
    std::vector<int> Beyond;       // the points just beyond the wall's gaps, sorted
    std::vector<int> TreePoints;   // the points of the tree's moves, sorted, each once
};

// The region of the problem on `board` (the problem's stones only) whose attacker is `attacker`
// and whose side to move is `toMove`; `firstMoves` are the tree's correct first moves (all of
// them where none is correct), what the problem is about. With `alongTheEdge` it reaches a point
// further along the edge.
TProblemRegion RegionOf(const TSolverBoard& board, TStone attacker, TStone toMove, const TSolutionTree& tree,
                        const std::vector<int>& firstMoves, bool alongTheEdge);

} // namespace karvena
