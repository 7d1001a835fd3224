// The rules of Go as the board applies them: captures, suicide, ko, chain ids, handicap,
// take-back and replay.
#include <gtest/gtest.h>

#include "board/BoardPicture.h"

namespace karvena::test {
namespace {

TEST(Rules, StoneOnTheFirstLineIsCapturedWhenItsLastLibertyIsFilled) {
    TGoBoard board;
    SetUpPicture(board, {". O X", ". X ."}, kBlack);
    // White B1 has one liberty left, A1; the edge never counts as one.
    ASSERT_TRUE(board.MakeMove(1, 1, false));
    EXPECT_EQ(board.GetCell(2, 1), 0);
    EXPECT_EQ(board.LastCaptureCount(), 1);
    EXPECT_EQ(CheckChains(board), "");
}

TEST(Rules, CornerStoneCapturedByTwoStones) {
    TGoBoard board;
    SetUpPicture(board, {"O X", ". ."}, kBlack);
    ASSERT_TRUE(board.MakeMove(1, 2, false));
    EXPECT_EQ(board.GetCell(1, 1), 0);
}

TEST(Rules, SuicideIsRefusedButTheSamePointIsPlayedWhenItCaptures) {
    TGoBoard board;
    // A1 for white is suicide: both neighbours are black with liberties.
    SetUpPicture(board, {". X", "X ."}, kWhite);
    EXPECT_FALSE(board.MakeMove(1, 1, true));
    EXPECT_EQ(board.GetCell(1, 1), 0);
    EXPECT_EQ(board.Process(), "");
    EXPECT_EQ(board.Turn(), kWhite);
    EXPECT_FALSE(board.Modified());

    // Now the black stones are in atari: the same white move captures both and lives.
    SetUpPicture(board, {". X O", "X O .", "O . ."}, kWhite);
    ASSERT_TRUE(board.MakeMove(1, 1, true));
    EXPECT_EQ(board.GetCell(2, 1), 0);
    EXPECT_EQ(board.GetCell(1, 2), 0);
    EXPECT_EQ(board.LastCaptureCount(), 2);
    EXPECT_TRUE(board.Modified());
    EXPECT_EQ(board.Process(), "AA");
}

TEST(Rules, SuicideOfAGroupIsRefusedAndTheChainIdsRestored) {
    TGoBoard board;
    SetUpPicture(board, {"O O O .", "O X . O", "O O O ."}, kBlack);
    const int16_t before = board.ChainId(2, 2);
    EXPECT_FALSE(board.MakeMove(3, 2, false));
    EXPECT_EQ(board.ChainId(2, 2), before);
    EXPECT_EQ(CheckChains(board), "");
}

// Ko fight in the top-left: black takes at C2, white may not retake at B2 at once.
class Ko : public ::testing::Test {
protected:
    void SetUp() override {
        SetUpPicture(board, {". X O .", "X O . O", ". X O .", ". . . ."}, kBlack);
        ASSERT_TRUE(board.MakeMove(3, 2, false)); // black C2 takes B2
        ASSERT_EQ(board.GetCell(2, 2), 0);
        ASSERT_EQ(board.LastCaptureCount(), 1);
    }
    TGoBoard board;
};

TEST_F(Ko, ImmediateRetakeIsRefused) {
    EXPECT_FALSE(board.MakeMove(2, 2, false));
    EXPECT_EQ(board.GetCell(2, 2), 0);
    EXPECT_EQ(board.Turn(), kWhite);
}

TEST_F(Ko, RetakeIsAllowedAfterAMoveElsewhere) {
    ASSERT_TRUE(board.MakeMove(10, 10, false)); // white threat
    ASSERT_TRUE(board.MakeMove(11, 10, false)); // black answers
    EXPECT_TRUE(board.MakeMove(2, 2, false));
    EXPECT_EQ(board.GetCell(3, 2), 0);
}

TEST_F(Ko, RetakeIsAllowedAfterAPass) {
    ASSERT_TRUE(board.MakeMove(20, 20, false)); // white passes
    EXPECT_EQ(board.LastCaptureCount(), 0);
    ASSERT_TRUE(board.MakeMove(20, 20, false)); // black passes
    EXPECT_TRUE(board.MakeMove(2, 2, false));
}

TEST(Rules, CapturingTwoStonesIsNeverKo) {
    TGoBoard board;
    // Black D3 takes the single white stone C3 (a ko shape); white's retake at C3 takes D3 and
    // also the lone black B3, two stones, so it is no ko.
    SetUpPicture(board, {". . . . . .", ". O X O . .", "O X O . O .", ". O X O . ."}, kBlack);
    ASSERT_TRUE(board.MakeMove(4, 3, false));
    ASSERT_EQ(board.LastCaptureCount(), 1);
    ASSERT_TRUE(board.MakeMove(3, 3, false));
    EXPECT_EQ(board.LastCaptureCount(), 2);
    EXPECT_EQ(board.GetCell(4, 3), 0);
    EXPECT_EQ(board.GetCell(2, 3), 0);
    EXPECT_EQ(CheckChains(board), "");
}

TEST(Rules, JoiningTwoChainsGivesTheIdOfTheFirstNeighbourAboveBelowLeftRight) {
    struct TCase {
        std::vector<std::string> picture;
        TPoint move;
        TPoint givesId; // the neighbour whose id wins
    };
    const TCase cases[] = {
        // Above (C1) beats left (B2) and below (C3).
        {{". . X", ". X . X", ". . X"}, {3, 2}, {3, 1}},
        // No stone above: below (C3) beats left and right.
        {{". . .", ". X . X", ". . X"}, {3, 2}, {3, 3}},
        // Only left and right: left wins.
        {{". . .", ". X . X", ". . ."}, {3, 2}, {2, 2}},
    };
    for (const TCase& c : cases) {
        TGoBoard board;
        SetUpPicture(board, c.picture, kBlack);
        const int16_t expected = board.ChainId(c.givesId.P, c.givesId.Q);
        ASSERT_TRUE(board.MakeMove(c.move.P, c.move.Q, false));
        for (int p = 1; p <= 4; ++p)
            for (int q = 1; q <= 3; ++q)
                if (IsStone(board.GetCell(p, q))) {
                    EXPECT_EQ(board.ChainId(p, q), expected);
                }
        EXPECT_EQ(CheckChains(board), "");
    }
}

TEST(Rules, NewChainTakesTheSmallestFreeId) {
    TGoBoard board;
    ASSERT_TRUE(Play(board, "AACCEE"));
    EXPECT_EQ(board.ChainId(1, 1), 1);
    EXPECT_EQ(board.ChainId(3, 3), 2);
    EXPECT_EQ(board.ChainId(5, 5), 3);
}

TEST(Rules, HandicapPlacementAndFirstSide) {
    const std::vector<std::vector<TPoint>> stones = {
        {},
        {},
        {{4, 4}, {16, 16}},
        {{4, 4}, {16, 16}, {4, 16}},
        {{4, 4}, {16, 16}, {4, 16}, {16, 4}},
        {{4, 4}, {16, 16}, {4, 16}, {16, 4}, {10, 10}},
        {{4, 4}, {16, 16}, {4, 16}, {16, 4}, {4, 10}, {16, 10}},
        {{4, 4}, {16, 16}, {4, 16}, {16, 4}, {4, 10}, {16, 10}, {10, 10}},
        {{4, 4}, {16, 16}, {4, 16}, {16, 4}, {4, 10}, {16, 10}, {10, 4}, {10, 16}},
        {{4, 4}, {16, 16}, {4, 16}, {16, 4}, {4, 10}, {16, 10}, {10, 4}, {10, 16}, {10, 10}},
    };
    for (int h = 2; h <= 9; ++h) {
        SCOPED_TRACE(h);
        TGoBoard board;
        board.SetHandicap(static_cast<int8_t>(h));
        board.NewGame(false);
        int count = 0;
        for (int p = 1; p <= 19; ++p)
            for (int q = 1; q <= 19; ++q)
                count += IsStone(board.GetCell(p, q));
        EXPECT_EQ(count, h);
        for (size_t k = 0; k < stones[h].size(); ++k) {
            const TPoint pt = stones[h][k];
            EXPECT_EQ(board.GetCell(pt.P, pt.Q), kBlackStone);
        }
        if (h > 4 && h % 2 == 1) {
            EXPECT_EQ(board.ChainId(10, 10), h);
        }
        EXPECT_EQ(board.Turn(), kWhite) << "white moves first by rule";
        EXPECT_EQ(board.Atone(), 2 * h);
        EXPECT_EQ(CheckChains(board), "");

        board.SetFirstToPlayByRule(false);
        board.NewGame(false);
        EXPECT_EQ(board.Turn(), kBlack);
    }
}

TEST(Rules, HandicapOutsideTwoToNineSetsNoStoneAndAtoneByRule) {
    const struct {
        int handicap;
        int atone;
    } cases[] = {{0, 11}, {1, 0}, {10, 20}, {-1, 0}};
    for (const auto& c : cases) {
        TGoBoard board;
        board.SetHandicap(static_cast<int8_t>(c.handicap));
        EXPECT_EQ(board.Atone(), c.atone) << c.handicap;
        EXPECT_EQ(board.GetCell(4, 4), 0);
        EXPECT_EQ(board.Turn(), kBlack);
    }
}

TEST(Rules, TakeBackWithOneMoveGivesTheSetup) {
    TGoBoard board;
    board.SetFirstToPlay(kWhite);
    board.SetArrangedSideP("CC");
    board.NewGame(false);
    ASSERT_TRUE(board.MakeMove(4, 4, false));
    board.TakeBack();
    EXPECT_EQ(board.NextMove(), 1);
    EXPECT_EQ(board.Turn(), kWhite);
    EXPECT_EQ(board.Process(), "");
    EXPECT_EQ(board.GetCell(4, 4), 0);
    EXPECT_EQ(board.GetCell(3, 3), kBlackStone);
    // With nothing played, taking back still shows the setup.
    board.TakeBack();
    EXPECT_EQ(board.GetCell(3, 3), kBlackStone);
}

TEST(Rules, TakeBackRestoresCapturedStones) {
    TGoBoard board;
    SetUpPicture(board, {". O X", ". X ."}, kBlack);
    ASSERT_TRUE(board.MakeMove(1, 1, false));
    board.TakeBack();
    EXPECT_EQ(board.GetCell(2, 1), kWhiteStone);
    EXPECT_EQ(board.GetCell(1, 1), 0);
}

TEST(Rules, GoToMoveZeroAndBeyondTheEndShowTheSetup) {
    TGoBoard board;
    board.SetArrangedSideN("AA");
    board.NewGame(false);
    ASSERT_TRUE(Play(board, "DDPPDP"));
    for (int n : {0, 4, 100}) {
        board.SetGivenProcess("DDPPDP");
        board.GoToMove(n, true);
        EXPECT_EQ(board.Process(), "") << n;
        EXPECT_EQ(board.GetCell(4, 4), 0) << n;
        EXPECT_EQ(board.GetCell(1, 1), kWhiteStone) << n;
    }
    board.GoToMove(2, true);
    EXPECT_EQ(board.Process(), "DDPP");
    EXPECT_EQ(board.Turn(), kBlack);
}

TEST(Rules, GoToMoveSkipsRefusedMovesAndRepaintsOnlyWhatChanged) {
    TGoBoard board;
    TRecordingView view;
    board.SetView(&view);
    ASSERT_TRUE(Play(board, "DDPPDP"));
    view.calls.clear();
    board.SetGivenProcess("DDDDPP"); // the second DD is refused
    board.GoToMove(3, true);
    EXPECT_EQ(board.Process(), "DDPP");
    EXPECT_TRUE(view.Has("point", 4, 16)); // D16 vanished
    EXPECT_FALSE(view.Has("point", 10, 10));
    EXPECT_TRUE(view.Has("last", 16, 16));
}

TEST(Rules, PassChangesTurnAndRecordsTT) {
    TGoBoard board;
    TRecordingView view;
    board.SetView(&view);
    ASSERT_TRUE(board.MakeMove(20, 20, true));
    EXPECT_EQ(board.Process(), "TT");
    EXPECT_EQ(board.LastP(), 20);
    EXPECT_EQ(board.LastQ(), 20);
    EXPECT_EQ(board.LastSide(), kBlack);
    EXPECT_EQ(board.Turn(), kWhite);
    EXPECT_TRUE(view.Has("pass"));
    EXPECT_TRUE(view.Has("turn"));
}

TEST(Rules, RefusedPointsOffTheBoardOrOccupied) {
    TGoBoard board;
    ASSERT_TRUE(board.MakeMove(1, 1, true));
    for (TPoint pt : {TPoint{1, 1}, TPoint{0, 5}, TPoint{20, 1}, TPoint{21, 21}, TPoint{-3, 4}}) {
        EXPECT_FALSE(board.MakeMove(pt.P, pt.Q, true));
        EXPECT_FALSE(board.Modified());
    }
    EXPECT_EQ(board.Process(), "AA");
}

TEST(Rules, MoveWithDrawingRepaintsOldMarkCapturesNewStoneAndTurn) {
    TGoBoard board;
    TRecordingView view;
    board.SetView(&view);
    SetUpPicture(board, {". O X", ". X ."}, kWhite);
    ASSERT_TRUE(board.MakeMove(10, 10, true));
    view.calls.clear();
    ASSERT_TRUE(board.MakeMove(1, 1, true)); // black captures B1
    EXPECT_TRUE(view.Has("point", 10, 10));
    EXPECT_TRUE(view.Has("point", 2, 1));
    EXPECT_TRUE(view.Has("last", 1, 1));
    EXPECT_TRUE(view.Has("turn"));
}

TEST(Rules, OwnersMarkBitKeepsTheStonesColour) {
    TGoBoard board;
    SetUpPicture(board, {". O X", ". X ."}, kBlack);
    board.SetCell(2, 1, static_cast<int8_t>(0x85)); // white stone with the owner's bit
    ASSERT_TRUE(board.MakeMove(1, 1, false));
    EXPECT_EQ(board.GetCell(2, 1), 0) << "still a white stone, so still captured";
}

// A black stone marked by the owner (0x05) is still a black stone to the Go move: a chain member
// that shares its liberties and is captured with its chain. After the mark both sides play
// elsewhere before the move under test.
TEST(Rules, AMarkedStoneIsAChainMember) {
    const struct {
        const char* name;
        std::vector<std::string> picture;
        int8_t mover;
        TPoint marked, move;
        bool accepted;
        std::vector<std::string> after;
    } cases[] = {
        {"joining a marked stone is no suicide", {"X . O .", ". O . .", ". . . .", ". . . ."},
         kBlack, {1, 1}, {2, 1}, true, {"X X O .", ". O . .", ". . . .", ". . . ."}},
        {"a chain keeps the liberty beyond its marked stone",
         {"X X X .", "O . O .", ". . . .", ". . . ."}, kWhite, {2, 1}, {2, 2}, true,
         {"X X X .", "O O O .", ". . . .", ". . . ."}},
        {"a marked stone is captured with its chain", {"X X O .", "O . . .", ". . . .", ". . . ."},
         kWhite, {1, 1}, {2, 2}, true, {". . O .", "O O . .", ". . . .", ". . . ."}},
    };
    {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            TGoBoard board;
            SetUpPicture(board, c.picture, c.mover);
            board.SetCell(c.marked.P, c.marked.Q, 0x05);
            ASSERT_TRUE(board.MakeMove(15, 15, false));
            ASSERT_TRUE(board.MakeMove(17, 17, false));
            EXPECT_EQ(board.MakeMove(c.move.P, c.move.Q, false), c.accepted);
            EXPECT_EQ(Picture(board, 4), c.after);
            EXPECT_EQ(CheckChains(board), "");
        }
    }
}

} // namespace
} // namespace karvena::test

