#include "solver/LifeAndDeath.h"

#include <algorithm>

#include "solver/Benson.h"

namespace karvena {

const char* VerdictName(TSolverVerdict verdict) {
    switch (verdict) {
    case TSolverVerdict::Win:
        return "win";
    case TSolverVerdict::Ko:
        return "ko";
    case TSolverVerdict::Loss:
        return "loss";
    case TSolverVerdict::Unknown:
        return "unknown";
    }
    return "unknown";
}

int TLifeAndDeath::TargetStone(const TSolverBoard& board) const {
    for (const int p : Target)
        if (board.At(p) == Defender()) return p;
    return TSolverBoard::kNoPoint;
}

bool TLifeAndDeath::TargetCaptured(const TSolverBoard& board) const {
    return TargetStone(board) == TSolverBoard::kNoPoint;
}

bool TLifeAndDeath::DefenderLeftInAtari(const TSolverBoard& board, const std::vector<bool>& inRegion) const {
    std::vector<int> chain, other;
    const auto ofTheTarget = [&](const std::vector<int>& stones) {
        return std::any_of(stones.begin(), stones.end(),
                           [&](int s) { return std::find(Target.begin(), Target.end(), s) != Target.end(); });
    };
    for (const int p : Region) {
        if (board.At(p) != Defender() || board.Liberties(p, 2) != 1) continue;
        board.ChainInto(p, chain);
        int liberty = TSolverBoard::kNoPoint;
        for (const int s : chain)
            for (const int d : TSolverBoard::kDirections)
                if (board.At(s + d) == TStone::Empty) liberty = s + d;
        if (liberty == TSolverBoard::kNoPoint || !inRegion[static_cast<size_t>(liberty)]) continue;
        // A chain of the target, or one whose last liberty is the target's too (the stone of
        // the group's own ko).
        if (ofTheTarget(chain)) return true;
        for (const int d : TSolverBoard::kDirections)
            if (board.At(liberty + d) == Defender()) {
                board.ChainInto(liberty + d, other);
                if (ofTheTarget(other)) return true;
            }
    }
    return false;
}

bool TLifeAndDeath::TargetAlive(const TSolverBoard& board, const std::vector<bool>& inRegion) const {
    return TargetEscaped(board) || AnyUnconditionallyAlive(board, Defender(), Region, inRegion, Target);
}

bool TLifeAndDeath::TargetEscaped(const TSolverBoard& board) const {
    if (Open.empty()) return false;
    const TStone defender = Defender();
    const auto isOpen = [&](int p) {
        return board.At(p) == Attacker && std::find(Open.begin(), Open.end(), p) != Open.end();
    };
    // The ways out of a chain: the open points beside it, and its liberties beside one. With two,
    // the attacker's next move cannot shut it in.
    const auto waysOut = [&](const std::vector<int>& chain) {
        std::vector<int> ways;
        for (const int s : chain)
            for (const int d : TSolverBoard::kDirections) {
                const int n = s + d;
                if (std::find(ways.begin(), ways.end(), n) != ways.end()) continue;
                bool way = isOpen(n);
                if (!way && board.At(n) == TStone::Empty)
                    for (const int e : TSolverBoard::kDirections)
                        way = way || isOpen(n + e);
                if (way) ways.push_back(n);
            }
        return ways.size();
    };
    std::vector<int> looked;
    for (const int open : Open)
        for (const int d : TSolverBoard::kDirections)
            for (const int e : {0, 1, -1, TSolverBoard::kStride, -TSolverBoard::kStride}) {
                // A defender's stone beside the open point, or beside an empty point beside it.
                const int n = open + d;
                const int p = e == 0 ? n : n + e;
                if (e != 0 && board.At(n) != TStone::Empty) continue;
                if (board.At(p) != defender || std::find(looked.begin(), looked.end(), p) != looked.end()) continue;
                const std::vector<int> chain = board.ChainOf(p);
                looked.insert(looked.end(), chain.begin(), chain.end());
                const bool target = std::any_of(chain.begin(), chain.end(), [&](int s) {
                    return std::find(Target.begin(), Target.end(), s) != Target.end();
                });
                if (target && waysOut(chain) >= 2) return true;
            }
    return false;
}

namespace {

bool Touches(const TSolverBoard& board, int point, TStone stone) {
    return std::any_of(std::begin(TSolverBoard::kDirections), std::end(TSolverBoard::kDirections),
                       [&](int d) { return board.At(point + d) == stone; });
}

} // namespace

bool TLifeAndDeath::TargetDead(const TSolverBoard& board, const std::vector<bool>& inRegion,
                               bool attackerToMove) const {
    const int stone = TargetStone(board);
    if (stone == TSolverBoard::kNoPoint) return false;
    const TStone defender = Defender();
    // The target's area: its stones and the points of the region reached from them without
    // crossing a safe attacker's chain (one with a liberty outside the region, which can never
    // be taken): empty points, and attacker's stones inside, which the defender could take. Another
    // defender chain in it could lend an eye; more than five empty points could make two.
    thread_local std::vector<int> area, chain;
    thread_local std::vector<uint8_t> seen; // 1 the area, 2 a safe attacker's chain
    seen.assign(TSolverBoard::kCells, 0);
    board.ChainInto(stone, chain);
    // The chain must hold every target stone left: taking it then takes them all.
    for (const int p : Target)
        if (board.At(p) == defender && std::find(chain.begin(), chain.end(), p) == chain.end())
            return false;
    area = chain;
    for (const int p : chain)
        seen[static_cast<size_t>(p)] = 1;
    std::vector<int> empty, inside;
    for (size_t i = 0; i < area.size(); ++i)
        for (const int d : TSolverBoard::kDirections) {
            const int n = area[i] + d;
            if (seen[static_cast<size_t>(n)]) continue;
            const TStone at = board.At(n);
            if (at == defender) return false;
            if (at == TStone::Edge) continue;
            if (at == Attacker) {
                board.ChainInto(n, chain);
                bool safe = false;
                for (const int s : chain)
                    for (const int e : TSolverBoard::kDirections)
                        safe = safe || (board.At(s + e) == TStone::Empty && !inRegion[static_cast<size_t>(s + e)]);
                for (const int s : chain) {
                    seen[static_cast<size_t>(s)] = safe ? 2 : 1;
                    if (safe) continue;
                    // Taken, it would leave a point no one may play: a sure eye.
                    if (!inRegion[static_cast<size_t>(s)]) return false;
                    area.push_back(s);
                    inside.push_back(s);
                }
                if (inside.size() > 2) return false;
                continue;
            }
            // An empty point outside the region is a liberty no one can fill.
            if (!inRegion[static_cast<size_t>(n)]) return false;
            seen[static_cast<size_t>(n)] = 1;
            area.push_back(n);
            empty.push_back(n);
            if (empty.size() > 5) return false;
        }
    // Each empty point touches the target, so a stone the defender plays there joins it: no
    // lone stone, no ko (a lone stone in the corner of a bent four makes one).
    for (const int e : empty)
        if (!Touches(board, e, defender)) return false;
    // The space, its empty points and the attacker's stones in it, is one piece (a flood
    // through it from its first point reaches all of it).
    std::vector<int> space = empty;
    space.insert(space.end(), inside.begin(), inside.end());
    if (space.empty()) return true;
    const auto adjacent = [](int a, int b) {
        return std::any_of(std::begin(TSolverBoard::kDirections), std::end(TSolverBoard::kDirections),
                           [&](int d) { return a + d == b; });
    };
    std::vector<int> piece{space.front()};
    for (size_t i = 0; i < piece.size(); ++i)
        for (const int q : space)
            if (std::find(piece.begin(), piece.end(), q) == piece.end() && adjacent(piece[i], q))
                piece.push_back(q);
    if (piece.size() != space.size()) return false; // two eyes already, or the makings of them
    if (inside.empty()) return EyeSpaceDies(empty, attackerToMove);
    // With the attacker's stones in it: two points make one eye at most, whoever takes what;
    // three die when the attacker holds the middle, the point beside both others (taking it
    // leaves one eye, and the attacker plays there again at once).
    if (space.size() <= 2) return true;
    if (space.size() != 3) return false;
    for (const int m : space)
        if (adjacent(m, space[0]) + adjacent(m, space[1]) + adjacent(m, space[2]) == 2)
            return board.At(m) == Attacker;
    return false;
}

bool TLifeAndDeath::TargetLivesByItsEyeSpace(const TSolverBoard& board,
                                             const std::vector<bool>& inRegion,
                                             bool attackerToMove) const {
    const TStone defender = Defender();
    thread_local std::vector<int> chain, space;
    thread_local std::vector<uint8_t> seen;
    seen.assign(TSolverBoard::kCells, 0);
    // Marks: 1 a stone of the chain looked at, 4 one of a chain looked at before.
    for (const int stone : Target) {
        if (board.At(stone) != defender || seen[static_cast<size_t>(stone)]) continue;
        board.ChainInto(stone, chain);
        for (const int s : chain)
            seen[static_cast<size_t>(s)] = 1;
        // Each space of empty points beside the chain, grown through empty points; it must
        // lie in the region and touch nothing but the chain and the edge, each of its points
        // a stone of the chain.
        for (const int s : chain)
            for (const int d : TSolverBoard::kDirections) {
                const int start = s + d;
                if (board.At(start) != TStone::Empty || seen[static_cast<size_t>(start)] >= 2) continue;
                // Marks: 2 in this space, 3 in a space looked at before; a flood given up
                // leaves part of its space unmarked, and meeting the rest later rejects it.
                space.assign(1, start);
                seen[static_cast<size_t>(start)] = 2;
                bool enclosed = true;
                for (size_t i = 0; i < space.size() && enclosed; ++i) {
                    if (!inRegion[static_cast<size_t>(space[i])]) enclosed = false;
                    for (const int e : TSolverBoard::kDirections) {
                        const int n = space[i] + e;
                        const TStone at = board.At(n);
                        const uint8_t mark = seen[static_cast<size_t>(n)];
                        if (at == TStone::Edge || (at == defender && mark == 1) || mark == 2) continue;
                        if (at != TStone::Empty || mark == 3) {
                            enclosed = false;
                            break;
                        }
                        seen[static_cast<size_t>(n)] = 2;
                        space.push_back(n);
                    }
                    if (space.size() > 5) enclosed = false;
                }
                for (const int p : space)
                    seen[static_cast<size_t>(p)] = 3;
                // A point that touches no stone of the chain would hold a lone stone, which
                // the attacker may take and the defender retake: a ko, not life.
                enclosed = enclosed && std::all_of(space.begin(), space.end(), [&](int p) {
                               return Touches(board, p, defender);
                           });
                if (enclosed && EyeSpaceLives(space, attackerToMove)) return true;
            }
        for (const int s : chain)
            seen[static_cast<size_t>(s)] = 4;
    }
    return false;
}

namespace {

// A space's shape, told by the sides its points share and by the most neighbours one point has.
struct TShape {
    int Sides = 0, Most = 0;
};
TShape ShapeOf(const std::vector<int>& space) {
    TShape shape;
    for (const int p : space) {
        int neighbours = 0;
        for (const int d : TSolverBoard::kDirections)
            neighbours += static_cast<int>(std::count(space.begin(), space.end(), p + d));
        shape.Sides += neighbours;
        shape.Most = std::max(shape.Most, neighbours);
    }
    shape.Sides /= 2;
    return shape;
}

} // namespace

bool EyeSpaceLives(const std::vector<int>& space, bool attackerToMove) {
    const auto [sides, most] = ShapeOf(space);
    switch (space.size()) {
    case 3: // the defender takes the middle
        return !attackerToMove;
    case 4: // four in a row or bent: two middle points, one for each side
        return (sides == 3 && most == 2) || (most == 3 && !attackerToMove);
    case 5: // every five but the bulky and the crossed; those if the defender takes the middle
        return (sides == 4 && most <= 3) || !attackerToMove;
    default:
        return false;
    }
}

bool EyeSpaceDies(const std::vector<int>& space, bool attackerToMove) {
    const auto [sides, most] = ShapeOf(space);
    switch (space.size()) {
    case 0:
    case 1:
    case 2:
        return true;
    case 3: // straight or bent: the middle decides
        return attackerToMove;
    case 4: // a square dies whoever starts; a pyramid if the attacker takes its middle
        return sides == 4 || (most == 3 && attackerToMove);
    case 5: // the bulky five (the one five with a square in it) if the attacker takes its middle
        return sides == 5 && attackerToMove;
    default:
        return false;
    }
}

std::vector<bool> TLifeAndDeath::RegionMask() const {
    std::vector<bool> mask(TSolverBoard::kCells, false);
    for (const int p : Region)
        mask[static_cast<size_t>(p)] = true;
    return mask;
}

bool TLifeAndDeath::Play(int move) {
    if (move == TSolverBoard::kNoPoint)
        Board.Pass();
    else if (move < 0 || move >= TSolverBoard::kCells || !Board.Play(move, ToMove))
        return false;
    Passes = move == TSolverBoard::kNoPoint ? Passes + 1 : 0;
    ToMove = Other(ToMove);
    return true;
}

std::string SolverPointText(int point) {
    if (point == TSolverBoard::kNoPoint) return "TT";
    return {static_cast<char>('A' + TSolverBoard::XOf(point) - 1),
            static_cast<char>('A' + TSolverBoard::YOf(point) - 1)};
}

} // namespace karvena
