// Seeded random games: the chain ids stay consistent after every move, and replaying a game
// through GoToMove rebuilds exactly the position reached move by move.
#include <gtest/gtest.h>

#include <random>

#include "board/BoardPicture.h"

namespace karvena::test {
namespace {

using TCells = std::array<std::array<int8_t, 21>, 21>;

TCells Snapshot(const TGoBoard& board) {
    TCells cells{};
    for (int p = 0; p < 21; ++p)
        for (int q = 0; q < 21; ++q)
            cells[p][q] = board.GetCell(p, q);
    return cells;
}

// Plays one random legal move (or a pass when the tries run out); returns the move played.
TPoint RandomMove(TGoBoard& board, std::mt19937& random) {
    std::uniform_int_distribution<int> coordinate(1, 19);
    for (int tries = 0; tries < 50; ++tries) {
        const int p = coordinate(random);
        const int q = coordinate(random);
        if (board.MakeMove(p, q, false)) return {p, q};
    }
    board.MakeMove(20, 20, false);
    return {20, 20};
}

TEST(RandomGames, ChainsStayConsistentAndReplayMatches) {
    std::mt19937 random(20261208);
    int moves = 0;
    int games = 0;
    int captures = 0;
    while (moves < 12000) {
        TGoBoard board;
        std::vector<TCells> positions{Snapshot(board)};
        const int length = 150 + static_cast<int>(random() % 250);
        for (int k = 0; k < length; ++k) {
            RandomMove(board, random);
            captures += board.LastCaptureCount();
            positions.push_back(Snapshot(board));
            ++moves;
            const std::string problem = CheckChains(board);
            ASSERT_EQ(problem, "") << "game " << games << " move " << k;
        }
        ASSERT_EQ(board.NextMove(), length + 1);

        // Rebuild a few positions of the game from its record, cell by cell.
        const std::string record = board.Process();
        board.SetGivenProcess(record);
        for (int n : {length, length / 2, 1, length - 1}) {
            board.GoToMove(n, true);
            ASSERT_EQ(Snapshot(board), positions[n]) << "game " << games << " move " << n;
            ASSERT_EQ(CheckChains(board), "");
            ASSERT_EQ(MovesIn(board.Process()), n);
        }
        ++games;
    }
    EXPECT_GT(captures, 100) << "the games must exercise captures";
}

TEST(RandomGames, TakeBackStepByStepRetracesTheGame) {
    std::mt19937 random(7);
    TGoBoard board;
    std::vector<TCells> positions{Snapshot(board)};
    for (int k = 0; k < 120; ++k) {
        RandomMove(board, random);
        positions.push_back(Snapshot(board));
    }
    for (int k = 120; k > 0; --k) {
        board.TakeBack();
        ASSERT_EQ(Snapshot(board), positions[k - 1]) << k;
    }
}

} // namespace
} // namespace karvena::test

