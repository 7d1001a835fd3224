// The collection tool's check: set up as the trainer sets a problem up, every line replayed.
#include <gtest/gtest.h>

#include <filesystem>

#include "collection/Sgf.h"
#include "collection/SgfImport.h"
#include "collection/CollectionBuilder.h"
#include "collection/SolutionBlob.h"
#include "collection/TempFolder.h"
#include "collection/UserCollection.h"
#include "solving/PlaySession.h"
#include "solving/ProblemCheck.h"
#include "solving/ImportedPlay.h"
#include "text/Texts.h"

namespace karvena {
namespace {

TProblemRow RowOf(const TSolutionTree& tree, const std::string& black, const std::string& white,
                  const std::string& initial = "", const std::string& first = "B") {
    TProblemRow row;
    row.Auto1 = 26; // named 001A, as the tool's list prints it
    row.ArrangedBlack = black;
    row.ArrangedWhite = white;
    row.Initial = initial;
    row.FirstToPlay = first;
    row.Solution = SaveSolution(tree);
    return row;
}

TEST(ProblemCheck, ReportsExactlyTheFaultOfACraftedTree) {
    const struct {
        const char* name;
        std::function<void(TSolutionTree&)> build;
        std::string initial, first;
        std::vector<std::string> expected;
    } cases[] = {
        {"a sound tree",
         [](TSolutionTree& t) {
             const TNodeId r = t.Add(kNoNode, "");
             t.Add(r, "AA 1");
             t.Add(t.Add(r, "BA"), "AB 0");
         },
         "", "B", {}},
        {"two top-level nodes: only the first is the tree",
         [](TSolutionTree& t) {
             const TNodeId r = t.Add(kNoNode, "");
             t.Add(r, "AA 1");
             t.Add(t.Add(kNoNode, "stray"), "QQ");
         },
         "", "B", {}},
        {"an odd number of Initial moves: the other side solves",
         [](TSolutionTree& t) {
             const TNodeId r = t.Add(kNoNode, "");
             t.Add(r, "AA 1"); // White's move after Black's Initial move
         },
         "KK", "B", {}},
        {"a move on a stone",
         [](TSolutionTree& t) {
             const TNodeId r = t.Add(kNoNode, "");
             t.Add(r, "AA 1");
             t.Add(r, "DD 0");
         },
         "", "B", {"problem 001A: illegal move DD at level 1"}},
        {"no success",
         [](TSolutionTree& t) {
             const TNodeId r = t.Add(kNoNode, "");
             t.Add(r, "AA 0");
         },
         "", "B", {"problem 001A: no success can be reached"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TSolutionTree tree;
        c.build(tree);
        EXPECT_EQ(CheckProblem(RowOf(tree, "DD", "EE", c.initial, c.first)), c.expected);
    }
}

// An SGF whose root node carries a move keeps it as the first Initial move; the problem then
// checks clean and is solved by following its tree.
TEST(ProblemCheck, ARootMoveBecomesTheFirstInitialMove) {
    const auto read = ReadSgf("(;AB[dd]AW[ee]B[cc](;W[ab]C[Correct])(;W[ba];B[ab]))", "root");
    ASSERT_TRUE(read.File);
    TImportResult imported = ImportSgf(*read.File, "root");
    ASSERT_EQ(imported.Problems.size(), 1u);
    TProblemRow row = imported.Problems[0].Row;
    EXPECT_EQ(row.Initial, "CC");
    EXPECT_EQ(row.FirstToPlay, "B") << "the side of the first Initial move";
    row.Auto1 = 1;
    row.Group1 = 1;
    row.Solution = SaveSolution(imported.Problems[0].Tree);
    EXPECT_EQ(CheckProblem(row), std::vector<std::string>{});
    TProblemTableWriter writer;
    ASSERT_TRUE(writer.Add(row));
    TProblemStore store;
    ASSERT_TRUE(store.Open(writer.Image()));
    SetLanguageFlags(TLanguage::English);
    TGoBoard board;
    ApplyMainFormPreset(board);
    TPlaySession session(board, store, ::testing::TempDir() + "/root-move.cds");
    ASSERT_TRUE(session.Load(1));
    EXPECT_EQ(board.GetCell(3, 3), kBlackStone) << "the root's stone stands";
    session.Take();
    ASSERT_TRUE(session.Word("AB"));
    const std::vector<std::string> lines = session.Take();
    std::string all;
    for (const std::string& line : lines) all += line + "\n";
    EXPECT_NE(std::find(lines.begin(), lines.end(), "result Success"), lines.end()) << all;
}

// An opponent's reply that the source marks correct ends its line with "Success" when the next
// variation plays it, and the problem is solved.
TEST(ProblemCheck, AReplyMarkedCorrectEndsItsLineInSuccess) {
    const std::string all =
        test::PlayImported("(;AB[dd]AW[ee](;B[aa](;W[ba];B[ca]C[Correct])(;W[ab]C[Correct])))",
                     {"AA", "CA", "next"});
    EXPECT_EQ(all.find("Data error"), std::string::npos) << all;
    const size_t next = all.rfind("move AB reply");
    ASSERT_NE(next, std::string::npos) << all;
    EXPECT_NE(all.find("result Success", next), std::string::npos) << all;
    EXPECT_NE(all.find("solved", next), std::string::npos) << all;
}

// A problem the trainer can never solve or never set up is left out of an import and of a
// built collection, each with its file:row:col and why; the others are added.
TEST(ProblemCheck, AnImportLeavesOutWhatCannotBePlayedAndSaysWhere) {
    const struct {
        const char* file;
        const char* sgf;
        const char* why; // empty: imported
        const char* place = ":1:2: ";
    } cases[] = {
        {"good.sgf", "(;AB[dd]AW[ee];B[aa]C[Correct])", ""},
        // Every line wrong: kept, with a warning, for the solver to credit a move the tree lacks.
        {"nosuccess.sgf", "(;AB[dd]AW[ee];B[aa]C[Wrong])", ""},
        {"nosuccessquiz.sgf", "(;AB[dd]AW[ee]LB[aa:A][bb:B]C[A or B?];B[aa]C[Wrong])",
         "a quiz", ": "},
        {"occupied.sgf", "(;AB[dd]AW[ee];B[dd];W[aa]C[Correct])",
         "a move that cannot be played where it stands: dd", ":1:15: "},
        {"rootmove.sgf", "(;AB[dd]AW[ee]B[dd];W[aa]C[Correct])", "cannot be set up"},
    };
    test::TTempFolder folder;
    std::filesystem::create_directories(folder.File("set"));
    for (const auto& c : cases) folder.Write(std::string("set/") + c.file, c.sgf);
    TUserCollection collection;
    collection.SetPath(folder.File("Imported.cds"));
    collection.Check = CheckProblem;
    const TImportSummary summary = collection.Import({folder.File("set")});
    ASSERT_TRUE(summary.Error.empty()) << summary.Error;
    const TBuiltCollection built = BuildCollection({folder.File("set")}, nullptr, CheckProblem);
    for (const std::vector<std::string>* skipped : {&summary.Skipped, &built.Skipped}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.file);
            const auto said = std::find_if(skipped->begin(), skipped->end(), [&](const std::string& s) {
                return s.find(c.file) != std::string::npos;
            });
            if (*c.why == 0) {
                EXPECT_EQ(said, skipped->end());
                continue;
            }
            ASSERT_NE(said, skipped->end());
            EXPECT_NE(said->find(std::string(c.file) + c.place), std::string::npos) << *said;
            EXPECT_NE(said->find(c.why), std::string::npos) << *said;
        }
    }
    ASSERT_EQ(collection.Groups().size(), 1u);
    EXPECT_EQ(collection.Groups()[0].Count, 2) << "only the good problem and the wrong lines were added";
    EXPECT_EQ(built.Rows.size(), 2u);
    EXPECT_NE(std::find_if(summary.Warnings.begin(), summary.Warnings.end(), [](const std::string& w) {
                  return w.find("nosuccess.sgf:1:2: every line is marked wrong") != std::string::npos;
              }),
              summary.Warnings.end());
}

// A flagged move's stone is marked on the board; the stone beside it can still be played and
// the problem is solved.
TEST(ProblemCheck, AMoveBesideAMarkedStoneIsPlayed) {
    const std::string all =
        test::PlayImported("(;AW[ca][bb];B[aa]BM[1];W[jj];B[ba]C[Correct])", {"AA", "BA"});
    EXPECT_NE(all.find("move BA player"), std::string::npos) << all;
    EXPECT_NE(all.find("result Success"), std::string::npos) << all;
}

} // namespace
} // namespace karvena
