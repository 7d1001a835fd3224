// Counting after the game: dead stones count as empty, each empty point goes to the colour it
// sees alone along its row and column, and the margin is compared with the compensation.
#include "board/GoBoard.h"

namespace karvena {

namespace {

constexpr std::array<TPoint, 4> kLookOrder{{{0, 1}, {1, 0}, {0, -1}, {-1, 0}}};

// The value of the first point along a direction for which `value` is non-zero, or 0.
template <typename F> int FirstMet(int P, int Q, TPoint d, F value) {
    for (int p = P + d.P, q = Q + d.Q; IsGoPoint(p, q); p += d.P, q += d.Q) {
        const int v = value(p, q);
        if (v != 0) return v;
    }
    return 0;
}

// The verdict texts by language (0 and 1 Chinese, 2 English) and winner (black, white, even).
constexpr const char* kVerdicts[2][3] = {
    {"结束, 黑方获胜", "结束, 白方获胜", "结束, 和棋    "},
    {"Over,Black win", "Over,White win", "Over, Peace   "},
};

std::string MarginText(int language, int margin) {
    const int whole = margin / 4;
    const int quarters = margin % 4;
    if (language == 0) {
        if (whole > 0) {
            constexpr const char* units[4] = {"子", "又1/4子", "子半", "又3/4子"};
            return std::to_string(whole) + units[quarters];
        }
        constexpr const char* parts[4] = {"", "1/4子", "半子", "3/4子"};
        return parts[quarters];
    }
    constexpr const char* parts[4] = {"", "1/4", "1/2", "3/4"};
    return (whole > 0 ? std::to_string(whole) + "+" : std::string()) + parts[quarters];
}

} // namespace

void TGoBoard::Judge() {
    TGrid<int> s{};
    TGrid<int> t{};
    for (int p = 1; p <= 19; ++p) {
        for (int q = 1; q <= 19; ++q) {
            const int8_t cell = m_Cell[p][q];
            if (!IsStone(cell) || (cell & kDeadBit)) continue;
            s[p][q] = cell > 0 ? 1 : -1;
        }
    }
    // First pass: an empty point that sees only one colour along its lines belongs to it.
    for (int p = 1; p <= 19; ++p) {
        for (int q = 1; q <= 19; ++q) {
            if (s[p][q] != 0) continue;
            bool black = false, white = false;
            for (const TPoint d : kLookOrder) {
                const int v = FirstMet(p, q, d, [&](int x, int y) { return s[x][y]; });
                black |= v > 0;
                white |= v < 0;
            }
            if (black != white) t[p][q] = black ? 1 : -1;
        }
    }
    // Second pass: what is still open looks for settled area too, as it is being filled.
    for (int p = 1; p <= 19; ++p) {
        for (int q = 1; q <= 19; ++q) {
            if (s[p][q] != 0 || t[p][q] != 0) continue;
            bool plus = false, minus = false;
            for (const TPoint d : kLookOrder) {
                const int v = FirstMet(p, q, d, [&](int x, int y) { return s[x][y] + t[x][y]; });
                plus |= v == 1;
                minus |= v == -1;
            }
            if (plus != minus) t[p][q] = plus ? 1 : -1;
        }
    }

    int blackStones = 0, whiteStones = 0, blackArea = 0, whiteArea = 0;
    for (int p = 1; p <= 19; ++p) {
        for (int q = 1; q <= 19; ++q) {
            blackStones += s[p][q] == 1;
            whiteStones += s[p][q] == -1;
            blackArea += t[p][q] == 1;
            whiteArea += t[p][q] == -1;
        }
    }
    const int neutral = 361 - blackStones - whiteStones - blackArea - whiteArea;
    int blackTotal = blackStones + blackArea;
    int whiteTotal = whiteStones + whiteArea;
    if (neutral % 2 != 0) {
        // The odd neutral point goes to the side to move (white first in a handicap game).
        const bool oddMove = m_NextMove % 2 != 0;
        const bool toBlack = m_Handicap == 0 ? oddMove : !oddMove;
        (toBlack ? blackTotal : whiteTotal) += 1;
    }
    blackTotal += neutral / 2;
    whiteTotal += neutral / 2;

    int margin = 4 * blackTotal - 722;
    if (m_Handicap == 0)
        margin -= m_Atone;
    else if (m_Handicap > 1)
        margin -= 2 * m_Handicap;
    m_JudgedWinner = margin > 0 ? 0 : (margin < 0 ? 1 : 2);
    if (margin < 0) margin = -margin;

    const int language = m_Language == 2 ? 1 : 0;
    std::string text = std::to_string(blackTotal) + " vs " + std::to_string(whiteTotal) + " " +
                       kVerdicts[language][m_JudgedWinner];
    if (margin != 0) text += MarginText(m_Language, margin);
    text = LocalText(text);

    m_AreaB = static_cast<int16_t>(blackTotal);
    m_AreaW = static_cast<int16_t>(whiteTotal);
    m_sResult = text;
    m_View->RedrawInfo(TInfoElement::Result);
    if (OnJudge) OnJudge(*this, m_JudgedWinner, m_AreaB, m_AreaW, static_cast<int16_t>(margin));
}

void TGoBoard::ToggleDead(int P, int Q) {
    if (!IsOnBoard(P, Q) || m_Chain[P][Q] <= 0) return;
    ClearHint();
    if (IsStone(m_Cell[P][Q])) {
        const int16_t id = m_Chain[P][Q];
        const bool wasDead = (m_Cell[P][Q] & kDeadBit) != 0;
        for (int p = 1; p <= 19; ++p) {
            for (int q = 1; q <= 19; ++q) {
                if (m_Chain[p][q] != id || !IsStone(m_Cell[p][q])) continue;
                const int8_t changed = wasDead ? static_cast<int8_t>(m_Cell[p][q] & 0x81)
                                               : static_cast<int8_t>(m_Cell[p][q] | kDeadBit);
                if (changed == m_Cell[p][q]) continue;
                m_Cell[p][q] = changed;
                m_View->RedrawPoint(p, q);
            }
        }
    }
    Judge();
}

} // namespace karvena
