#pragma once
// Benson's test of unconditional life: the chains of `side` that no sequence of the other
// side's moves can capture, even when `side` always passes. A region (a connected set of points
// without `side`'s stones) is vital to a chain when every empty point of it is a liberty of the
// chain; chains with fewer than two vital regions are dropped, with the regions they bound,
// until nothing changes. A region that reaches a point outside `inRegion` is never vital: the
// problem's outside is no eye.
#include <vector>

#include "solver/SolverBoard.h"

namespace karvena {

// alive[point] is true for every stone of `side` in an unconditionally alive chain; `region`
// lists the points of `inRegion`.
std::vector<bool> UnconditionallyAlive(const TSolverBoard& board, TStone side,
                                       const std::vector<int>& region,
                                       const std::vector<bool>& inRegion);
// True when one of the points `stones` holds a stone of `side` that is unconditionally alive.
bool AnyUnconditionallyAlive(const TSolverBoard& board, TStone side, const std::vector<int>& region,
                             const std::vector<bool>& inRegion, const std::vector<int>& stones);

} // namespace karvena
