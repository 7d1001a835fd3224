// The ways real collections mark their answers, each imported and played headlessly: every line
// the author meant as correct ends in "Success", every other in "Failure", and the problem can be
// solved.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

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
     "(;AB[dd]AW[ee](;B[aa]C[黑先，正解])(;B[ba]C[这是净杀])(;B[ca]C[本图失败])"
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
    {"a correct line marked as a ko: the answer is a ko, and a wrong ko line stays a failure",
     "(;AB[dd]AW[ee]C[Black to kill](;B[aa];W[ba];B[ca]C[Correct; advantageous ko.])"
     "(;B[ab];W[ac]C[Wrong; advantageous ko.]))",
     {{{"AA", "CA"}, "Success — the answer is a ko"}, {{"AB"}, "Failure"}}},
    {"nothing marked: each reply to the answer is a variation the player answers",
     "(;AB[dd]AW[ee](;B[aa](;W[ba];B[ca])(;W[ab];B[ac]))(;B[bb];W[bc]))",
     {{{"AA", "CA", "next", "AC"}, "Success", "move AB reply"},
      {{"AA", "CA", "next", "AC"}, "Success", "solved"},
      {{"BB"}, "Failure"}}},
    {"only failures marked: each reply to the answer is a variation the player answers",
     "(;AB[dd]AW[ee](;B[aa](;W[ba];B[ca])(;W[ab];B[ac]))(;B[bb]C[Wrong]))",
     {{{"AA", "CA", "next", "AC"}, "Success", "solved"}, {{"BB"}, "Failure"}}},
    {"a reply named or described as a variation of the answer ends as the answer does",
     "(;AB[dd]AW[ee](;B[aa](;W[ba];B[ca]C[Correct])(;W[ab]N[变化];B[ac])"
     "(;W[ac]C[Variation 2];B[ab])(;W[bb];B[cb]C[Returns to the answer.]))(;B[bc]C[Wrong]))",
     {{{"AA", "CA", "next", "AC", "next", "AB", "next", "CB"}, "Success", "solved"},
      {{"BC"}, "Failure"}}},
    {"two diagrams of one problem that share their first moves split where they part",
     "(;AB[dd]AW[ee]N[正解图];B[aa];W[ba];B[ca];W[cb];B[cc])"
     "(;AB[dd]AW[ee]N[变化图];B[aa];W[ba];B[ca];W[cc];B[cb])",
     {{{"AA", "CA", "CC", "next", "CB"}, "Success", "move CC reply"},
      {{"AA", "CA", "CC", "next", "CB"}, "Success", "solved"}}},
    {"the same diagrams as variations, parting at the player's third move",
     "(;AB[dd]AW[ee](;B[aa]N[正解图];W[ba];B[ca];W[cb];B[cc])(;B[aa]N[变化图];W[ba];B[bb]))",
     {{{"AA", "CA", "CC"}, "Success"}, {{"AA", "BB"}, "Success"}}},
    {"setup stones inside a line: the line ends before them, keeping its mark",
     "(;AB[dd]AW[ee]\n(;B[aa]C[Correct])\n(;B[cc];W[hc]AB[mc];B[ab]C[Wrong]))",
     {{{"AA"}, "Success"}, {{"CC"}, "Failure"}}},
    {"a cut line's mark is its own end's, not that of the lines beside it",
     "(;AB[dd]AW[ee](;B[aa];W[ba](;B[ca]AB[mm]C[Correct])(;B[cb]))(;B[bb]C[Correct]))",
     {{{"AA", "CB"}, "Failure"}, {{"BB"}, "Success"}}},
    {"a ko retaken at once: the line ends before the retake, keeping its mark",
     "(;AB[ba][ab][cb][bc]AW[ca][db][cc][ed]PL[W]\n(;W[bb];B[cb];W[dd];B[cb]C[Correct; advantageous ko.])"
     "\n(;W[dd];B[bb]C[Wrong.]))",
     {{{"BB"}, "Success — the answer is a ko"}, {{"DD"}, "Failure"}}},
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

// A correct line whose end speaks of a ko makes the problem's answer a ko, kept as its stated
// result; a wrong line's ko, a clean result or a ko that is denied does not.
TEST(Conventions, ACorrectLineMarkedAsAKoMakesTheAnswerAKo) {
    const struct {
        const char* sgf;
        std::optional<int> result;
    } cases[] = {
        {"(;AB[dd]AW[ee](;B[aa]C[Correct; advantageous ko.])(;B[ab]C[Wrong.]))", kResultKoGoalUnstated},
        {"(;AB[dd]AW[ee](;B[aa]C[Correct; disadvantageous ko.])(;B[ab]C[Wrong.]))", kResultKoGoalUnstated},
        {"(;AB[dd]AW[ee]C[Black to kill](;B[aa]C[Correct; advantageous ko.])(;B[ab]C[Wrong.]))", 2},
        {"(;AB[dd]AW[ee]C[黑先活](;B[aa]C[劫活])(;B[ab]C[失败]))", 3},
        {"(;AB[dd]AW[ee]C[黑先](;B[aa]C[劫杀正解])(;B[ab]C[失败]))", kResultKoGoalUnstated},
        {"(;AB[dd]AW[ee]C[黑先杀](;B[aa]C[正解，打劫])(;B[ab]C[失败]))", 2},
        {"(;AB[dd]AW[ee](;B[aa]C[正解。コウ])(;B[ab]C[失敗]))", kResultKoGoalUnstated},
        {"(;AB[dd]AW[ee](;B[aa]C[Correct.])(;B[ab]C[Wrong; advantageous ko.]))", std::nullopt},
        {"(;AB[dd]AW[ee]C[Black to kill](;B[aa]C[Correct, no ko.])(;B[ab]C[Wrong.]))", 0},
        {"(;AB[dd]AW[ee](;B[aa]C[净杀，正解])(;B[ab]C[劫，失败]))", std::nullopt},
        {"(;AB[dd]AW[ee](;B[aa]C[Correct: White has no eyes, kosumi is not needed])(;B[ab]C[Wrong]))", std::nullopt},
    };
    for (const auto& c : cases) {
        const TProblemRow row = test::ImportedRow(c.sgf);
        ASSERT_FALSE(row.Solution.empty()) << c.sgf;
        EXPECT_EQ(row.Result2, c.result) << c.sgf;
    }
}

