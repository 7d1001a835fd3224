// The notation setters (Process, setup strings, numbering) and the published properties.
#include <gtest/gtest.h>

#include "board/BoardPicture.h"

namespace karvena::test {
namespace {

TEST(ProcessSetter, EmptyValueResetsToTheSetup) {
    TGoBoard board;
    board.SetArrangedSideP("CC");
    ASSERT_TRUE(Play(board, "DDPP"));
    board.SetProcess("");
    EXPECT_EQ(board.Process(), "");
    EXPECT_EQ(board.NextMove(), 1);
    EXPECT_EQ(board.GetCell(4, 4), 0);
    EXPECT_EQ(board.GetCell(3, 3), kBlackStone);
}

TEST(ProcessSetter, AppendingTTPasses) {
    TGoBoard board;
    board.SetProcess("DD");
    board.SetProcess("DDTT");
    EXPECT_EQ(board.NextMove(), 3);
    EXPECT_EQ(board.Turn(), kBlack);
    EXPECT_EQ(board.LastP(), 20);
    EXPECT_EQ(board.LastQ(), 20);
    EXPECT_TRUE(board.Modified()) << "the one-move extension is played with drawing";
}

TEST(ProcessSetter, TableOfValues) {
    const struct {
        const char* start;
        const char* value;
        const char* result;
    } cases[] = {
        {"DD", "DDP", "DD"},        // odd length ignored
        {"DD", "DDDD", "DD"},       // extension onto an occupied point refused
        {"DD", "DDZZ", "DD"},       // extension off the board ignored
        {"", "DDDDPP", "DDPP"},     // rebuild leaves the occupied move out
        {"DDPP", "AABB", "AABB"},   // anything else is rebuilt from the setup
        {"", "AAZZBB", "AABB"},     // letters off the board are skipped
        {"DD", "DDPPDP", "DDPPDP"}, // two more moves are a rebuild, with the same result
    };
    for (const auto& c : cases) {
        TGoBoard board;
        board.SetProcess(c.start);
        board.SetProcess(c.value);
        EXPECT_EQ(board.Process(), c.result) << c.start << " -> " << c.value;
        EXPECT_EQ(board.NextMove(), MovesIn(c.result) + 1);
    }
}

TEST(ProcessSetter, NeverFiresOnLegalMove) {
    TGoBoard board;
    int fired = 0;
    board.OnLegalMove = [&](TGoBoard&, int16_t, int16_t, int16_t, int16_t, bool) { ++fired; };
    board.SetProcess("DD");
    board.SetProcess("DDPP");
    board.SetProcess("AA");
    EXPECT_EQ(fired, 0);
}

TEST(SetupStrings, OddLengthIsStoredButNotPlaced) {
    TGoBoard board;
    board.SetArrangedSideP("AABBC");
    EXPECT_EQ(board.ArrangedSideP(), "AABBC");
    EXPECT_EQ(board.GetCell(1, 1), 0);
    EXPECT_EQ(board.GetCell(2, 2), 0);
}

TEST(SetupStrings, ReplacingEmptiesTheOldPoints) {
    TGoBoard board;
    TRecordingView view;
    board.SetView(&view);
    board.SetArrangedSideN("AABB");
    board.SetArrangedSideN("CC");
    EXPECT_EQ(board.GetCell(1, 1), 0);
    EXPECT_EQ(board.GetCell(2, 2), 0);
    EXPECT_EQ(board.GetCell(3, 3), kWhiteStone);
    EXPECT_TRUE(view.Has("all"));
    // Reset keeps the setup and places it again.
    board.NewGame(false);
    EXPECT_EQ(board.GetCell(3, 3), kWhiteStone);
}

TEST(SetupStrings, InitialProcSplitsAtTheFirstSpace) {
    const struct {
        const char* value;
        const char* black;
        const char* white;
    } cases[] = {{"AB", "AB", ""},
                 {"CCDC ECFC", "CCDC", "ECFC"},
                 {" EE", "", "EE"},
                 {"AA BB CC", "AA", "BB CC"}};
    for (const auto& c : cases) {
        TGoBoard board;
        board.SetArrangedSideN("SS");
        board.SetInitialProc(c.value);
        EXPECT_EQ(board.ArrangedSideP(), c.black);
        EXPECT_EQ(board.ArrangedSideN(), c.white);
    }
    TGoBoard board;
    board.SetInitialProc("AB");
    EXPECT_EQ(board.GetCell(1, 2), kBlackStone);
}

TEST(SetupStrings, LongSetupsArePlacedWhole) {
    // More points than a signed byte counts: every point is still placed.
    std::string black, white;
    for (int q = 1; q <= 19; ++q) {
        for (int p = 1; p <= 19; ++p) {
            if (p <= 9) black += PointText(p, q);
            if (p >= 11) white += PointText(p, q);
        }
    }
    ASSERT_GT(MovesIn(black), 127);
    TGoBoard board;
    board.SetInitialProc(black + " " + white);
    EXPECT_EQ(board.GetCell(9, 19), kBlackStone);
    EXPECT_EQ(board.GetCell(19, 19), kWhiteStone);
    EXPECT_EQ(CheckChains(board), "");
}

TEST(SetupStrings, ManyChainsAtOnceKeepDistinctIds) {
    // A checkerboard of single stones: 181 black chains and 180 white ones.
    std::string black, white;
    for (int p = 1; p <= 19; ++p)
        for (int q = 1; q <= 19; ++q)
            ((p + q) % 2 == 0 ? black : white) += PointText(p, q);
    TGoBoard board;
    board.SetArrangedSideP(black);
    board.SetArrangedSideN(white);
    EXPECT_EQ(CheckChains(board), "");
    EXPECT_EQ(board.ChainId(19, 18), 361) << "the last white stone takes the last id";
}

TEST(Numbering, ExtendShortenAndReplace) {
    TGoBoard board;
    board.SetNumProc("DDPP");
    EXPECT_EQ(board.NumberLabel(4, 4), 1);
    EXPECT_EQ(board.NumberLabel(16, 16), 2);
    EXPECT_EQ(board.Process(), "DDPP");

    board.SetNumProc("DDPPDP"); // extends
    EXPECT_EQ(board.NumberLabel(4, 16), 3);
    EXPECT_EQ(board.Process(), "DDPPDP");

    board.SetNumProc("DD"); // shortens: back to the base, then played again
    EXPECT_EQ(board.Process(), "DD");
    EXPECT_EQ(board.NumberLabel(4, 4), 1);
    EXPECT_EQ(board.NumberLabel(16, 16), 0);
    EXPECT_EQ(board.GetCell(16, 16), 0);

    board.SetNumProc("AB"); // neither: labels removed, base restored, replayed silently
    EXPECT_EQ(board.NumProc(), "AB");
    EXPECT_EQ(board.NumberLabel(4, 4), 0);
    EXPECT_EQ(board.GetCell(4, 4), 0);
    EXPECT_EQ(board.NumberLabel(1, 2), 1);

    board.SetNumProc("");
    EXPECT_EQ(board.NumberLabel(1, 2), 0);
    EXPECT_EQ(board.NumProc(), "");
}

TEST(Numbering, StartsAtTheBaseMove) {
    TGoBoard board;
    ASSERT_TRUE(Play(board, "AABB"));
    board.SetBaseNum(3);
    EXPECT_EQ(board.NextNumber(), 3);
    board.SetNumProc("CC");
    EXPECT_EQ(board.Process(), "AABBCC");
    EXPECT_EQ(board.NumberLabel(3, 3), 1);
    board.SetNumProc("DDEE"); // replaced: back to move 2, then the new moves
    EXPECT_EQ(board.Process(), "AABBDDEE");
    EXPECT_EQ(board.BaseNum(), 3) << "the numbering base survives going back to it";
    EXPECT_EQ(board.NumberLabel(3, 3), 0);
    EXPECT_EQ(board.NumberLabel(5, 5), 2);
}

TEST(Numbering, TrimNumbersKeepsTheFirstMoves) {
    TGoBoard board;
    board.SetNumProc("AABBCC");
    const int next = board.NextNumber();
    board.TrimNumbers(1);
    EXPECT_EQ(board.NumProc(), "AA");
    EXPECT_EQ(board.NumberLabel(1, 1), 1);
    EXPECT_EQ(board.NumberLabel(2, 2), 0);
    EXPECT_EQ(board.NextNumber(), next - 2);
}

TEST(Numbering, NumberPointsAndMarks) {
    TGoBoard board;
    TRecordingView view;
    board.SetView(&view);
    board.NumberPoints("AAZZCC", 1);
    EXPECT_EQ(board.NumberLabel(1, 1), 1);
    EXPECT_EQ(board.NumberLabel(3, 3), 3) << "numbered by position in the string";

    board.MarkPoints("DDEE", 0x8000);
    EXPECT_EQ(board.LabelColor(4, 4), 0x8000u);
    view.calls.clear();
    board.MarkPoints("DD", 0x8000);
    EXPECT_TRUE(view.calls.empty()) << "an unchanged colour is not redrawn";
    board.ClearMarks();
    EXPECT_EQ(board.LabelColor(5, 5), 0u);
    EXPECT_EQ(view.Count("point"), 2);
}

TEST(Properties, ConstructorDefaults) {
    TGoBoard board;
    EXPECT_EQ(board.Turn(), kBlack);
    EXPECT_EQ(board.FirstToPlay(), kBlack);
    EXPECT_TRUE(board.FirstToPlayByRule());
    EXPECT_EQ(board.Winner(), 9);
    EXPECT_EQ(board.Atone(), 15);
    EXPECT_EQ(board.Handicap(), 0);
    EXPECT_EQ(board.BaseNum(), 1);
    EXPECT_EQ(board.NextNumber(), 1);
    EXPECT_EQ(board.NextMove(), 1);
    EXPECT_EQ(board.HintPos(), -1);
    EXPECT_EQ(board.Bold(), 2);
    EXPECT_TRUE(board.SingleMode());
    EXPECT_TRUE(board.NewMoveEnabled());
    EXPECT_TRUE(board.StudyEnabled());
    EXPECT_EQ(board.FileName(), "GoGames.GOG");
    EXPECT_EQ(board.GoGameVersion(), "02");
    EXPECT_EQ(board.Look().Radius, 6);
    EXPECT_EQ(board.Look().Coordinate, 20);
    EXPECT_EQ(board.Look().BoardColor, 26265u);
    EXPECT_EQ(board.Look().DisplayWidth, 125);
    EXPECT_TRUE(board.Look().Painting);
}

TEST(Properties, MainFormPreset) {
    TGoBoard board;
    ApplyMainFormPreset(board);
    EXPECT_EQ(board.Look().Radius, 7);
    EXPECT_EQ(board.Look().Coordinate, 16);
    EXPECT_EQ(board.Look().BoardColor, 2724550u);
    EXPECT_EQ(board.Look().BoardColorNum, 2);
    EXPECT_EQ(board.Look().AbcFontSize, 10);
    EXPECT_EQ(board.Look().DisplayInfo, 0);
    EXPECT_EQ(board.Look().DisplayWidth, 32);
    EXPECT_FALSE(board.Look().Painting);
    EXPECT_FALSE(board.SingleMode());
    EXPECT_EQ(board.Atone(), 15);
    EXPECT_EQ(board.Winner(), 9);
}

TEST(Properties, GameKindTable) {
    TGoBoard board;
    board.SetArrangedSideP("AA");
    board.SetGameKind(5);
    EXPECT_EQ(board.GameKind(), 0);
    EXPECT_EQ(board.GetCell(1, 1), kBlackStone) << "an unknown kind changes nothing";
    board.SetGameKind(3);
    EXPECT_EQ(board.Columns(), 15);
    EXPECT_EQ(board.FileName(), "WuziGames.WZG");
    board.SetGameKind(1);
    EXPECT_EQ(board.Columns(), 9);
    EXPECT_EQ(board.Rows(), 10);
    EXPECT_EQ(board.LastP(), -1);
    EXPECT_TRUE(board.IsOnBoard(0, 0));
    EXPECT_FALSE(board.IsOnBoard(9, 0));
    board.SetGameKind(0);
    EXPECT_EQ(board.FileName(), "GoGames.GOG");
    EXPECT_EQ(board.GetCell(1, 1), kBlackStone) << "setup placed again by the reset";
}

TEST(Properties, LanguageAndClocks) {
    TGoBoard board;
    board.SetHint0("zh");
    board.SetHint2("en");
    board.SetLanguage(3);
    EXPECT_EQ(board.Language(), 0);
    board.SetLanguage(2);
    EXPECT_EQ(board.ControlHint(), "en");

    board.SetTimeLimit(60);
    board.SetClockSeconds(0, 10);
    board.SetTimeLimit(60);
    EXPECT_EQ(board.ClockSeconds(0), 60) << "the same limit still resets both clocks";
    board.SetMoveLimit(5);
    EXPECT_EQ(board.MovesLeft(1), 5);
}

TEST(Properties, SettersRedrawOnlyOnChange) {
    TGoBoard board;
    TRecordingView view;
    board.SetView(&view);
    board.SetTurn(kBlack);
    board.SetWinner(9);
    board.SetEvent("");
    board.SetFee(0);
    board.SetNotBother(false);
    EXPECT_TRUE(view.calls.empty());
    board.SetTurn(kWhite);
    board.SetWinner(0);
    board.SetEvent("Cup");
    board.SetFee(3);
    board.SetNotBother(true);
    EXPECT_TRUE(view.Has("turn"));
    EXPECT_TRUE(view.Has("info", static_cast<int>(TInfoElement::Result)));
    EXPECT_TRUE(view.Has("info", static_cast<int>(TInfoElement::Event)));
    EXPECT_TRUE(view.Has("info", static_cast<int>(TInfoElement::Fee)));
    EXPECT_TRUE(view.Has("info", static_cast<int>(TInfoElement::NotBother)));
}

TEST(Properties, LookRules) {
    TBoardLook look;
    look.SetBoardColor(0);
    look.SetBoardColor(0xFFFFFF);
    EXPECT_EQ(look.BoardColor, 26265u);
    look.SetBoardColorNum(7);
    EXPECT_EQ(look.BoardColorNum, 1);
    look.SetDisplayInfo(5);
    EXPECT_EQ(look.DisplayInfo, 1);
    look.SetPal256(true);
    EXPECT_FALSE(look.Dim3);
    EXPECT_EQ(look.BoardColorNum, 6);
    EXPECT_FALSE(look.Painting);
    look.SetPal256(false);
    EXPECT_EQ(look.BoardColorNum, 6) << "turning it off restores nothing";
}

} // namespace
} // namespace karvena::test
