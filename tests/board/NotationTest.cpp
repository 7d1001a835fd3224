// Point letters, rank texts and the one-line game record.
#include <gtest/gtest.h>

#include <regex>

#include "board/BoardPicture.h"

namespace karvena::test {
namespace {

TEST(Notation, LettersAndCoordinates) {
    const struct {
        int n;
        char letter;
    } cases[] = {{1, 'A'}, {19, 'S'}, {20, 'T'}, {10, 'J'}};
    for (const auto& c : cases) {
        EXPECT_EQ(CoordToLetter(c.n), c.letter);
        EXPECT_EQ(LetterToCoord(c.letter), c.n);
    }
    EXPECT_EQ(CoordToLetter(1, 1), '"');
    EXPECT_EQ(LetterToCoord('a'), 33) << "lower case is no coordinate";
    EXPECT_EQ(PointText(1, 1), "AA");
    EXPECT_EQ(PointText(10, 10), "JJ");
    EXPECT_EQ(PointText(20, 20), "TT");
}

TEST(Notation, RankTexts) {
    const struct {
        int code;
        const char* text;
    } ranks[] = {{30, "1k"}, {31, "1d"}, {37, "7d"}, {38, "1p"}, {1, "30k"}, {0, ""}, {-5, ""}};
    for (const auto& r : ranks)
        EXPECT_EQ(RankText(static_cast<int8_t>(r.code)), r.text);

    EXPECT_EQ(RankCodeText((30 << 8) | 31), " 1d*");
    EXPECT_EQ(RankCodeText((33 << 8) | 31), " 1d (3d)");
    EXPECT_EQ(RankCodeText(0), "  ");
    EXPECT_EQ(RankCodeText(25), " 6k*");
}

TEST(ManualString, ReadRightAfterCreation) {
    TGoBoard board;
    const std::string text = board.ManualString();
    const std::regex form(R"(02QmvGame0 \d{4}/\d\d/\d\d-\d\d:\d\d:\d\d 0   15 0 0 0 0 0 0 0 0 9 )");
    EXPECT_TRUE(std::regex_match(text, form)) << text;
}

TEST(ManualString, LoadTakesEveryFieldAndDoesNotReplay) {
    TGoBoard board;
    ASSERT_TRUE(Play(board, "AA"));
    board.SetManualString(
        "02QmvGame0 2020/01/01-00:00:00 0 Ann Bob 7 300 25 30 3 120 90 5 6 1 DDPP");
    EXPECT_EQ(board.PlayerName(0), "Ann");
    EXPECT_EQ(board.PlayerName(1), "Bob");
    EXPECT_EQ(board.Atone(), 7);
    EXPECT_EQ(board.TimeLimit(), 300);
    EXPECT_EQ(board.MoveLimit(), 25);
    EXPECT_EQ(board.ByoYomiLimit(), 30);
    EXPECT_EQ(board.ByoYomiCount(), 3);
    EXPECT_EQ(board.ClockSeconds(0), 120);
    EXPECT_EQ(board.ClockSeconds(1), 90);
    EXPECT_EQ(board.MovesLeft(0), 5);
    EXPECT_EQ(board.MovesLeft(1), 6);
    EXPECT_EQ(board.Winner(), 1);
    EXPECT_EQ(board.Process(), "DDPP");
    EXPECT_EQ(board.GivenProcess(), "DDPP");
    EXPECT_EQ(board.GetCell(1, 1), kBlackStone) << "stones stay until the caller replays";
    EXPECT_FALSE(board.Modified());
    board.GoToMove(2, true);
    EXPECT_EQ(board.GetCell(4, 4), kBlackStone);
    EXPECT_EQ(board.GetCell(16, 16), kWhiteStone);
}

TEST(ManualString, RoundTripThroughTheGetter) {
    TGoBoard board;
    board.SetManualString(
        "02QmvGame0 2020/01/01-00:00:00 0 Ann Bob 7 300 25 30 3 120 90 5 6 1 DDPP");
    TGoBoard copy;
    copy.SetManualString(board.ManualString());
    EXPECT_EQ(copy.PlayerName(1), "Bob");
    EXPECT_EQ(copy.Process(), "DDPP");
    EXPECT_EQ(copy.ClockSeconds(1), 90);
}

TEST(ManualString, InvalidValuesChangeNothing) {
    const char* bad[] = {
        "02QmvGame0 d 0   15 0 0 0 0 0 0 0 0 19 ",    // field 15 has two digits
        "02QmvGame0 d 0   15 0 0 0 0 0 0 0 0  ",      // field 15 empty
        "02QmvGame0 d 123   15 0 0 0 0 0 0 0 0 9 ",   // field 3 too long
        "02QmvGame0 d 0   1x 0 0 0 0 0 0 0 0 9 ",     // field 6 not a number
        "02QmvGame0 d 0   15 123456 0 0 0 0 0 0 0 9", // field 7 too long
        "02QmvGame0 d 0   15 0 0 0 0 0 0 0",          // fields missing
        "",
        "garbage",
        "02QmvGame0 d -1   15 0 0 0 0 0 0 0 0 9 ", // sign is not a digit
    };
    for (const char* value : bad) {
        TGoBoard board;
        board.SetPlayerName(0, "keep");
        ASSERT_TRUE(Play(board, "AA"));
        board.SetManualString(value);
        EXPECT_EQ(board.PlayerName(0), "keep") << value;
        EXPECT_EQ(board.Process(), "AA") << value;
        EXPECT_EQ(board.Winner(), 9) << value;
    }
}

TEST(ManualString, KindFromTheLastCharacterOfTheHeader) {
    const struct {
        const char* header;
        int kind;
    } cases[] = {{"02QmvGame3", 3}, {"02QmvGame9", 0}, {"0x", 0}, {"02QmvGameX", 0}, {"abc2", 2}};
    for (const auto& c : cases) {
        TGoBoard board;
        board.SetManualString(std::string(c.header) + " d 0   15 0 0 0 0 0 0 0 0 9 ");
        EXPECT_EQ(board.GameKind(), c.kind) << c.header;
    }
}

TEST(ManualString, AChangedHandicapResetsTheBoardWithItsStones) {
    TGoBoard board;
    ASSERT_TRUE(Play(board, "AA"));
    board.SetManualString("02QmvGame0 d 4   15 0 0 0 0 0 0 0 0 9 ");
    EXPECT_EQ(board.Handicap(), 4);
    EXPECT_EQ(board.GetCell(1, 1), 0);
    EXPECT_EQ(board.GetCell(16, 4), kBlackStone);
    EXPECT_EQ(board.Atone(), 15) << "field 6 wins over the handicap's compensation";
}

TEST(ManualString, TextBehindTheSixteenthFieldIsDropped) {
    TGoBoard board;
    board.SetManualString("02QmvGame0 d 0   15 0 0 0 0 0 0 0 0 9 DDPP extra words");
    EXPECT_EQ(board.Process(), "DDPP");
}

} // namespace
} // namespace karvena::test
