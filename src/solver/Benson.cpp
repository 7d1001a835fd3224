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
// Everything is kept between calls, emptied but not freed: the search asks millions of times.
struct TScratch {
    std::vector<int> AreaOf = std::vector<int>(TSolverBoard::kCells, -1);
    std::vector<int> ChainOf = std::vector<int>(TSolverBoard::kCells, -1);
    std::vector<int> Touched;
    std::vector<std::vector<int>> Chains; // the first ChainCount are this call's
    size_t ChainCount = 0;
    std::vector<TArea> Areas;             // the first AreaCount are this call's
    size_t AreaCount = 0;
    std::vector<std::vector<int>> Vital;  // per area: the chains it is vital to
    std::vector<int> Points;
    std::vector<bool> KeptChain;
    void Clear() {
        for (const int p : Touched) {
            AreaOf[static_cast<size_t>(p)] = -1;
            ChainOf[static_cast<size_t>(p)] = -1;
        }
        Touched.clear();
        ChainCount = 0;
        AreaCount = 0;
        KeptChain.clear();
    }
    std::vector<int>& NewChain() {
        if (ChainCount == Chains.size()) Chains.emplace_back();
        return Chains[ChainCount++];
    }
    TArea& NewArea() {
        if (AreaCount == Areas.size()) Areas.emplace_back();
        TArea& area = Areas[AreaCount++];
        area.Empty.clear();
        area.Chains.clear();
        area.Kept = true;
        return area;
    }
};

TScratch& Benson(const TSolverBoard& board, TStone side, const std::vector<int>& region,
                 const std::vector<bool>& inRegion) {
    thread_local TScratch scratch;
    scratch.Clear();
    std::vector<int>& areaOf = scratch.AreaOf;
    std::vector<int>& chainOf = scratch.ChainOf;
    auto inside = [&](int p) { return inRegion[static_cast<size_t>(p)]; };
    // Only areas wholly inside the region can be vital, and only the chains bounding them can
    // keep two of them: the rest of the board is never looked at.
    std::vector<int>& points = scratch.Points;
    for (const int start : region) {
        if (areaOf[static_cast<size_t>(start)] != -1) continue;
        const TStone at = board.At(start);
        if (at == side || at == TStone::Edge) continue;
        const int id = static_cast<int>(scratch.AreaCount);
        TArea& area = scratch.NewArea();
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
                        const int c = static_cast<int>(scratch.ChainCount);
                        std::vector<int>& chain = scratch.NewChain();
                        board.ChainInto(n, chain);
                        for (const int s : chain) {
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
    }
    const size_t areas = scratch.AreaCount, chains = scratch.ChainCount;
    // vital[a]: the chains area a is vital to (every empty point of it is their liberty).
    if (scratch.Vital.size() < areas) scratch.Vital.resize(areas);
    for (size_t a = 0; a < areas; ++a) {
        const TArea& area = scratch.Areas[a];
        std::vector<int>& vital = scratch.Vital[a];
        vital.clear();
        if (!area.Kept) continue;
        for (const int c : area.Chains) {
            const bool all = std::all_of(area.Empty.begin(), area.Empty.end(), [&](int e) {
                for (const int d : TSolverBoard::kDirections)
                    if (chainOf[static_cast<size_t>(e + d)] == c) return true;
                return false;
            });
            if (all) vital.push_back(c);
        }
    }
    // Chains with fewer than two vital areas go, and the areas they bound, until none changes.
    std::vector<bool>& keptChain = scratch.KeptChain;
    keptChain.assign(chains, true);
    for (bool changed = true; changed;) {
        changed = false;
        for (size_t c = 0; c < chains; ++c) {
            if (!keptChain[c]) continue;
            int eyes = 0;
            for (size_t a = 0; a < areas; ++a) {
                const std::vector<int>& vital = scratch.Vital[a];
                eyes += scratch.Areas[a].Kept &&
                        std::find(vital.begin(), vital.end(), static_cast<int>(c)) != vital.end();
            }
            if (eyes < 2) {
                keptChain[c] = false;
                changed = true;
            }
        }
        for (size_t a = 0; a < areas; ++a) {
            TArea& area = scratch.Areas[a];
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
    for (size_t c = 0; c < result.ChainCount; ++c)
        if (result.KeptChain[c])
            for (const int p : result.Chains[c])
                alive[static_cast<size_t>(p)] = true;
    return alive;
}

bool AnyUnconditionallyAlive(const TSolverBoard& board, TStone side, const std::vector<int>& region,
                             const std::vector<bool>& inRegion, const std::vector<int>& stones) {
    const TScratch& result = Benson(board, side, region, inRegion);
    return std::any_of(stones.begin(), stones.end(), [&](int p) {
        const int c = result.ChainOf[static_cast<size_t>(p)];
        return c >= 0 && result.KeptChain[static_cast<size_t>(c)];
    });
}

} // namespace karvena
