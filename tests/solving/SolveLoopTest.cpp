// The solve loop on small hand-made trees: the exact events of each scenario.
#include <gtest/gtest.h>

#include "collection/SolutionBlob.h"
#include "collection/TempFolder.h"
#include "text/Texts.h"
#include "solving/PlaySession.h"

namespace karvena::test {
namespace {

using TLines = std::vector<std::string>;

// One problem (key 1, group 1) on an otherwise empty collection, played headless.
class Scenario : public ::testing::Test {
protected:
    void SetUp() override { SetLanguageFlags(TLanguage::English); }
    void TearDown() override {
        session.reset();
        SetLanguageFlags(TLanguage::SimplifiedChinese);
    }
    // Builds the collection from the tree and loads the problem.
    void Start(const TSolutionTree& tree, const std::string& black = "",
               const std::string& white = "", std::vector<uint8_t> blob = {}) {
        TProblemRow row;
        row.Auto1 = 1;
        row.Group1 = 1;
        row.ArrangedBlack = black;
        row.ArrangedWhite = white;
        row.FirstToPlay = FirstToPlay;
        row.Initial = Initial;
        row.Solution = blob.empty() ? SaveSolution(tree) : blob;
        TProblemTableWriter writer;
        ASSERT_TRUE(writer.Add(row));
        ASSERT_TRUE(problems.Open(writer.Image()));
        session.reset();
        session = std::make_unique<TPlaySession>(board, problems, folder.File("History1.cds"));
        // These trees have no position to judge: the loop plays them as their trees say.
        session->SetSolverOn(false);
        if (Prepare) Prepare(session->Loop());
        ASSERT_TRUE(session->Load(1));
        loadLines = session->Take();
    }
    TLines Run(const std::vector<std::string>& words) {
        for (const std::string& word : words)
            EXPECT_TRUE(session->Word(word)) << word;
        return session->Take();
    }
    // The problem's Initial moves and its FirstToPlay letter.
    std::string Initial;
    std::string FirstToPlay = "B";
    // Runs on the loop before the problem is loaded.
    std::function<void(TSolveLoop&)> Prepare;
    TTempFolder folder;
    TProblemStore problems;
    TGoBoard board;
    std::unique_ptr<TPlaySession> session;
    TLines loadLines;
};

TEST_F(Scenario, AMoveTheTreeDoesNotListIsMatchedByPlayElsewhere) {
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "");
    tree.Add(root, "CC 0");
    const TNodeId elsewhere = tree.Add(root, "TT");
    const TNodeId reply = tree.Add(elsewhere, "DD");
    tree.Add(reply, "EE 1");
    Start(tree);
    EXPECT_EQ(Run({"KK"}), (TLines{"move KK player", "sound #1999 async", "status 0 ", "status 1 ",
                                   "move DD reply", "sound #1999 async", "status 1 ", "result ",
                                   "pending none"}));
}

TEST_F(Scenario, ABadAndNotBestMoveIsMarkedAndBothNoticesPlay) {
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "");
    const TNodeId move = tree.Add(root, "CC", "5");
    tree.Add(tree.Add(move, "DD"), "EE 1");
    tree.Add(root, "FF 1");
    Start(tree);
    EXPECT_EQ(Run({"CC"}), (TLines{"move CC player", "sound #1999 async", "status 0 ", "status 1 ",
                                   "mark CC", "notice Bad move", "sound #2091 wait",
                                   "notice Not best", "sound #2091 wait", "move DD reply",
                                   "sound #1999 async", "status 1 ", "result ", "pending none"}));
    EXPECT_EQ(board.GetCell(3, 3), 0x05) << "the marked black stone";
    // The success after the flagged move is no clean one, and the retry goes back before it.
    const TLines lines = Run({"EE"});
    EXPECT_NE(std::find(lines.begin(), lines.end(), "sound #2030 wait"), lines.end());
    EXPECT_EQ(std::find(lines.begin(), lines.end(), "record solved"), lines.end());
    EXPECT_EQ(lines.back(), "pending retry");
}

