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

bool TLifeAndDeath::TargetCaptured(const TSolverBoard& board) const {
    const TStone defender = Defender();
    return std::any_of(Target.begin(), Target.end(),
                       [&](int p) { return board.At(p) != defender; });
}

bool TLifeAndDeath::TargetAlive(const TSolverBoard& board, const std::vector<bool>& inRegion) const {
    if (Target.empty()) return false;
    return AllUnconditionallyAlive(board, Defender(), Region, inRegion, Target);
}

std::vector<bool> TLifeAndDeath::RegionMask() const {
    std::vector<bool> mask(TSolverBoard::kCells, false);
    for (const int p : Region)
        mask[static_cast<size_t>(p)] = true;
    return mask;
}

std::string SolverPointText(int point) {
    if (point == TSolverBoard::kNoPoint) return "TT";
    return {static_cast<char>('A' + TSolverBoard::XOf(point) - 1),
            static_cast<char>('A' + TSolverBoard::YOf(point) - 1)};
}

} // namespace karvena
