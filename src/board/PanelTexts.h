#pragma once
// The texts of the board's information panel and coordinate band, in English (language 2) and
// Chinese (languages 0 and 1; the caller converts language 1 through OnToBig5). UTF-8.
#include <cstdint>
#include <string>

namespace karvena {

// The column letters drawn along the board: no I with sgfCoordinate, else no I and no L.
char ColumnLabel(int column, bool sgfCoordinate);
// The row number drawn beside row `row`: counted from the bottom with sgfCoordinate.
int RowLabel(int row, bool sgfCoordinate, int lines = 19);
// The hovered point's text ("D16"), empty for -1 or a point off the 19 x 19 board.
std::string HintText(int16_t hintPos, bool sgfCoordinate, int lines = 19);

// The event text when there is no fee, else the bet or fee in points.
std::string EventOrFeeText(int32_t fee, const std::string& event, int language);
// "Handicap: 3", "Handicap:  1" for one stone, empty without handicap.
std::string HandicapText(int handicap, int language);
// "Atone: 3.75" for a compensation of 15 quarter stones.
std::string KomiText(int32_t atone, int language);
// "Over, White win" and the like for a decided game (0, 1, 2), else empty.
std::string ResultText(int winner, int language);
// A clock: "hh:mm:ss", with the byo-yomi period count and seconds when in overtime.
std::string ClockText(int32_t seconds, int byoYomiCount, int byoYomiLimit);
// True when the clock shows byo-yomi.
bool InByoYomi(int32_t seconds, int byoYomiCount, int byoYomiLimit);
// "At least 5 moves".
std::string MovesText(int moves, int language);

} // namespace karvena
