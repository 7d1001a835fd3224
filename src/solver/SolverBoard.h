#pragma once
// TSolverBoard: the board the solver searches on. A padded grid (an edge cell all round), a
// stone played with its captures, suicide refused, a single ko that cannot be retaken at once,
// undo of every move, and a Zobrist hash of the stones and the ko point. The trainer's TGoBoard
// is for display; this one is made for playing and taking back millions of moves.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace karvena {

enum class TStone : uint8_t { Empty, Black, White, Edge };

constexpr TStone Other(TStone side) {
    return side == TStone::Black ? TStone::White : TStone::Black;
}

class TSolverBoard {
public:
    static constexpr int kStride = 21; // 19 lines and an edge on each side
    static constexpr int kCells = kStride * kStride;
    static constexpr int kNoPoint = 0; // an edge cell: no ko, and the pass in move lists
    static constexpr int kDirections[4] = {1, -1, kStride, -kStride};

    explicit TSolverBoard(int lines = 19);

    int Lines() const { return m_Lines; }
    // The cell of column x and row y, both from 1.
    static constexpr int PointOf(int x, int y) { return y * kStride + x; }
    static constexpr int XOf(int point) { return point % kStride; }
    static constexpr int YOf(int point) { return point / kStride; }
    bool OnBoard(int point) const { return point > 0 && point < kCells && m_Cells[point] != TStone::Edge; }

    TStone At(int point) const { return m_Cells[point]; }
    // Puts a stone or clears a point as a setup does: no capture, no ko, no undo record.
    void Set(int point, TStone stone);

    // Plays `side` at an empty point with its captures. False, and nothing changes, when the
    // point is not empty, the stone would have no liberty, or it retakes the ko at once (a ko
    // that `ignoreKo` lets be retaken).
    bool Play(int point, TStone side, bool ignoreKo = false);
    // A pass: the board stays, the ko may be retaken after it.
    void Pass();
    // Takes back the last Play or Pass.
    void Undo();
    // Moves played and not taken back.
    int Depth() const { return static_cast<int>(m_Undo.size()); }

    // The point the side to move may not play (a ko just taken), or kNoPoint.
    int KoPoint() const { return m_Ko; }
    // The stones and the ko point.
    uint64_t Hash() const { return m_Hash; }
    // Stones taken by the last move.
    int LastCaptures() const;

    // The liberties of the chain at `point`, counted up to `enough`.
    int Liberties(int point, int enough = 1000) const;
    // The points of the chain at `point`.
    std::vector<int> ChainOf(int point) const;
    // The same into `chain` (emptied first), which keeps its room for the next.
    void ChainInto(int point, std::vector<int>& chain) const;

    // The random number of a stone on a point, and of the side to move (the solver's part of a
    // position's key).
    static uint64_t StoneKey(int point, TStone stone);
    static uint64_t KoKey(int point);

private:
    struct TUndo {
        int Point;      // kNoPoint for a pass
        int Ko;         // the ko point before the move
        uint64_t Hash;  // the hash before the move
        int Captured;   // where this move's captures begin in m_Captured
    };
    // True when a point next to `point` is empty: a stone there has a liberty at least.
    bool BesideEmpty(int point) const;
    // Removes the chain at `point` (of `stone`), recording each point; returns how many.
    int RemoveChain(int point, TStone stone);
    // Marks of the flood fills: a cell is marked when it holds the current generation.
    void NextMark() const;

    int m_Lines;
    std::array<TStone, kCells> m_Cells{};
    int m_Ko = kNoPoint;
    uint64_t m_Hash = 0;
    std::vector<TUndo> m_Undo;
    std::vector<int> m_Captured;
    mutable std::array<uint32_t, kCells> m_Mark{};
    mutable uint32_t m_Generation = 0;
    mutable std::vector<int> m_Stack;
};

} // namespace karvena
