// The ways real collections mark their answers, each imported and played headlessly: every line
// the author meant as correct ends in "Success", every other in "Failure", and the problem can be
// solved.
#include <gtest/gtest.h>

#include <fstream>

#include "solving/ImportedPlay.h"
#include "solving/ProblemCheck.h"

namespace karvena {
namespace {

struct TLine {
    std::vector<std::string> Words; // the player's moves (and "next")
    const char* Result;             // the last result the line shows
    const char* Sees = "";          // a transcript line it must show too
};

struct TConvention {
    const char* Name;
    const char* Sgf;
    std::vector<TLine> Lines;
};

const TConvention kConventions[] = {
    {"nothing marked: the main line is the answer",
     "(;AB[dd]AW[ee]C[Black to play](;B[aa];W[ba];B[ca])(;B[ab];W[ac]))",
     {{{"AA", "CA"}, "Success"}, {{"AB"}, "Failure"}, {{"BB"}, "Failure"}}},
    {"only failures marked: the bare lines are correct",
     "(;AB[dd]AW[ee](;B[aa];W[ba];B[ca])(;B[ab]C[失败];W[ac]))",
     {{{"AA", "CA"}, "Success"}, {{"AB"}, "Failure"}}},
    {"English words in any case, labels and negations",
     "(;AB[dd]AW[ee](;B[aa]C[CORRECT])(;B[ba]C[Diag. 2 - Correct])(;B[ca]C[Correct answer.])"
     "(;B[ab]C[Incorrect])(;B[bb]C[not correct])(;B[cb]C[Wrong])(;B[ac]C[Failure])"
     "(;B[bc]C[the right side]))",
     {{{"AA"}, "Success"},
      {{"BA"}, "Success"},
      {{"CA"}, "Success"},
      {{"AB"}, "Failure"},
      {{"BB"}, "Failure"},
      {{"CB"}, "Failure"},
      {{"AC"}, "Failure"},
      {{"BC"}, "Failure"}}},
    {"Chinese and Japanese words anywhere in the comment",
     "(;AB[dd]AW[ee](;B[aa]C[黑先，正解])(;B[ba]C[这是劫杀])(;B[ca]C[本图失败])"
     "(;B[ab]C[不正解です])(;B[bb]C[淨活])(;B[cb]C[成功！]))",
     {{{"AA"}, "Success"},
      {{"BA"}, "Success"},
      {{"CA"}, "Failure"},
      {{"AB"}, "Failure"},
      {{"BB"}, "Success"},
      {{"CB"}, "Success"}}},
    {"a stated outcome decides under a kill goal",
     "(;AB[dd]AW[ee]C[黑先杀](;B[aa];W[ba];B[ca]C[白死。])(;B[ab];W[ac]C[白活]))",
     {{{"AA", "CA"}, "Success"}, {{"AB"}, "Failure"}}},
    {"a stated outcome and seki under a live goal",
     "(;AB[dd]AW[ee]C[黑先活](;B[aa];W[ba];B[ca]C[双活])(;B[ab];W[ac]C[黑死])"
     "(;B[bb];W[bc];B[cb]C[黑活]))",
     {{{"AA", "CA"}, "Success"}, {{"AB"}, "Failure"}, {{"BB", "CB"}, "Success"}}},
    {"an English goal and outcome, White to play",
     "(;AB[dd]AW[ee]PL[W]C[White to live.](;W[aa];B[ba];W[ca]C[White lives.])"
     "(;W[ab];B[ac]C[White is dead.]))",
     {{{"AA", "CA"}, "Success"}, {{"AB"}, "Failure"}}},
    {"a correct mark on an inner move lets the line go on",
     "(;AB[dd]AW[ee](;B[aa]C[Correct];W[ba](;B[ca]C[Wrong])(;B[cb])))",
     {{{"AA"}, "", "move BA reply"}, {{"AA", "CA"}, "Failure"}, {{"AA", "CB"}, "Success"}}},
    {"an answer variation is a reply the opponent plays",
     "(;AB[dd]AW[ee];B[aa](;W[ba];B[ca]C[Correct])(;W[ab]C[变化图];B[ac]))",
     {{{"AA", "CA", "next", "AC"}, "Success", "move AB reply"},
      {{"AA", "CA", "next", "AC"}, "Success", "solved"}}},
    {"repeated first moves share one node",
     "(;AB[dd]AW[ee](;B[aa];W[ba];B[ca]C[Correct])(;B[aa];W[ab];B[ac]C[Correct]))",
     {{{"AA", "CA", "next", "AC"}, "Success", "move AB reply"},
      {{"AA", "CA", "next", "AC"}, "Success", "solved"}}},
    {"GB, GW, TE and BM",
     "(;AB[dd]AW[ee](;B[aa]GB[1])(;B[ba]GW[1])(;B[ca]TE[1])(;B[ab]BM[1]))",
     {{{"AA"}, "Success"}, {{"BA"}, "Failure"}, {{"CA"}, "Success"}, {{"AB"}, "Failure"}}},
    {"the position set up with the first move",
     "(;GM[1]SZ[19](;AB[dd]AW[ee]B[aa];W[ba];B[ca]C[Correct]))",
     {{{"AA", "CA"}, "Success"}}},
    {"several games of one problem",
     "(;AB[dd]AW[ee];B[aa];W[ba];B[ca]C[Correct])(;AB[dd]AW[ee];B[aa];W[ab];B[ac]C[Correct])",
     {{{"AA", "CA", "next", "AC"}, "Success", "move AB reply"},
      {{"AA", "CA", "next", "AC"}, "Success", "solved"}}},
};

TEST(Conventions, EveryCorrectLineSucceedsEveryOtherFailsAndTheProblemCanBeSolved) {
    for (const TConvention& c : kConventions) {
        std::string skipped;
        int problems = 0;
        const TProblemRow row = test::ImportedRow(c.Sgf, 1, 1, &skipped, &problems);
        ASSERT_FALSE(row.Solution.empty()) << c.Name << ": " << skipped;
        EXPECT_EQ(problems, 1) << c.Name;
        EXPECT_EQ(CheckProblem(row), std::vector<std::string>{}) << c.Name;
        for (const TLine& line : c.Lines) {
            const std::string transcript = test::PlayRow(row, line.Words);
            std::string words;
            for (const std::string& w : line.Words) words += w + " ";
            EXPECT_EQ(test::LastResult(transcript), line.Result)
                << c.Name << ": " << words << "\n" << transcript;
            if (*line.Sees) {
                EXPECT_NE(transcript.find(line.Sees), std::string::npos)
                    << c.Name << ": " << words << "\n" << transcript;
            }
        }
    }
}

// An imported problem's own words: the root comment when it is set up, a move's comment when it
// is played or answered, in the trainer's language mode.
TEST(Conventions, TheAuthorsWordsAreShown) {
    const char* sgf = "(;AB[dd]AW[ee]C[黑先杀。 Black to kill.];B[aa]C[Good start];"
                      "W[ba]C[White resists];B[ca]C[Correct, White dies])";
    const TProblemRow row = test::ImportedRow(sgf);
    const struct {
        TLanguage language;
        std::vector<std::string> lines;
    } cases[] = {
        {TLanguage::English,
         {"status 1 黑先杀。 Black to kill.", "status 1 White resists", "status 1 Correct, White dies"}},
        {TLanguage::TraditionalChinese, {"status 1 黑先殺。 Black to kill.", "status 1 White resists"}},
    };
    for (const auto& c : cases) {
        const std::string transcript = test::PlayRow(row, {"AA", "CA"}, c.language);
        size_t at = 0;
        for (const std::string& line : c.lines) {
            at = transcript.find(line + "\n", at);
            EXPECT_NE(at, std::string::npos) << line << "\n" << transcript;
            if (at == std::string::npos) break;
        }
    }
    // The bundled collection's table has no room for them: a row without comments shows none.
    TProblemRow bare = row;
    bare.Comments.clear();
    EXPECT_EQ(test::PlayRow(bare, {"AA"}).find("Black to kill"), std::string::npos);
}

// A problem of 9 x 9 in each of the sixteen ways it can be shown: the hint marks the answer
// where the player sees it, a move beyond the small board is refused, the answer succeeds.
TEST(Conventions, ASmallBoardIsPlayedInEveryOrientation) {
    std::ifstream in(std::string(KARVENA_TEST_DATA) + "/import/sizes/9x9.sgf");
    const std::string sgf((std::istreambuf_iterator<char>(in)), {});
    const TProblemRow row = test::ImportedRow(sgf);
    ASSERT_EQ(row.BoardSize, 9);
    TProblemTableWriter writer;
    writer.Add(row);
    TProblemStore store;
    ASSERT_TRUE(store.Open(writer.Image()));
    SetLanguageFlags(TLanguage::English);
    for (int n = 0; n < TOrientation::kCount; ++n) {
        SCOPED_TRACE("orientation " + std::to_string(n));
        TGoBoard board;
        ApplyMainFormPreset(board);
        const std::string history = ::testing::TempDir() + "/small.cds";
        std::filesystem::remove(history);
        TPlaySession session(board, store, history);
        session.Loop().FixedOrientation = n;
        ASSERT_TRUE(session.Load(1));
        EXPECT_EQ(board.Rows(), 9);
        const TPoint answer = TOrientation(n, 9).Apply(TPoint{2, 1});
        const std::string shown = PointText(answer.P, answer.Q);
        session.Take();
        session.Word("hint"); // the area first, turned as the problem is
        EXPECT_TRUE(board.Shaded(answer.P, answer.Q));
        session.Word("hint");
        std::string all;
        for (const std::string& line : session.Take()) all += line + "\n";
        EXPECT_NE(all.find("hint good " + shown), std::string::npos) << all;
        session.Word("KK"); // (11, 11): beyond the last line
        session.Word(shown);
        all.clear();
        for (const std::string& line : session.Take()) all += line + "\n";
        EXPECT_NE(all.find("refused KK"), std::string::npos) << all;
        EXPECT_EQ(test::LastResult(all), "Success") << all;
        std::filesystem::remove(history);
    }
}

// What cannot be played is left out, saying where and why.
TEST(Conventions, WhatCannotBePlayedIsLeftOutWithTheReason) {
    const struct {
        const char* name;
        const char* sgf;
        const char* why;
    } cases[] = {
        {"setup inside a line", "(;AB[dd]AW[ee]\n(;B[aa]C[Correct])\n(;B[cc];W[hc]AB[mc]))",
         "played:3:8: stones set up inside a variation"},
        {"a quiz without moves",
         "(;AB[dd]AW[ee]LB[aa:A][ba:B]C[Which point is vital, A or B?](;C[A])(;C[B]))",
         "played: a quiz (the answer is one of the labelled points), not a position to play"},
        {"a quiz whose moves reach no success",
         "(;AB[dd]AW[ee]LB[aa:A][ba:B]C[A or B?](;B[aa]C[Wrong])(;B[ba]C[Wrong, too]))",
         "played: a quiz (the answer is one of the labelled points), not a position to play"},
    };
    for (const auto& c : cases) {
        std::string skipped;
        EXPECT_TRUE(test::ImportedRow(c.sgf, 1, 1, &skipped).Solution.empty()) << c.name;
        EXPECT_EQ(skipped, c.why) << c.name;
    }
}

} // namespace
} // namespace karvena
