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

// The move's shortcut for clean positions gives exactly what the whole-board move gives: the
// same acceptance of every try, the same stones, chain ids, captures and records. Played from an
// empty board and from a setup (where the whole-board move runs until the position is clean),
// with some stones marked by the owner's bit as the solve loop marks flagged moves, and with
// take-backs and jumps back through the record mixed in.
// Smaller boards too: their edge is the ring, and a try beyond it is refused by both.
TEST(RandomGames, TheLocalMoveAgreesWithTheWholeBoardMove) {
    for (const int lines : {19, 9, 13})
    for (const char* setup : {"", "DDEEFFDQ"}) {
        SCOPED_TRACE(std::string(setup) + " on " + std::to_string(lines) + " lines");
        std::mt19937 random(77);
        std::uniform_int_distribution<int> coordinate(1, lines == 19 ? 19 : lines + 1);
        TGoBoard local, whole;
        whole.LocalMoves = false;
        for (TGoBoard* b : {&local, &whole}) {
            b->SetGoLines(lines);
            b->SetArrangedSideP(setup);
        }
        int tries = 0, captures = 0, marked = 0, jumps = 0;
        for (int game = 0; game < 30; ++game) {
            for (TGoBoard* b : {&local, &whole}) b->NewGame(false);
            for (int k = 0; k < 400; ++k) {
                const int p = coordinate(random), q = coordinate(random);
                const bool a = local.MakeMove(p, q, false);
                const bool b = whole.MakeMove(p, q, false);
                ++tries;
                ASSERT_EQ(a, b) << "try " << tries << " at " << p << "," << q;
                // The solve loop marks the stone of a flagged move with the owner's bit.
                if (a && tries % 7 == 0) {
                    for (TGoBoard* m : {&local, &whole}) {
                        const int8_t v = m->GetCell(p, q);
                        m->SetCell(p, q, static_cast<int8_t>(v > 0 ? v | 0x04 : -((-v) | 0x04)));
                    }
                    ++marked;
                }
                // Take-backs and a jump back through the record, on both boards alike.
                if (tries % 53 == 0)
                    for (TGoBoard* m : {&local, &whole}) m->TakeBack();
                if (tries % 331 == 0) {
                    const int back = MovesIn(local.Process()) / 2;
                    for (TGoBoard* m : {&local, &whole}) {
                        m->SetGivenProcess(m->Process());
                        m->GoToMove(back, true);
                    }
                    ++jumps;
                }
                captures += local.LastCaptureCount();
                ASSERT_EQ(local.LastCaptureCount(), whole.LastCaptureCount());
                ASSERT_FALSE(a && (p > lines || q > lines)) << "a move beyond the edge";
                for (int x = 0; x <= 20; ++x)
                    for (int y = 0; y <= 20; ++y) {
                        ASSERT_EQ(local.GetCell(x, y), whole.GetCell(x, y)) << "try " << tries;
                        ASSERT_EQ(local.ChainId(x, y), whole.ChainId(x, y)) << "try " << tries;
                        if (x > lines || y > lines) {
                            ASSERT_EQ(local.GetCell(x, y), 0);
                        }
                    }
            }
            ASSERT_EQ(local.Process(), whole.Process());
        }
        EXPECT_GT(captures, 100) << "captures and ko were exercised";
        EXPECT_GT(marked, lines == 19 ? 400 : 100) << "marked stones were played beside";
        EXPECT_GT(jumps, 15) << "take-backs and jumps were mixed in";
    }
}

} // namespace
} // namespace karvena::test
