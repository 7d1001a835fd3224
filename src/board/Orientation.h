#pragma once
// TOrientation: one of the sixteen ways a problem can be shown. The eight symmetries of the
// board, numbered
//   0 as stored, 1 a quarter turn clockwise ((P, Q) goes to (N + 1 - Q, P) on N lines), 2 a
//   half turn,
//   3 a quarter turn anticlockwise, 4 a mirror left-right, 5 a mirror top-bottom,
//   6 the mirror that swaps P and Q, 7 the other diagonal mirror,
// and each of them again from 8 on with the colours swapped, so Black's problem becomes White's.
// "Apply" takes a stored point to the point the player sees, "Undo" takes it back. Only playing
// points move: "TT" and anything off the board stay as they are.
#include <string>
#include <string_view>

#include "board/Notation.h"

namespace karvena {

class TOrientation {
public:
    static constexpr int kCount = 16;
    static constexpr int kSymmetries = 8;

    // Numbers outside 0..15 give the stored orientation. `lines`: the board's size, 7 to 19.
    explicit TOrientation(int number = 0, int lines = 19)
        : m_Number(number >= 0 && number < kCount ? number : 0),
          m_Lines(lines >= 7 && lines <= 19 ? lines : 19) {}
    int Lines() const { return m_Lines; }
    int Number() const { return m_Number; }
    int Symmetry() const { return m_Number % kSymmetries; }
    bool SwapsColours() const { return m_Number >= kSymmetries; }
    bool IsIdentity() const { return m_Number == 0; }

    TPoint Apply(TPoint point) const;
    TPoint Undo(TPoint shown) const;
    // Every two-letter point of a move or point string; a trailing odd letter stays.
    std::string Apply(std::string_view points) const;
    std::string Undo(std::string_view points) const;
    // 'B' and 'W' trade places when the colours are swapped; any other letter stays.
    char Colour(char side) const;
    // The orientation that takes the player's view back to the stored problem.
    TOrientation Inverse() const;

    friend bool operator==(const TOrientation&, const TOrientation&) = default;

private:
    int m_Number;
    int m_Lines;
};

} // namespace karvena
