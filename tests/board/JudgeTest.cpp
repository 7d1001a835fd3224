// Counting after the game.
#include <gtest/gtest.h>

#include "board/BoardPicture.h"

namespace karvena::test {
namespace {

TEST(Judge, EmptyBoardGoesToWhiteByThirteenQuarters) {
    const struct {
        int language;
        const char* text;
    } cases[] = {
        {2, "181 vs 180 Over,White win3+1/4"},
        {0, "181 vs 180 结束, 白方获胜3又1/4子"},
    };
    for (const auto& c : cases) {
        TGoBoard board;
        board.SetLanguage(static_cast<int8_t>(c.language));
        int winner = -1, areaB = -1, areaW = -1, win = -1;
        board.OnJudge = [&](TGoBoard&, int16_t w, int16_t b, int16_t a, int16_t n) {
            winner = w;
            areaB = b;
            areaW = a;
            win = n;
        };
        board.Judge();
        EXPECT_EQ(areaB, 181);
        EXPECT_EQ(areaW, 180);
        EXPECT_EQ(winner, 1);
        EXPECT_EQ(win, 13);
        EXPECT_EQ(board.sResult(), c.text);
    }
}

TEST(Judge, TraditionalChinesePassesThroughTheConverter) {
    TGoBoard board;
    board.SetLanguage(1);
    std::string seen;
    board.OnToBig5 = [&](TGoBoard&, std::string& s) {
        seen = s;
        s = "converted";
    };
    board.Judge();
    EXPECT_EQ(seen, "181 vs 180 结束, 白方获胜3+1/4");
    EXPECT_EQ(board.sResult(), "converted");
}

TEST(Judge, MarginTexts) {
    // Black walls split the board; the column of black stones decides the margin.
    struct TCase {
        int blackColumns; // columns 1..n are black territory or stones
        int language;
        const char* suffix;
    };
    // Black stones on column n, white stones on column n + 1, both alive.
    const TCase cases[] = {
        {10, 2, "Over,Black win"}, // black 190 + 0 odd point
        {9, 0, "白方获胜"},
    };
    for (const TCase& c : cases) {
        TGoBoard board;
        std::string black, white;
        for (int q = 1; q <= 19; ++q) {
            black += PointText(c.blackColumns, q);
            white += PointText(c.blackColumns + 1, q);
        }
        board.SetArrangedSideP(black);
        board.SetArrangedSideN(white);
        board.SetLanguage(static_cast<int8_t>(c.language));
        board.Judge();
        EXPECT_EQ(board.AreaB(), 19 * c.blackColumns);
        EXPECT_EQ(board.AreaW(), 361 - 19 * c.blackColumns);
        EXPECT_NE(board.sResult().find(c.suffix), std::string::npos) << board.sResult();
    }
}

TEST(Judge, ChineseSizesBelowOneStoneAndHalves) {
    // Black owns columns 1..10 (190 points), white the rest (171).
    TGoBoard board;
    std::string black, white;
    for (int q = 1; q <= 19; ++q) {
        black += PointText(10, q);
        white += PointText(11, q);
    }
    board.SetArrangedSideP(black);
    board.SetArrangedSideN(white);
    board.SetAtone(0);
    board.Judge();
    // 190 - 171: M = 760 - 722 = 38 quarters: 9 stones and a half.
    EXPECT_EQ(board.sResult(), "190 vs 171 结束, 黑方获胜9子半");
    board.SetAtone(37);
    board.Judge();
    EXPECT_EQ(board.sResult(), "190 vs 171 结束, 黑方获胜1/4子");
    board.SetAtone(38);
    board.Judge();
    EXPECT_EQ(board.sResult(), "190 vs 171 结束, 和棋    ");
    EXPECT_EQ(board.JudgedWinner(), 2);
}

TEST(Judge, OddNeutralPointFollowsTheSideToMoveAndTheHandicap) {
    const struct {
        int handicap;
        bool oneMovePlayed;
        bool toBlack;
    } cases[] = {{0, false, true}, {0, true, false}, {2, false, false}, {2, true, true}};
    for (const auto& c : cases) {
        TGoBoard board;
        board.SetHandicap(static_cast<int8_t>(c.handicap));
        board.NewGame(false);
        if (c.oneMovePlayed) {
            ASSERT_TRUE(board.MakeMove(20, 20, false));
        }
        // Handicap stones make everything black area: take them away to keep 361 neutral.
        for (int p = 1; p <= 19; ++p)
            for (int q = 1; q <= 19; ++q)
                board.SetCell(p, q, 0);
        board.Judge();
        EXPECT_EQ(board.AreaB(), c.toBlack ? 181 : 180) << c.handicap << c.oneMovePlayed;
    }
}

TEST(Judge, DeadStonesCountAsEmpty) {
    TGoBoard board;
    SetUpPicture(board, {". . .", ". O .", ". . ."});
    board.SetCell(2, 2, static_cast<int8_t>(kWhiteStone | kDeadBit));
    board.Judge();
    EXPECT_EQ(board.AreaB(), 181);
}

} // namespace
} // namespace karvena::test