TEST_F(Scenario, ASuccessThroughASometimesMoveIsNotCredited) {
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "");
    const TNodeId move = tree.Add(root, "CC", "40");
    tree.Add(tree.Add(move, "DD"), "EE 1");
    Start(tree);
    EXPECT_EQ(Run({"CC"}), (TLines{"move CC player", "sound #1999 async", "status 0 ", "status 1 ",
                                   "notice Sometimes", "sound #2091 wait", "move DD reply",
                                   "sound #1999 async", "status 1 ", "result ", "pending none"}));
    EXPECT_EQ(Run({"EE"}), (TLines{"move EE player", "sound #1999 async", "status 0 ", "status 1 ",
                                   "result Success", "sound #2030 wait", "pending retry"}));
    EXPECT_EQ(session->Loop().RetryNode(), root) << "retry from before the move";
    EXPECT_EQ(Run({"next"}), (TLines{"result ", "takeback 3", "pending none"}));
    EXPECT_EQ(board.Process(), "");
}

TEST_F(Scenario, EveryOpponentVariationPlayedThroughSolvesTheProblem) {
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "");
    const TNodeId move = tree.Add(root, "CC");
    tree.Add(tree.Add(move, "DD"), "FF 1");
    tree.Add(tree.Add(move, "EE"), "GG 1");
    Start(tree);
    EXPECT_EQ(Run({"CC"}).at(4), "move DD reply");
    EXPECT_EQ(Run({"FF"}), (TLines{"move FF player", "sound #1999 async", "status 0 ", "status 1 ",
                                   "result Success", "sound #2010 wait", "pending next"}));
    EXPECT_EQ(Run({"next"}), (TLines{"result ", "move EE reply", "sound #1999 async", "takeback 2",
                                     "pending none"}));
    EXPECT_EQ(Run({"GG"}), (TLines{"move GG player", "sound #1999 async", "status 0 ", "status 1 ",
                                   "result Success", "sound #2010 wait", "record solved",
                                   "sound #2095 wait", "solved", "pending none"}));
    EXPECT_EQ(session->Index().Games()[0][5], '1') << "the solved mark";
    EXPECT_EQ(session->History().Find(1)->SolvedCount, 1);
}

TEST_F(Scenario, NextWithNothingPendingSetsTheProblemUpAgain) {
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "");
    tree.Add(root, "CC 1");
    Start(tree, "AA");
    EXPECT_EQ(Run({"SS"}).back(), "pending retry");
    EXPECT_EQ(Run({"next"}).front(), "result "); // the failure left a retry pending: consumed
    EXPECT_EQ(Run({"next"}), (TLines{"sound #2094 wait", "result ", "pending none"}));
    EXPECT_EQ(board.Process(), "");
    EXPECT_EQ(board.GetCell(1, 1), kBlackStone);
}

TEST_F(Scenario, AFailureArmsTheAutomaticTakeback) {
    EXPECT_EQ(TakebackInterval(0), 50);
    EXPECT_EQ(TakebackInterval(7), 7000);
    EXPECT_EQ(ParseDelay("12"), 12);
    EXPECT_EQ(ParseDelay("x"), -1);
    EXPECT_EQ(ParseDelay(""), -1);
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "");
    tree.Add(root, "CC 1");
    Start(tree);
    session->Loop().Options().TakebackAutomatically = true;
    EXPECT_EQ(Run({"SS"}), (TLines{"move SS player", "sound #1999 async", "result Failure",
                                   "sound #2020 wait", "record failure", "pending retry"}));
    EXPECT_EQ(Run({"timer"}), (TLines{"result ", "takeback 1", "pending none"}));
    EXPECT_EQ(Run({"timer"}), (TLines{"pending none"})) << "a disarmed timer does not fire";
}

