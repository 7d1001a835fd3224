// The click table: which click becomes a move, a setup stone, a numbered move or an event.
#include <gtest/gtest.h>

#include "board/BoardPicture.h"

namespace karvena::test {
namespace {

struct TFired {
    std::vector<std::string> events;
    void Attach(TGoBoard& board) {
        board.OnLegalMove = [this](TGoBoard&, int16_t p, int16_t q, int16_t kind, int16_t promoted,
                                   bool review) {
            events.push_back("legal " + PointText(p, q) + " " + std::to_string(kind) +
                             std::to_string(promoted) + (review ? " review" : ""));
        };
        board.OnClickAtOpponentsTurn = [this](TGoBoard&, int16_t p, int16_t q) {
            events.push_back("opponents " + PointText(p, q));
        };
        board.OnLastMoveClick = [this](TGoBoard&, int16_t p, int16_t q) {
            events.push_back("last " + PointText(p, q));
        };
    }
};

TClickResult LeftClick(TGoBoard& board, int P, int Q) {
    return board.Click(P, Q, TMouseButton::Left, P, Q);
}

TEST(Click, EmptyPointInPlayModeMovesAndFires) {
    TGoBoard board;
    TFired fired;
    fired.Attach(board);
    board.SetHint(4 * 256 + 4, "D16");
    EXPECT_EQ(LeftClick(board, 4, 4), TClickResult::Move);
    EXPECT_EQ(board.Process(), "DD");
    EXPECT_EQ(board.HintPos(), -1);
    EXPECT_EQ(fired.events, std::vector<std::string>{"legal DD 00"});
    EXPECT_TRUE(board.Modified());
}

TEST(Click, PressAndReleaseOnDifferentPointsDoNothing) {
    TGoBoard board;
    EXPECT_EQ(board.Click(4, 4, TMouseButton::Left, 4, 5), TClickResult::Nothing);
    EXPECT_EQ(board.Process(), "");
}

TEST(Click, TableOfModes) {
    struct TCase {
        const char* name;
        std::function<void(TGoBoard&)> prepare;
        TPoint click;
        TClickResult result;
        std::vector<std::string> events;
    };
    const std::vector<TCase> cases = {
        {"review without study",
         [](TGoBoard& b) { b.SetReview(true); },
         {4, 4},
         TClickResult::Nothing,
         {}},
        {"game decided", [](TGoBoard& b) { b.SetWinner(1); }, {4, 4}, TClickResult::Nothing, {}},
        {"new moves disabled",
         [](TGoBoard& b) { b.SetNewMoveEnabled(false); },
         {4, 4},
         TClickResult::Nothing,
         {}},
        {"opponent to move",
         [](TGoBoard& b) {
             b.SetSingleMode(false);
             b.SetFirstToPlay(kWhite);
             b.NewGame(false);
         },
         {4, 4},
         TClickResult::Nothing,
         {}},
        {"user plays white",
         [](TGoBoard& b) {
             b.SetSingleMode(false);
             b.SetSelfSide(1);
             b.SetFirstToPlay(kWhite);
             b.NewGame(false);
         },
         {4, 4},
         TClickResult::Move,
         {"legal DD 00"}},
        {"suicide refused",
         [](TGoBoard& b) {
             SetUpPicture(b, {". X", "X ."}, kWhite);
         },
         {1, 1},
         TClickResult::RefusedMove,
         {}},
        {"stone at own turn",
         [](TGoBoard& b) { b.SetArrangedSideN("DD"); },
         {4, 4},
         TClickResult::ClickAtOpponentsTurn,
         {"opponents DD"}},
        {"last move at opponent's turn",
         [](TGoBoard& b) {
             b.SetSingleMode(false);
             Play(b, "DD");
         },
         {4, 4},
         TClickResult::LastMoveClick,
         {"last DD"}},
        {"other stone at opponent's turn",
         [](TGoBoard& b) {
             b.SetSingleMode(false);
             b.SetArrangedSideN("AA");
             Play(b, "DD");
         },
         {1, 1},
         TClickResult::Nothing,
         {}},
        {"review with numbering",
         [](TGoBoard& b) {
             b.SetReview(true);
             b.SetStudy(true);
             b.SetSingleMode(false);
             b.SetFirstToPlay(kWhite);
             b.NewGame(false);
         },
         {4, 4},
         TClickResult::NumberedMove,
         {"legal DD 00 review"}},
        {"off the board", [](TGoBoard&) {}, {20, 20}, TClickResult::Nothing, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TGoBoard board;
        c.prepare(board);
        TFired fired;
        fired.Attach(board);
        const std::string before = board.Process();
        EXPECT_EQ(LeftClick(board, c.click.P, c.click.Q), c.result);
        EXPECT_EQ(fired.events, c.events);
        if (c.result == TClickResult::Nothing) {
            EXPECT_EQ(board.Process(), before);
        }
    }
}

TEST(Click, ReviewWithNumberingNumbersEveryMove) {
    TGoBoard board;
    board.SetReview(true);
    board.SetStudy(true);
    EXPECT_EQ(LeftClick(board, 4, 4), TClickResult::NumberedMove);
    EXPECT_EQ(LeftClick(board, 16, 16), TClickResult::NumberedMove);
    EXPECT_EQ(board.NumProc(), "DDPP");
    EXPECT_EQ(board.NumberLabel(16, 16), 2);
    EXPECT_EQ(board.NextNumber(), 3);
}

TEST(Click, SetupModePlacesStonesWithoutCapture) {
    TGoBoard board;
    board.SetMode(1);
    board.SetArrangedSideN("BA");
    EXPECT_EQ(board.Click(1, 1, TMouseButton::Left, 1, 1), TClickResult::SetupStone);
    EXPECT_EQ(board.Click(1, 2, TMouseButton::Right, 0, 0), TClickResult::SetupStone);
    EXPECT_EQ(board.ArrangedSideP(), "AA");
    EXPECT_EQ(board.ArrangedSideN(), "BAAB");
    EXPECT_EQ(board.GetCell(1, 1), kBlackStone) << "no capture in setup";
    EXPECT_EQ(board.Process(), "");
    EXPECT_EQ(board.Click(1, 1, TMouseButton::Right, 0, 0), TClickResult::Nothing);
}

TEST(Click, RightButtonNeverPlays) {
    TGoBoard board;
    EXPECT_EQ(board.Click(4, 4, TMouseButton::Right, 4, 4), TClickResult::Nothing);
    EXPECT_EQ(board.Process(), "");
}

TEST(Click, AfterTheGameAClickTogglesAChainDeadAndCounts) {
    TGoBoard board;
    SetUpPicture(board, {"X X .", ". . .", ". . O"});
    board.SetGameOver(true);
    int judged = 0;
    board.OnJudge = [&](TGoBoard&, int16_t, int16_t, int16_t, int16_t) { ++judged; };
    EXPECT_EQ(LeftClick(board, 1, 1), TClickResult::DeadMarking);
    EXPECT_EQ(board.GetCell(1, 1), kBlackStone | kDeadBit);
    EXPECT_EQ(board.GetCell(2, 1), kBlackStone | kDeadBit);
    EXPECT_EQ(judged, 1);
    EXPECT_EQ(board.JudgedWinner(), 1) << "only the white stone is alive";
    EXPECT_EQ(board.AreaB(), 0);
    LeftClick(board, 2, 1);
    EXPECT_EQ(board.GetCell(1, 1), kBlackStone);
    EXPECT_EQ(judged, 2);
}

} // namespace
} // namespace karvena::test
