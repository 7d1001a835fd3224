#pragma once
// The one-line description of a problem that the collection hands to the index:
//   KKKKAS result black white initial first [lines]
// KKKK the problem's key as four hex digits, A flag A, S the solved flag ("1" or "0"); then the
// result code, the black and white setup points, the initial sequence, and "W" when white moves
// first, and the board's lines when it is not 19 x 19. The thumbnail shows the starting stones
// only: setup plus the initial sequence.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "board/Notation.h"

namespace karvena {

struct TIndexLine {
    std::string Head; // field 1: key, flag A, solved flag
    std::string Result;
    std::string Black;
    std::string White;
    std::string Initial;
    bool WhiteFirst = false;
    int Lines = 19; // 7 to 19; anything else reads as 19

    // Flag A: character 5 of the head is "1".
    bool FlagA() const { return Head.size() >= 5 && Head[4] == '1'; }
    // Solved at least once: character 6 of the head is "1".
    bool Solved() const { return Head.size() >= 6 && Head[5] == '1'; }
    // The problem's key from the first four hex digits, or -1 when they are not hex.
    int Key() const;
};

// Reads a line: trimmed; field 1 runs to the first blank; the rest splits at blanks with the last
// field taking the remainder; a line of only two fields gives no result and no stones.
TIndexLine ParseIndexLine(std::string_view line);

// Whether a line's head says solved, read in place (leading blanks allowed).
bool LineSaysSolved(std::string_view line);
// How many of the lines say solved (a group's "solved/total" is this over the line count).
int SolvedCount(const std::vector<std::string>& lines);
// Writes the solved flag of a line that has a head; true when that changed it.
bool SetSolvedFlagOf(std::string& line, bool solved);

// Writes a line the index reads back: the key as four hex digits (keys above 0xFFFF do not fit
// and give an empty line), the flags, and the fields joined by single blanks; the board's lines
// last when they are not 19.
std::string BuildIndexLine(int key, bool flagA, bool solved, std::string_view result,
                           std::string_view black, std::string_view white,
                           std::string_view initial, bool whiteFirst, int lines = 19);

// Where the lines of a large group come from: the index holds its count and solved flags and
// fetches the lines of the pages it shows.
class IIndexLineSource {
public:
    virtual ~IIndexLineSource() = default;
    // The lines at positions [first, first + count); fewer, or none, when the store cannot
    // answer. Their solved flags need not be right: the index keeps its own.
    virtual std::vector<std::string> Lines(int first, int count) const = 0;
};

// The stones a thumbnail shows and the last-move mark.
struct TThumbnailStones {
    std::string Black;              // setup, then black's moves of the initial sequence
    std::string White;              // setup, then white's moves
    std::optional<TPoint> LastMove; // the last point of the side that played last
};

// Whether white plays at the line's start: white first, or black first with an odd number of
// moves in the initial sequence.
bool WhiteToPlay(const TIndexLine& line);

// The starting stones of a line: no capture is evaluated.
TThumbnailStones StonesOf(const TIndexLine& line);

} // namespace karvena
