#include "solver/Benson.h"

#include <algorithm>

namespace karvena {

namespace {

// An area inside the problem's region: its empty points and the chains that bound it.
struct TArea {
    std::vector<int> Empty;
    std::vector<int> Chains;
    bool Kept = true;
};

// The test itself, for the areas of `region`: fills chainOf (the chain of each stone looked at,
// -1 for none; every cell it set is listed in `touched`) and says which chains are kept.
struct TScratch {
    std::vector<int> AreaOf = std::vector<int>(TSolverBoard::kCells, -1);
    std::vector<int> ChainOf = std::vector<int>(TSolverBoard::kCells, -1);
    std::vector<int> Touched;
    std::vector<std::vector<int>> Chains;
    std::vector<bool> KeptChain;
    void Clear() {
        for (const int p : Touched) {
            AreaOf[static_cast<size_t>(p)] = -1;
            ChainOf[static_cast<size_t>(p)] = -1;
        }
        Touched.clear();
        Chains.clear();
        KeptChain.clear();
    }
};

TScratch& Benson(const TSolverBoard& board, TStone side, const std::vector<int>& region,
                 const std::vector<bool>& inRegion) {
    thread_local TScratch scratch;
    scratch.Clear();
    std::vector<int>& areaOf = scratch.AreaOf;
    std::vector<int>& chainOf = scratch.ChainOf;
    std::vector<std::vector<int>>& chains = scratch.Chains;
    auto inside = [&](int p) { return inRegion[static_cast<size_t>(p)]; };
    // Only areas wholly inside the region can be vital, and only the chains bounding them can
    // keep two of them: the rest of the board is never looked at.
    std::vector<TArea> areas;
    std::vector<int> points;
    for (const int start : region) {
        if (areaOf[static_cast<size_t>(start)] != -1) continue;
        const TStone at = board.At(start);
        if (at == side || at == TStone::Edge) continue;
        const int id = static_cast<int>(areas.size());
        TArea area;
        bool outside = false;
        points.assign(1, start);
        areaOf[static_cast<size_t>(start)] = id;
        scratch.Touched.push_back(start);
        for (size_t i = 0; i < points.size(); ++i) {
            const int p = points[i];
            if (board.At(p) == TStone::Empty) area.Empty.push_back(p);
            for (const int d : TSolverBoard::kDirections) {
                const int n = p + d;
                const TStone there = board.At(n);
                if (there == TStone::Edge) continue;
                if (there == side) {
                    if (chainOf[static_cast<size_t>(n)] == -1) {
                        // A new chain: labelled whole, wherever it runs.
                        const int c = static_cast<int>(chains.size());
                        chains.push_back(board.ChainOf(n));
                        for (const int s : chains.back()) {
                            chainOf[static_cast<size_t>(s)] = c;
                            scratch.Touched.push_back(s);
                        }
                    }
                    const int c = chainOf[static_cast<size_t>(n)];
                    if (std::find(area.Chains.begin(), area.Chains.end(), c) == area.Chains.end())
                        area.Chains.push_back(c);
                } else if (!inside(n)) {
                    outside = true; // the area runs on outside: never an eye
                } else if (areaOf[static_cast<size_t>(n)] == -1) {
                    areaOf[static_cast<size_t>(n)] = id;
                    scratch.Touched.push_back(n);
                    points.push_back(n);
                }
            }
        }
        area.Kept = !outside;
        areas.push_back(std::move(area));
    }
    // vital[a]: the chains area a is vital to (every empty point of it is their liberty).
    std::vector<std::vector<int>> vital(areas.size());
    for (size_t a = 0; a < areas.size(); ++a) {
        if (!areas[a].Kept) continue;
        for (const int c : areas[a].Chains) {
            const bool all = std::all_of(areas[a].Empty.begin(), areas[a].Empty.end(), [&](int e) {
                for (const int d : TSolverBoard::kDirections)
                    if (chainOf[static_cast<size_t>(e + d)] == c) return true;
                return false;
            });
            if (all) vital[a].push_back(c);
        }
    }
    // Chains with fewer than two vital areas go, and the areas they bound, until none changes.
    std::vector<bool>& keptChain = scratch.KeptChain;
    keptChain.assign(chains.size(), true);
    for (bool changed = true; changed;) {
        changed = false;
        for (size_t c = 0; c < chains.size(); ++c) {
            if (!keptChain[c]) continue;
            int eyes = 0;
            for (size_t a = 0; a < areas.size(); ++a)
                eyes += areas[a].Kept &&
                        std::find(vital[a].begin(), vital[a].end(), static_cast<int>(c)) != vital[a].end();
            if (eyes < 2) {
                keptChain[c] = false;
                changed = true;
            }
        }
        for (TArea& area : areas) {
            if (!area.Kept) continue;
            if (std::any_of(area.Chains.begin(), area.Chains.end(),
                            [&](int c) { return !keptChain[static_cast<size_t>(c)]; })) {
                area.Kept = false;
                changed = true;
            }
        }
    }
    return scratch;
}

} // namespace

std::vector<bool> UnconditionallyAlive(const TSolverBoard& board, TStone side,
                                       const std::vector<int>& region,
                                       const std::vector<bool>& inRegion) {
    const TScratch& result = Benson(board, side, region, inRegion);
    std::vector<bool> alive(TSolverBoard::kCells, false);
    for (size_t c = 0; c < result.Chains.size(); ++c)
        if (result.KeptChain[c])
            for (const int p : result.Chains[c])
                alive[static_cast<size_t>(p)] = true;
    return alive;
}

bool AllUnconditionallyAlive(const TSolverBoard& board, TStone side, const std::vector<int>& region,
                             const std::vector<bool>& inRegion, const std::vector<int>& stones) {
    const TScratch& result = Benson(board, side, region, inRegion);
    return std::all_of(stones.begin(), stones.end(), [&](int p) {
        const int c = result.ChainOf[static_cast<size_t>(p)];
        return c >= 0 && result.KeptChain[static_cast<size_t>(c)];
    });
}

} // namespace karvena
