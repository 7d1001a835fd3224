#include "index/IndexLine.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

namespace karvena {

namespace {

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

} // namespace

int TIndexLine::Key() const {
    if (Head.size() < 4) return -1;
    int key = 0;
    for (int i = 0; i < 4; ++i) {
        const char c = Head[i];
        if (!std::isxdigit(static_cast<unsigned char>(c))) return -1;
        key = key * 16 +
              (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::toupper(c) - 'A' + 10);
    }
    return key;
}

TIndexLine ParseIndexLine(std::string_view text) {
    const std::string_view line = Trim(text);
    std::vector<std::string> fields;
    size_t start = 0;
    while (fields.size() < 5) {
        const size_t blank = line.find(' ', start);
        if (blank == std::string_view::npos) break;
        fields.emplace_back(line.substr(start, blank - start));
        start = blank + 1;
    }
    fields.emplace_back(line.substr(start)); // the last field present takes the remainder

    TIndexLine out;
    out.Head = fields[0];
    if (fields.size() <= 2) return out;
    out.Result = fields[1];
    out.Black = fields[2];
    if (fields.size() > 3) out.White = fields[3];
    if (fields.size() > 4) out.Initial = fields[4];
    if (fields.size() > 5) {
        // The first side, then the board's lines when the line names them (a number of 7 to
        // 18); any other remainder belongs to the side's field, as it always did.
        std::string_view side = fields[5];
        const size_t blank = side.find(' ');
        if (blank != std::string_view::npos) {
            const std::string rest(side.substr(blank + 1));
            const int lines = std::atoi(rest.c_str());
            if (lines >= 7 && lines <= 18 && rest == std::to_string(lines)) {
                out.Lines = lines;
                side = side.substr(0, blank);
            }
        }
        out.WhiteFirst = side == "W" || side == "w";
    }
    return out;
}

std::string BuildIndexLine(int key, bool flagA, bool solved, std::string_view result,
                           std::string_view black, std::string_view white,
                           std::string_view initial, bool whiteFirst, int lines) {
    if (key < 0 || key > 0xFFFF) return "";
    static constexpr char kHex[] = "0123456789ABCDEF";
    const char head[6] = {kHex[(key >> 12) & 15], kHex[(key >> 8) & 15], kHex[(key >> 4) & 15],
                          kHex[key & 15], flagA ? '1' : '0', solved ? '1' : '0'};
    // Written in one piece: a large group builds tens of thousands of lines at its opening.
    std::string line;
    line.reserve(16 + result.size() + black.size() + white.size() + initial.size());
    line.append(head, 6);
    for (const std::string_view field : {result, black, white, initial}) {
        line += ' ';
        line += field;
    }
    line += whiteFirst ? " W" : " B";
    if (lines != 19) {
        line += ' ';
        line += std::to_string(lines);
    }
    return line;
}

TThumbnailStones StonesOf(const TIndexLine& line) {
    // A setup field of odd length is not read at all, as the board does not read it.
    auto setup = [](const std::string& field) { return field.size() % 2 == 0 ? field : std::string(); };
    TThumbnailStones out{setup(line.Black), setup(line.White), std::nullopt};
    const int moves = MovesIn(line.Initial);
    for (int k = 0; k < moves; ++k) {
        const bool blackMoves = (k % 2 == 0) != line.WhiteFirst;
        (blackMoves ? out.Black : out.White) += line.Initial.substr(2 * k, 2);
    }
    if (moves > 0) {
        // The side of the last move is the first side again after an odd number of moves.
        const bool lastIsBlack = (moves % 2 == 1) != line.WhiteFirst;
        const std::string& list = lastIsBlack ? out.Black : out.White;
        out.LastMove = PointAt(list, MovesIn(list) - 1);
    }
    return out;
}

bool LineSaysSolved(std::string_view line) {
    const size_t head = line.find_first_not_of(' ');
    return head != std::string_view::npos && line.size() > head + 5 && line[head + 5] == '1' &&
           line.find(' ', head) > head + 5;
}

int SolvedCount(const std::vector<std::string>& lines) {
    // The head is read in place: a group may hold tens of thousands of lines.
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        return LineSaysSolved(line);
    }));
}

bool SetSolvedFlagOf(std::string& line, bool solved) {
    const char flag = solved ? '1' : '0';
    if (line.size() <= 5 || line[5] == flag) return false;
    line[5] = flag;
    return true;
}

bool WhiteToPlay(const TIndexLine& line) {
    return line.WhiteFirst != (MovesIn(line.Initial) % 2 == 1);
}

} // namespace karvena
