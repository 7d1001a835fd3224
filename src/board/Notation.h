#pragma once
// Point letters, move strings and the rank texts shared by the board, the index and the
// solution tree. A coordinate n is the letter with code 64 + n ("A" = 1 ... "S" = 19, "T" = 20);
// a point is two letters, column first; "TT" is the pass.
#include <cstdint>
#include <string>
#include <string_view>

namespace karvena {

// Side values: black is 1, white is -127 (the byte 0x81), no side is 0. Only the sign counts.
constexpr int8_t kBlack = 1;
constexpr int8_t kWhite = -127;
constexpr int8_t kNoSide = 0;

// Cell bytes of the point grid.
constexpr int8_t kBlackStone = 0x01;
constexpr int8_t kWhiteStone = static_cast<int8_t>(0x81);
constexpr int8_t kDeadBit = 0x02;

// The pass point (20, 20), written "TT".
constexpr int kPassCoord = 20;

// The opposite side: positive gives white, negative gives black, 0 gives 0.
constexpr int8_t Opponent(int side) {
    return side > 0 ? kWhite : (side < 0 ? kBlack : kNoSide);
}
// True when both values are non-zero and of one sign (two stones of one colour).
constexpr bool SameSide(int a, int b) {
    return (a > 0 && b > 0) || (a < 0 && b < 0);
}
// True when both values are non-zero and of opposite signs.
constexpr bool OppositeSides(int a, int b) {
    return (a > 0 && b < 0) || (a < 0 && b > 0);
}
// The stone byte a side writes into the grid: 0x01 for a positive side, 0x81 for a negative one.
constexpr int8_t StoneOf(int side) {
    return side > 0 ? kBlackStone : kWhiteStone;
}
// True when the cell byte holds a stone (bit 0x01).
constexpr bool IsStone(int8_t cell) {
    return (cell & 0x01) != 0;
}

// The letter of coordinate n for Go (code 64 + n), or for the piece kinds 1 and 2 (33 + n).
char CoordToLetter(int n, int gameKind = 0);
// The coordinate a letter stands for (its code minus 64, or minus 33 for kinds 1 and 2).
int LetterToCoord(char c, int gameKind = 0);

// A point of a move string: (P, Q) as read, whether or not it lies on the board.
struct TPoint {
    int P = 0;
    int Q = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// The two letters of a point, column first ("TT" for the pass).
std::string PointText(int P, int Q);
// The number of whole two-letter moves in a move string (a trailing odd letter is not a move).
inline int MovesIn(std::string_view moves) {
    return static_cast<int>(moves.size() / 2);
}
// The k-th point (from 0) of a move string; k must be below MovesIn.
TPoint PointAt(std::string_view moves, int k);
// True for a Go playing point: both coordinates 1..19.
constexpr bool IsGoPoint(int P, int Q) {
    return P >= 1 && P <= 19 && Q >= 1 && Q <= 19;
}

// A player's rank from one byte: 38 and up professional ("1p"), 31..37 amateur dan ("1d"),
// 1..30 kyu (30 is "1k"), 0 or below none ("").
std::string RankText(int8_t r);
// The information panel's text of a rank code: current rank in the low 7 bits, an earlier one in
// the high byte; " 1d*" when the rank did not fall, else " 1d (3d)".
std::string RankCodeText(int16_t code);

} // namespace karvena