namespace karvena::test {
namespace {

// The rules written plainly, for the tests only: colours on a grid (the sign of a cell, so marks
// and the dead bit do not matter), every opponent chain without a liberty captured wherever it
// is (found by flood fill), suicide refused, and a single stone that has just captured a single
// stone not taken back at once.
class TRulesOracle {
public:
    TRulesOracle(const TGoBoard& start, int lines) : m_Lines(lines), m_Turn(start.Turn()) {
        for (int p = 1; p <= lines; ++p)
            for (int q = 1; q <= lines; ++q) m_Colour[p][q] = Sign(start.GetCell(p, q));
    }
    // The position after the moves of a record, from this one.
    TRulesOracle Replayed(const std::string& record) const {
        TRulesOracle after = *this;
        for (int k = 0; k < MovesIn(record); ++k) {
            const TPoint pt = PointAt(record, k);
            EXPECT_TRUE(after.Play(pt.P, pt.Q)) << "the record's move " << k << " is legal";
        }
        return after;
    }
    bool Play(int p, int q) {
        if (p == kPassCoord && q == kPassCoord) {
            m_Last = {p, q};
            m_LastCaptures = 0;
            m_Turn = -m_Turn;
            return true;
        }
        if (p < 1 || q < 1 || p > m_Lines || q > m_Lines || m_Colour[p][q] != 0) return false;
        const auto before = m_Colour;
        m_Colour[p][q] = m_Turn;
        std::vector<TPoint> captured;
        for (int x = 1; x <= m_Lines; ++x)
            for (int y = 1; y <= m_Lines; ++y)
                if (m_Colour[x][y] == -m_Turn && !HasLiberty(x, y)) captured.push_back({x, y});
        const bool suicide = captured.empty() && !HasLiberty(p, q);
        const bool ko =
            captured.size() == 1 && m_LastCaptures == 1 && captured[0] == m_Last;
        if (suicide || ko) {
            m_Colour = before;
            return false;
        }
        for (const TPoint c : captured) m_Colour[c.P][c.Q] = 0;
        m_Last = {p, q};
        m_LastCaptures = static_cast<int>(captured.size());
        m_Turn = -m_Turn;
        return true;
    }
    int Colour(int p, int q) const { return m_Colour[p][q]; }
    int LastCaptures() const { return m_LastCaptures; }

private:
    static int Sign(int8_t cell) { return cell > 0 ? 1 : (cell < 0 ? -1 : 0); }
    bool HasLiberty(int p, int q) const {
        const int colour = m_Colour[p][q];
        std::array<std::array<bool, 21>, 21> seen{};
        std::vector<TPoint> todo{{p, q}};
        seen[p][q] = true;
        while (!todo.empty()) {
            const TPoint at = todo.back();
            todo.pop_back();
            for (const TPoint d : {TPoint{1, 0}, TPoint{-1, 0}, TPoint{0, 1}, TPoint{0, -1}}) {
                const int x = at.P + d.P, y = at.Q + d.Q;
                if (x < 1 || y < 1 || x > m_Lines || y > m_Lines) continue;
                if (m_Colour[x][y] == 0) return true;
                if (m_Colour[x][y] == colour && !seen[x][y]) {
                    seen[x][y] = true;
                    todo.push_back({x, y});
                }
            }
        }
        return false;
    }
    int m_Lines;
    int m_Turn;
    std::array<std::array<int, 21>, 21> m_Colour{};
    TPoint m_Last{0, 0};
    int m_LastCaptures = 0;
};

// The Go move gives exactly what the plain rules give: the same acceptance of every try, the
// same stones and captures, and chain ids that match the stones. Played from an empty board and
// from setups (one with a chain left without a liberty, which the next move captures wherever it
// is played), with stones marked by the owner's bit as the solve loop marks flagged moves, and
// with take-backs and jumps back through the record mixed in. Smaller boards too: their edge is the ring, and a try beyond it is refused.
TEST(RandomGames, TheGoMoveAgreesWithThePlainRules) {
    for (const int lines : {19, 9, 13})
    for (const char* setup : {"", "DDEEFFDQ", "AABBCC"}) {
        SCOPED_TRACE(std::string(setup) + " on " + std::to_string(lines) + " lines");
        std::mt19937 random(77);
        std::uniform_int_distribution<int> coordinate(1, lines == 19 ? 19 : lines + 1);
        TGoBoard board;
        board.SetGoLines(lines);
        board.SetArrangedSideP(setup);
        // White stones at BA and AB leave black's AA without a liberty.
        board.SetArrangedSideN(std::string(setup) == "AABBCC" ? "BAAB" : "");
        int tries = 0, captures = 0, marked = 0, jumps = 0;
        for (int game = 0; game < 30; ++game) {
            board.NewGame(false);
            TRulesOracle start(board, lines);
            TRulesOracle oracle = start;
            for (int k = 0; k < 400; ++k) {
                const int p = coordinate(random), q = coordinate(random);
                const bool played = board.MakeMove(p, q, false);
                ++tries;
                ASSERT_EQ(played, oracle.Play(p, q)) << "try " << tries << " at " << p << "," << q;
                // The solve loop marks the stone of a flagged move with the owner's bit.
                if (played && tries % 7 == 0) {
                    const int8_t v = board.GetCell(p, q);
                    board.SetCell(p, q, static_cast<int8_t>(v > 0 ? v | 0x04 : -((-v) | 0x04)));
                    ++marked;
                }
                // Take-backs and a jump back through the record: the board replays the record,
                // and so does the oracle, from the start.
                if (tries % 53 == 0) {
                    board.TakeBack();
                    oracle = start.Replayed(board.Process());
                }
                if (tries % 331 == 0) {
                    board.SetGivenProcess(board.Process());
                    board.GoToMove(MovesIn(board.Process()) / 2, true);
                    oracle = start.Replayed(board.Process());
                    ++jumps;
                }
                captures += board.LastCaptureCount();
                ASSERT_EQ(board.LastCaptureCount(), oracle.LastCaptures()) << "try " << tries;
                ASSERT_FALSE(played && (p > lines || q > lines)) << "a move beyond the edge";
                for (int x = 0; x <= 20; ++x)
                    for (int y = 0; y <= 20; ++y) {
                        const int8_t cell = board.GetCell(x, y);
                        const int colour = cell > 0 ? 1 : (cell < 0 ? -1 : 0);
                        if (x >= 1 && y >= 1 && x <= lines && y <= lines)
                            ASSERT_EQ(colour, oracle.Colour(x, y))
                                << "try " << tries << " at " << x << "," << y;
                        else
                            ASSERT_EQ(cell, 0) << "beyond the edge";
                    }
                ASSERT_EQ(CheckChains(board), "") << "try " << tries;
            }
        }
        EXPECT_GT(captures, 100) << "captures and ko were exercised";
        EXPECT_GT(marked, lines == 19 ? 400 : 100) << "marked stones were played beside";
        EXPECT_GT(jumps, 15) << "take-backs and jumps were mixed in";
    }
}

} // namespace
} // namespace karvena::test