namespace karvena::test {
namespace {

// Everything a point is drawn from.
struct TLooks {
    int8_t cell;
    int32_t number;
    uint32_t colour;
    char letter;
    int32_t mark;
    friend bool operator==(const TLooks&, const TLooks&) = default;
};
TLooks LooksOf(const TGoBoard& b, int P, int Q) {
    return {b.GetCell(P, Q), b.NumberLabel(P, Q), b.LabelColor(P, Q), b.LetterLabel(P, Q),
            b.MarkKind(P, Q)};
}

// Whatever a reset, a take-back or a replay changes on a point is repainted, and a changed turn
// moves the arrow: hint dots, numbers, letters and marks as well as stones.
TEST(Rules, ResetTakeBackAndReplayRepaintEveryPointTheyChange) {
    const struct {
        const char* name;
        std::function<void(TGoBoard&)> change;
    } cases[] = {
        {"take-back", [](TGoBoard& b) { b.TakeBack(); }},
        {"go to move 1", [](TGoBoard& b) { b.GoToMove(1, false); }},
        {"go to move 0", [](TGoBoard& b) { b.GoToMove(0, false); }},
        {"new game", [](TGoBoard& b) { b.NewGame(true); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TGoBoard board;
        board.SetFirstToPlay(kWhite);
        ASSERT_TRUE(Play(board, "DDPP"));
        board.MarkPoints("CCQQ", 0x8000); // hint dots
        board.NumberPoints("DD", 1);
        board.SetLetterLabel(5, 5, 'A');
        board.SetMarkKind(6, 6, 2);
        std::array<std::array<TLooks, 20>, 20> before{};
        for (int p = 1; p <= 19; ++p)
            for (int q = 1; q <= 19; ++q) before[p][q] = LooksOf(board, p, q);
        const int8_t turn = board.Turn();
        TRecordingView view;
        board.SetView(&view);
        c.change(board);
        const bool all = view.Has("all");
        int changed = 0;
        for (int p = 1; p <= 19; ++p)
            for (int q = 1; q <= 19; ++q)
                if (!(LooksOf(board, p, q) == before[p][q])) {
                    ++changed;
                    EXPECT_TRUE(all || view.Has("point", p, q)) << "point " << p << "," << q;
                }
        EXPECT_GT(changed, 2);
        if (board.Turn() != turn || std::string(c.name) == "new game") {
            EXPECT_TRUE(view.Has("turn")) << "the turn arrow";
        }
    }
}

} // namespace
} // namespace karvena::test

namespace karvena::test {
namespace {

// A smaller board's last line is an edge like the first: a stone there has no liberty beyond it,
// and nothing can be played past it.
TEST(Rules, TheLastLineOfASmallerBoardIsAnEdge) {
    const struct {
        int lines;
        TPoint white;            // a lone white stone on the last line or in the far corner
        std::vector<TPoint> black; // black's stones around it, the last one capturing
    } cases[] = {
        {9, {9, 9}, {{8, 9}, {9, 8}}},
        {9, {9, 5}, {{8, 5}, {9, 4}, {9, 6}}},
        {13, {5, 13}, {{5, 12}, {4, 13}, {6, 13}}},
        {7, {7, 1}, {{6, 1}, {7, 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.lines) + " lines");
        TGoBoard board;
        board.SetGoLines(c.lines);
        EXPECT_EQ(board.Rows(), c.lines);
        board.SetArrangedSideN(PointText(c.white.P, c.white.Q));
        for (size_t k = 0; k < c.black.size(); ++k) {
            ASSERT_TRUE(board.MakeMove(c.black[k].P, c.black[k].Q, false));
            if (k + 1 < c.black.size()) {
                EXPECT_NE(board.GetCell(c.white.P, c.white.Q), 0) << "still a liberty";
                ASSERT_TRUE(board.MakeMove(kPassCoord, kPassCoord, false));
            }
        }
        EXPECT_EQ(board.GetCell(c.white.P, c.white.Q), 0) << "captured at the edge";
        EXPECT_EQ(board.LastCaptureCount(), 1);
        EXPECT_EQ(CheckChains(board), "");
        // Beyond the last line: refused, and a setup point there is not placed.
        EXPECT_FALSE(board.MakeMove(c.lines + 1, 1, false));
        EXPECT_FALSE(board.MakeMove(1, c.lines + 1, false));
        board.SetArrangedSideP(PointText(c.lines + 1, c.lines + 1));
        EXPECT_EQ(board.GetCell(c.lines + 1, c.lines + 1), 0);
    }
    // Back to 19 lines: the old edge is open again.
    TGoBoard board;
    board.SetGoLines(9);
    board.SetGoLines(19);
    EXPECT_TRUE(board.MakeMove(10, 10, false));
    board.SetGoLines(6);
    EXPECT_EQ(board.Rows(), 19) << "below 7 lines is refused";
}

} // namespace
} // namespace karvena::test