TEST_F(Scenario, BackTakesTheReplyTooButAnUnansweredMoveAlone) {
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "");
    const TNodeId move = tree.Add(root, "CC");
    tree.Add(tree.Add(move, "DD"), "EE 1");
    Start(tree);
    Run({"CC"});
    EXPECT_EQ(Run({"back"}), (TLines{"result ", "takeback 2", "record takeback", "pending none"}))
        << "the line was unfinished: counted";
    EXPECT_EQ(board.Process(), "");
    EXPECT_EQ(session->Loop().Tree().Current(), root);
    Run({"SS"});
    EXPECT_EQ(Run({"back"}), (TLines{"result ", "takeback 1", "pending none"}));
    EXPECT_EQ(board.Process(), "");
    EXPECT_EQ(session->History().Find(1)->TakebackBeforeSolve, 1)
        << "the wrong move was not counted";
}

TEST_F(Scenario, HintAfterAWrongMoveTakesItBackThenMarks) {
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "");
    tree.Add(root, "CC 1");
    tree.Add(root, "DD 0");
    tree.Add(tree.Add(root, "EE"), "FF");
    Start(tree);
    Run({"SS"});
    EXPECT_EQ(Run({"hint"}), (TLines{"result ", "takeback 1", "hint good CC bad DD EE",
                                     "record hint 1", "pending none"}));
    EXPECT_EQ(board.LabelColor(3, 3), 0x8000u);
    EXPECT_EQ(board.LabelColor(4, 4), 0xFFFFu);
    session->Loop().Options().HintAllowed = false;
    EXPECT_EQ(Run({"hint"}), (TLines{"beep", "pending none"}));
}

TEST_F(Scenario, AFailureWithNowhereToRetryPlaysTheNoticeSound) {
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "");
    tree.Add(tree.Add(root, "CC"), "DD");
    Start(tree);
    EXPECT_EQ(Run({"SS"}),
              (TLines{"move SS player", "sound #1999 async", "result Failure", "sound #2020 wait",
                      "record failure", "sound #2091 wait", "pending none"}));
}

TEST_F(Scenario, ACorruptedBlobBeepsAndTheProblemIsStillSetUp) {
    std::vector<uint8_t> broken(40, 0);
    broken[0] = 1;
    broken[4] = 100; // a record far larger than the blob
    Start(TSolutionTree{}, "AACC", "BB", broken);
    EXPECT_EQ(loadLines, (TLines{"beep", "status 1 Data corrupted", "result "}));
    EXPECT_EQ(board.GetCell(1, 1), kBlackStone);
    EXPECT_EQ(board.GetCell(2, 2), kWhiteStone);
}

TEST_F(Scenario, PlayElsewhereInAFullCornerPasses) {
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "");
    tree.Add(tree.Add(tree.Add(root, "CC"), "TT"), "DD 1");
    std::string corner;
    for (int p = 16; p <= 19; ++p)
        for (int q = 16; q <= 19; ++q)
            corner += PointText(p, q);
    Start(tree, corner);
    EXPECT_EQ(Run({"CC"}).at(4), "move TT reply");
    EXPECT_EQ(board.LastP(), 20);
    EXPECT_EQ(Run({"DD"}).at(4), "result Success");
}

TEST_F(Scenario, PlayElsewhereUsesTheFirstFreeCornerPoint) {
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "");
    tree.Add(tree.Add(tree.Add(root, "CC"), "TT"), "DD 1");
    Start(tree, "PPPQ");
    EXPECT_EQ(Run({"CC"}).at(4), "move PR reply");
}

// In every orientation the player's move is matched where it is shown, and the opponent's
// "play elsewhere" lands in the turned corner block, as far from the problem as when stored.
TEST_F(Scenario, EveryOrientationMatchesShownMovesAndPlaysElsewhereAwayFromTheProblem) {
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "");
    tree.Add(tree.Add(tree.Add(root, "CD"), "TT"), "DD 1");
    for (int n = 0; n < TOrientation::kCount; ++n) {
        const TOrientation o(n);
        SCOPED_TRACE(n);
        Prepare = [n](TSolveLoop& loop) { loop.FixedOrientation = n; };
        Start(tree, "PP", "AA");
        const TPoint black = o.Apply(TPoint{16, 16}), white = o.Apply(TPoint{1, 1});
        EXPECT_EQ(board.GetCell(black.P, black.Q), o.SwapsColours() ? kWhiteStone : kBlackStone);
        EXPECT_EQ(board.GetCell(white.P, white.Q), o.SwapsColours() ? kBlackStone : kWhiteStone);
        EXPECT_EQ(board.Turn() > 0, !o.SwapsColours()) << "the solver plays the first move";
        const TLines lines = Run({o.Apply(std::string("CD"))});
        const TPoint elsewhere = o.Apply(TPoint{16, 17});
        EXPECT_EQ(lines.at(4), "move " + PointText(elsewhere.P, elsewhere.Q) + " reply");
        EXPECT_EQ(Run({o.Apply(std::string("DD"))}).at(4), "result Success");
    }
}

