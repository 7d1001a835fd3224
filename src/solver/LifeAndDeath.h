#pragma once
// A life-and-death question and the rules of the game the solver plays to answer it.
//
// Moves are played only on the region's points (or passed); the rest of the board stays as it
// is. The target is the defender's group (its chains that share liberties): the attacker wins
// once none of its stones is left on the board (or that is sure to come: the group stands
// alone in an area too small for two eyes, see TargetDead); giving up part of the group to
// save the rest is life. The defender wins when a part of its target is unconditionally alive
// (Benson's test, the region's outside counting as no eye) or lives by an eye space of a shape
// that makes two eyes, or when both sides pass in a row: whatever the attacker could not take
// is alive, seki included, unless a defender's chain is left in atari (see DefenderLeftInAtari).
// A single ko cannot be retaken at once, except by the side the search favours, as if it had
// threats enough: the opponent when a win outright is asked (and a position that repeats on the
// line then counts against the player), the player when a won ko is asked (and a repetition
// counts for the player); "ko" is the answer when only the second is won.
#include <string>
#include <vector>

#include "solver/SolverBoard.h"

namespace karvena {

enum class TLifeGoal { Kill, Live };

enum class TSolverVerdict { Win, Ko, Loss, Unknown };

const char* VerdictName(TSolverVerdict verdict); // "win", "ko", "loss", "unknown"

struct TLifeAndDeath {
    TSolverBoard Board;
    std::vector<int> Region;  // the points where moves may be played
    std::vector<int> Target;  // the points of the defender's stones the attacker wants
    TStone Attacker = TStone::Black;
    TStone ToMove = TStone::Black;
    TLifeGoal Goal = TLifeGoal::Kill; // the player's
    int Passes = 0;           // passes in a row just before this position (0 or 1)
    std::vector<int> Preferred; // points tried first (the problem's own moves), if any
    // Points beyond the region where the board is open (the attacker's stones stand in for it
    // there): a target chain with two ways out to them has got out (see TargetEscaped).
    std::vector<int> Open;
    // Points of the region just beyond a gap of the attacker's wall (a stone in the gap keeps
    // its liberty there): the far side of the wall, where the defender has nothing to seek, and
    // the attacker plays only beside a defender's stone, to take that liberty.
    std::vector<int> Beyond;

    TStone Defender() const { return Other(Attacker); }
    // The side whose goal is asked.
    TStone Player() const { return Goal == TLifeGoal::Kill ? Attacker : Defender(); }
    // A target point that holds a defender's stone, or kNoPoint when none does.
    int TargetStone(const TSolverBoard& board) const;
    // True when no target point holds a defender's stone: the whole group has been taken.
    bool TargetCaptured(const TSolverBoard& board) const;
    // True when a target stone is unconditionally alive on `board`: the attacker, who must
    // take them all, can never take that one.
    // So is a target chain that has escaped (TargetEscaped).
    bool TargetAlive(const TSolverBoard& board, const std::vector<bool>& inRegion) const;
    // True when a chain of the target has two ways out to the open board or more (Open points
    // beside it, or its liberties beside one), so that no move of the attacker shuts it in: it
    // has got out, and the region cannot follow it further.
    bool TargetEscaped(const TSolverBoard& board) const;
    // True when the target is dead however it is played: it stands alone around one eye space
    // that no capture can widen and that cannot make two eyes (see EyeSpaceDies), or around a
    // space of two or three points with the attacker's stones in it, the middle of three among
    // them.
    bool TargetDead(const TSolverBoard& board, const std::vector<bool>& inRegion,
                    bool attackerToMove) const;
    // True when a target chain lives by one eye space of its own: three to five empty points
    // of the region, each touching the chain and nothing but the chain and the edge, shaped to
    // make two eyes however the attacker plays (see EyeSpaceLives). The chain can then never
    // be taken.
    bool TargetLivesByItsEyeSpace(const TSolverBoard& board, const std::vector<bool>& inRegion,
                                  bool attackerToMove) const;
    // True when a chain of the target, or a defender's chain whose last liberty is the target's
    // too (the stone of the group's own ko), is in atari with its liberty in the region. When
    // both sides pass so, the defender could not mend it: a ko the defender can only prolong (it
    // retakes, but can never connect) is death, as a player confirming the result would count it.
    bool DefenderLeftInAtari(const TSolverBoard& board, const std::vector<bool>& inRegion) const;
    // inRegion[point] for every cell.
    std::vector<bool> RegionMask() const;
    // Plays `move` (kNoPoint: a pass) for the side to move, which then changes, as does the
    // count of passes in a row. False, and nothing changes, when the move is not legal.
    bool Play(int move);
};

// True when a single eye space, its points all empty and all touching the one chain around it,
// cannot make two eyes: at most two points; three, a pyramid four or a bulky five with the
// attacker to move, who takes the middle; a square four whoever moves.
bool EyeSpaceDies(const std::vector<int>& space, bool attackerToMove);
// True when a single eye space, its points all empty and all touching the one chain that alone
// encloses it, makes two eyes: three points or a pyramid four with the defender to move, who
// takes the middle; four in a row or bent whoever moves; any five but the bulky and the crossed
// whoever moves, those two with the defender to move.
bool EyeSpaceLives(const std::vector<int>& space, bool attackerToMove);

// The text of a point ("AA" is column 1, row 1, as the trainer's notation), or "TT" for a pass.
std::string SolverPointText(int point);

} // namespace karvena