// A line that cannot be played as it stands ends before the fault; the problem stays, and the
// warning names the place.
TEST(Conventions, AFaultyLineIsCutAndTheWarningNamesThePlace) {
    const struct {
        const char* sgf;
        const char* warning;
    } cases[] = {
        {"(;AB[dd]AW[ee]\n(;B[aa]C[Correct])\n(;B[cc];W[hc]AB[mc]))",
         "played:3:8: stones set up inside a variation: the line ends before it"},
        {"(;AB[ba][ab][cb][bc]AW[ca][db][cc][ed]PL[W]\n(;W[bb]\n;B[cb]C[Correct; ko])(;W[dd]C[Wrong]))",
         "played:3:1: a move that cannot be played where it stands: cb: the line ends before it"},
        {"(;AB[dd]AW[ee]\n(;B[aa]C[Correct])\n(;B[cc];W[zz];B[ab]))",
         "played:3:8: a move that is no point: zz: the line ends before it"},
    };
    for (const auto& c : cases) {
        const TSgfRead read = ReadSgf(c.sgf, "played");
        ASSERT_TRUE(read.File) << c.sgf;
        const TImportResult imported = ImportSgf(*read.File, "played");
        ASSERT_EQ(imported.Problems.size(), 1u) << c.sgf;
        EXPECT_TRUE(imported.Skipped.empty()) << imported.Skipped.front();
        EXPECT_EQ(imported.Warnings, std::vector<std::string>{c.warning}) << c.sgf;
    }
}

// The level a source names: its rank in DI, the game's name, the root comment, the file's name
// or a folder's; none at all leaves the problem without a level.
TEST(Conventions, TheLevelComesFromTheSource) {
    const struct {
        const char* text;
        int level;
    } ranks[] = {
        {"15 kyu", 25}, {"15k", 25}, {"3 dan", 42}, {"3d", 42}, {"1 段", 40}, {"15 级", 25},
        {"Problems 10K-1K/", 30}, {"elementary (20 Kyu)", 20}, {"30k", 10}, {"1d", 40},
        {"d3d4", 0}, {"31k", 0}, {"12 dan", 0}, {"kyu", 0}, {"3dim", 0}, {"", 0}, {"Problem 12", 0},
    };
    for (const auto& r : ranks) EXPECT_EQ(RankLevelOf(r.text), r.level) << r.text;

    const struct {
        const char* sgf;
        int level;
    } sgfs[] = {
        {"(;DI[12k]AB[dd]AW[ee];B[aa]C[Correct])", 28},
        {"(;GN[Life and death, 2 dan]AB[dd]AW[ee];B[aa]C[Correct])", 41},
        {"(;AB[dd]AW[ee]C[黑先活 (5级)];B[aa]C[Correct])", 35},
        {"(;AB[dd]AW[ee]C[Black to live];B[aa]C[Correct])", 0},
    };
    for (const auto& c : sgfs) {
        const TSgfRead read = ReadSgf(c.sgf, "played");
        ASSERT_TRUE(read.File) << c.sgf;
        const TImportResult imported = ImportSgf(*read.File, "played");
        ASSERT_EQ(imported.Problems.size(), 1u) << c.sgf;
        EXPECT_EQ(imported.Problems[0].Row.Level1, c.level) << c.sgf;
    }

    // A folder's or a file's name, when the problem names no rank itself.
    const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "ranks" / "15 kyu";
    std::filesystem::create_directories(folder);
    const std::pair<const char*, int> files[] = {{"a.sgf", 25}, {"3 dan b.sgf", 42}};
    for (const auto& [name, level] : files) {
        std::ofstream(folder / name) << "(;AB[dd]AW[ee];B[aa]C[Correct])";
        int seen = -1;
        ImportSgfFile((folder / name).string(), [&](TImportedProblem&& p) {
            seen = p.Row.Level1;
            return true;
        });
        EXPECT_EQ(seen, level) << name;
    }
    std::filesystem::remove_all(folder.parent_path());
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
        {"setup inside every line", "(;AB[dd]AW[ee]\n(;B[aa]AB[mc])(;B[ab]AW[mc]))",
         "played:2:2: stones set up inside a variation"},
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