// Initial moves are played and numbered where they are shown, by the side the colours give them;
// the solver is the side after them.
TEST_F(Scenario, InitialMovesAreShownTurnedAndNumbered) {
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "");
    tree.Add(root, "EE 1");
    Initial = "CCDD"; // Black CC, White DD, then Black solves
    for (const int n : {0, 3, 12}) {
        const TOrientation o(n);
        SCOPED_TRACE(n);
        Prepare = [n](TSolveLoop& loop) {
            loop.FixedOrientation = n;
            loop.Options().DisplayNumbers = true;
        };
        Start(tree);
        const TPoint first = o.Apply(TPoint{3, 3}), second = o.Apply(TPoint{4, 4});
        EXPECT_EQ(board.GetCell(first.P, first.Q), o.SwapsColours() ? kWhiteStone : kBlackStone);
        EXPECT_EQ(board.GetCell(second.P, second.Q), o.SwapsColours() ? kBlackStone : kWhiteStone);
        EXPECT_EQ(board.NumberLabel(first.P, first.Q), 1);
        EXPECT_EQ(board.NumberLabel(second.P, second.Q), 2);
        EXPECT_EQ(board.Turn() > 0, !o.SwapsColours());
        EXPECT_EQ(Run({o.Apply(std::string("EE"))}).at(4), "result Success");
    }
}

// The orientation is drawn at each set-up: kept through a take-back and the next variation,
// drawn again by Solve again. With both options off nothing is drawn at all.
TEST_F(Scenario, AnOrientationIsDrawnAtSetUpAndKeptUntilSolveAgain) {
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "");
    const TNodeId move = tree.Add(root, "CC");
    tree.Add(tree.Add(move, "DD"), "EE 1");
    tree.Add(tree.Add(move, "EE"), "DD 1");
    std::vector<int> draws{3, 1, 5, 0};
    std::vector<int> bounds;
    bool random = true;
    Prepare = [&](TSolveLoop& loop) {
        loop.Options().RandomOrientation = random;
        loop.Options().RandomColours = random;
        loop.Random = [&](int bound) {
            bounds.push_back(bound);
            const int value = draws.front();
            draws.erase(draws.begin());
            return value;
        };
    };
    Start(tree);
    const TSolveLoop& loop = session->Loop();
    EXPECT_EQ(bounds, (std::vector<int>{8, 2}));
    const TOrientation first(3 + 8);
    EXPECT_EQ(loop.Orientation(), first);
    Run({first.Apply(std::string("CC")), "back", first.Apply(std::string("CC"))});
    EXPECT_EQ(loop.Orientation(), first);
    const TLines lines = Run({first.Apply(std::string("EE")), "next"});
    EXPECT_EQ(lines.back(), "pending none");
    EXPECT_EQ(loop.Orientation(), first) << "the next variation keeps it";
    Run({"again"});
    EXPECT_EQ(loop.Orientation(), TOrientation(5));
    const TPoint shown = TOrientation(5).Apply(TPoint{3, 3});
    EXPECT_EQ(Run({PointText(shown.P, shown.Q)}).at(0), "move " + PointText(shown.P, shown.Q) + " player");
    EXPECT_EQ(board.GetCell(shown.P, shown.Q), kBlackStone);

    random = false;
    bounds.clear();
    Start(tree);
    EXPECT_TRUE(bounds.empty());
    EXPECT_TRUE(session->Loop().Orientation().IsIdentity());
}

} // namespace
} // namespace karvena::test

#include "solving/TryMode.h"

