#include "board/Notation.h"

namespace karvena {

char CoordToLetter(int n, int gameKind) {
    const int base = (gameKind == 1 || gameKind == 2) ? 33 : 64;
    return static_cast<char>(base + n);
}

int LetterToCoord(char c, int gameKind) {
    const int base = (gameKind == 1 || gameKind == 2) ? 33 : 64;
    return static_cast<unsigned char>(c) - base;
}

std::string PointText(int P, int Q) {
    return std::string{CoordToLetter(P), CoordToLetter(Q)};
}

TPoint PointAt(std::string_view moves, int k) {
    return {LetterToCoord(moves[2 * k]), LetterToCoord(moves[2 * k + 1])};
}

std::string RankText(int8_t r) {
    if (r >= 38) return std::to_string(r - 37) + "p";
    if (r >= 31) return std::to_string(r - 30) + "d";
    if (r >= 1) return std::to_string(31 - r) + "k";
    return "";
}

std::string RankCodeText(int16_t code) {
    const int8_t high = static_cast<int8_t>(static_cast<uint16_t>(code) >> 8);
    const int8_t low = static_cast<int8_t>(code & 0x7F);
    std::string earlier = RankText(high);
    if (!earlier.empty()) earlier = "(" + earlier + ")";
    const std::string current = RankText(low);
    if (high <= low && low != 0) return " " + current + "*";
    return " " + current + " " + earlier;
}

} // namespace karvena