namespace karvena::test {
namespace {

// A line ended by the opponent's correct reply leaves the player to move: a click then plays
// nothing and counts nothing, and the next variation is still pending.
TEST_F(Scenario, AClickAfterTheLineEndedPlaysAndCountsNothing) {
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "");
    const TNodeId move = tree.Add(root, "AA");
    tree.Add(move, "BB 1");
    tree.Add(move, "CC 1");
    Start(tree);
    const TLines first = Run({"AA"});
    ASSERT_NE(std::find(first.begin(), first.end(), "result Success"), first.end());
    ASSERT_EQ(first.back(), "pending next");
    EXPECT_EQ(Run({"KK"}), (TLines{"refused KK", "pending next"}));
    EXPECT_EQ(session->History().Find(1)->FailedCount, 0);
    const TLines next = Run({"next"});
    EXPECT_NE(std::find(next.begin(), next.end(), "record solved"), next.end());
    EXPECT_EQ(Run({"KK"}), (TLines{"refused KK", "pending none"})) << "solved: nothing more";
    EXPECT_EQ(session->History().Find(1)->FailedCount, 0);
    // Back, Solve again and the next set-up give the board back to the player.
    Run({"back"});
    EXPECT_EQ(Run({"AA"}).front(), "move AA player");
}

// Next variation stops as soon as a take-back no longer shortens the record (a start that
// cannot be set up), instead of spinning for 30 seconds.
TEST_F(Scenario, NextVariationLeavesWhenATakeBackNoLongerShortensTheRecord) {
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "");
    tree.Add(tree.Add(root, "CC"), "DD"); // a line that fails at its end
    tree.Add(root, "EE 1");
    Initial = "AABA"; // both on setup stones: the start cannot be set up
    Start(tree, "AABA");
    ASSERT_EQ(Run({"CC"}).back(), "pending retry");
    const TLines lines = Run({"next"});
    int takenBack = 0;
    for (const std::string& line : lines)
        if (line.rfind("takeback ", 0) == 0) takenBack = std::stoi(line.substr(9));
    EXPECT_LE(takenBack, 3) << "the loop left at once";
}

// Stop try puts the board back exactly where the try began, however the tried line was undone
// and replaced.
TEST_F(Scenario, StopTryRestoresThePositionTheTryBeganAt) {
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "");
    tree.Add(tree.Add(root, "GG"), "HH 1");
    Start(tree);
    board.SetProcess("CCDDEEFF");
    TTryMode trying(board, session->Loop());
    trying.Start();
    trying.Undo();
    trying.Undo();
    for (const char* point : {"KK", "KL", "KM", "KN"}) {
        const TPoint p = PointAt(point, 0);
        ASSERT_TRUE(board.MakeMove(p.P, p.Q, true)) << point;
    }
    trying.Undo();
    trying.Stop();
    EXPECT_EQ(board.Process(), "CCDDEEFF");
}

} // namespace
} // namespace karvena::test

namespace karvena::test {
namespace {

// The FirstToPlay letter is read once, as black unless it is "W", so swapped colours give the
// move to the other side whatever letter the row holds.
TEST_F(Scenario, AnyFirstToPlayLetterIsBlackOrWhiteBeforeTheColoursAreSwapped) {
    const struct {
        const char* letter;
        bool whiteFirst;
    } cases[] = {{"B", false}, {"W", true}, {"", false}, {"b", false}, {"w", false}, {"X", false}};
    for (const auto& c : cases) {
        for (const int orientation : {0, 8}) {
            SCOPED_TRACE(std::string("'") + c.letter + "' orientation " + std::to_string(orientation));
            TSolutionTree tree;
            tree.Add(tree.Add(kNoNode, ""), "CC 1");
            FirstToPlay = c.letter;
            Prepare = [orientation](TSolveLoop& loop) { loop.FixedOrientation = orientation; };
            Start(tree);
            const bool whiteToMove = c.whiteFirst != (orientation == 8);
            EXPECT_EQ(board.Turn() < 0, whiteToMove);
            EXPECT_EQ(session->Loop().SolverSide() < 0, whiteToMove);
        }
    }
}

} // namespace
} // namespace karvena::test
