// Moves the tree does not list, judged by the solver in the headless play: the problem is a
// position of the bundled collection's 0002 with one stone fewer, where Black lives by BA or by
// CC; its file (tests/data/solver/two-answers.sgf) lists only BA, states no goal, and refutes
// three wrong moves.
#include <gtest/gtest.h>

#include <chrono>

#include <algorithm>
#include <fstream>

#include "collection/ImportedRow.h"
#include "collection/TempFolder.h"
#include "solving/PlaySession.h"
#include "text/Texts.h"

namespace karvena::test {
namespace {

using TLines = std::vector<std::string>;

std::string ReadFixture(const std::string& name) {
    std::ifstream in(std::string(KARVENA_TEST_DATA) + "/solver/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The two-answers problem with two opponent variations after BA: CC (answered by CB, then AA
// by AB, where AC lives as well) and CB (answered by CC).
const char* const kTwoVariations =
    "(;GM[1]FF[4]SZ[19]C[Black to play.]AB[bb][bc][da][db]AW[ad][bd][cd][dd][ea][eb][ec][ed]"
    "(;B[ba](;W[cc];B[cb];W[aa];B[ab]C[Correct])(;W[cb];B[cc]C[Correct]))"
    "(;B[ca];W[cc]C[Wrong]))";

class OffTree : public ::testing::Test {
protected:
    void SetUp() override { SetLanguageFlags(TLanguage::English); }
    void TearDown() override {
        session.reset();
        SetLanguageFlags(TLanguage::SimplifiedChinese);
    }
    // Loads the problem of `sgf` with the solver on (judging within `nodes` positions) or off.
    void Start(const std::string& sgf, bool solver = true, int64_t nodes = 200000, int orientation = -1) {
        const TProblemRow row = ImportedRow(sgf);
        ASSERT_FALSE(row.Solution.empty());
        TProblemTableWriter writer;
        ASSERT_TRUE(writer.Add(row));
        ASSERT_TRUE(problems.Open(writer.Image()));
        session.reset();
        session = std::make_unique<TPlaySession>(board, problems, folder.File(historyName));
        session->SetSolverOn(solver);
        session->Loop().Options().SolverBudgetMs = 0;
        session->Loop().Options().SolverBudgetNodes = nodes;
        session->Loop().FixedOrientation = orientation;
        ASSERT_TRUE(session->Load(1));
        session->Take();
    }
    TLines Run(const std::vector<std::string>& words) {
        TLines lines;
        for (const std::string& word : words) {
            EXPECT_TRUE(session->Word(word)) << word;
            for (std::string& line : session->Take())
                if (line.rfind("sound", 0) != 0 && line.rfind("status", 0) != 0) lines.push_back(line);
        }
        return lines;
    }
    static bool Has(const TLines& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    // The opponent's answers in a transcript, in order.
    static std::vector<std::string> Replies(const TLines& lines) {
        std::vector<std::string> replies;
        for (const std::string& line : lines)
            if (line.size() == 13 && line.substr(0, 5) == "move " && line.substr(8) == "reply")
                replies.push_back(line.substr(5, 2));
        return replies;
    }
    // The player's best move in the position on the board (the player to move: the first of
    // the line), as a judge of its own finds it.
    std::string BestMove() {
        TMoveJudge judge(problems.Find(1).value());
        TSolverBudget budget;
        budget.Nodes = 200000;
        return AnswerOf(judge.Judge(session->Loop().StoredMovesBeyondStart(), budget));
    }
    TTempFolder folder;
    std::string historyName = "History1.cds";
    TProblemStore problems;
    TGoBoard board;
    std::unique_ptr<TPlaySession> session;
};

TEST_F(OffTree, TheAnswerTheFileLeftOutWorksAndSolvesTheProblem) {
    Start(ReadFixture("two-answers.sgf"));
    TLines lines = Run({"CC"});
    EXPECT_TRUE(Has(lines, "solver CC works"));
    EXPECT_TRUE(Has(lines, "notice This also works"));
    ASSERT_EQ(Replies(lines).size(), 1u) << "the solver resists";
    EXPECT_FALSE(Has(lines, "result Success")) << "the group is not alive yet";
    // The player goes on with the solver's own line, each move judged again, until Black lives.
    for (int move = 0; move < 10 && !session->Loop().LineEnded(); ++move) {
        const std::string best = BestMove();
        ASSERT_FALSE(best.empty());
        const TLines next = Run({best});
        EXPECT_TRUE(Has(next, "solver " + best + " works"));
        EXPECT_FALSE(Has(next, "notice This also works")) << "said once, where the line left the tree";
        lines.insert(lines.end(), next.begin(), next.end());
    }
    EXPECT_TRUE(Has(lines, "result Success"));
    EXPECT_TRUE(Has(lines, "solved")) << "the line the solver supplied counts as the tree's";
    EXPECT_EQ(session->History().Find(1)->SolvedCount, 1);
    EXPECT_EQ(session->History().Find(1)->FailedCount, 0);
}

// Turned, mirrored or with its colours swapped, the problem is judged as stored: the other answer
// works in every orientation, and the solver's answer lands where the orientation puts it.
TEST_F(OffTree, EveryOrientationIsJudgedAsTheStoredProblem) {
    for (int number = 0; number < TOrientation::kCount; ++number) {
        SCOPED_TRACE(number);
        historyName = "History" + std::to_string(number) + ".cds"; // each judges afresh
        Start(ReadFixture("two-answers.sgf"), true, 200000, number);
        const TOrientation shown(number, 19);
        const std::string cc = shown.Apply("CC");
        const TLines lines = Run({cc});
        EXPECT_TRUE(Has(lines, "solver " + cc + " works"));
        ASSERT_EQ(Replies(lines).size(), 1u);
        EXPECT_EQ(shown.Undo(Replies(lines)[0]), session->History().SolverVerdict(1, "CC")->Line.substr(0, 2))
            << "the kept line is the stored problem's";
        const TPoint reply = PointAt(Replies(lines)[0], 0);
        EXPECT_EQ(board.GetCell(reply.P, reply.Q) < 0, !shown.SwapsColours()) << "the opponent's colour";
    }
}

TEST_F(OffTree, AWrongMoveTheTreeLacksIsRefutedOnTheBoardAndCountedOnce) {
    Start(ReadFixture("two-answers.sgf"));
    const TLines lines = Run({"DC"});
    EXPECT_EQ(lines, (TLines{"move DC player", "solver DC fails CC", "move CC reply", "result Failure",
                             "record failure", "pending retry"}));
    EXPECT_EQ(session->History().Find(1)->FailedCount, 1);
    EXPECT_EQ(Run({"DA"}), (TLines{"refused DA", "pending retry"})) << "the line has ended";
    // The retry takes back the refutation and the move: the problem's start again.
    EXPECT_EQ(Run({"next"}), (TLines{"result ", "takeback 2", "pending none"}));
    EXPECT_EQ(board.Process(), "");
    EXPECT_EQ(Run({"BA"}), (TLines{"move BA player", "move CB reply", "result ", "pending none"}))
        << "the tree's own moves are the tree's";
}

TEST_F(OffTree, AKoTheProblemDoesNotAskForFails) {
    Start(ReadFixture("two-answers.sgf"));
    const TLines lines = Run({"AC"});
    // The ko AC leads to is the opponent's to take first.
    EXPECT_TRUE(Has(lines, "solver AC ko taken first by the opponent"));
    EXPECT_TRUE(Has(lines, "notice This leads to a ko your opponent takes first, which the problem does "
                           "not count as its answer"));
    EXPECT_EQ(Replies(lines).size(), 1u);
    EXPECT_TRUE(Has(lines, "result Failure"));
}

// Where the problem's own answer is a ko, a move the tree lacks that reaches the ko works, and
// its line ends there as the tree's would.
TEST_F(OffTree, AKoWorksWhereTheProblemAsksForOne) {
    Start("(;GM[1]FF[4]SZ[19]C[Black lives by ko.]AB[bb][bc][da][db]AW[ad][bd][cd][dd][ea][eb][ec][ed]"
          ";B[ba];W[cb];B[cc]C[Correct])");
    const TLines lines = Run({"AC"});
    EXPECT_TRUE(Has(lines, "solver AC works"));
    EXPECT_TRUE(Has(lines, "notice This also works"));
    EXPECT_TRUE(Replies(lines).empty());
    EXPECT_TRUE(Has(lines, "result Success — the answer is a ko"));
}

TEST_F(OffTree, AMoveTheSolverCannotSettleKeepsTheTreesVerdict) {
    Start(ReadFixture("two-answers.sgf"), true, 1);
    EXPECT_EQ(Run({"CC"}), (TLines{"move CC player", "solver CC unknown",
                                   "notice This move is not among the problem's answers",
                                   "result Failure", "record failure", "pending retry"}));
}

TEST_F(OffTree, WithTheOptionOffTheTreeAloneAnswers) {
    Start(ReadFixture("two-answers.sgf"), false);
    EXPECT_EQ(Run({"CC"}), (TLines{"move CC player", "result Failure", "record failure", "pending retry"}));
    EXPECT_EQ(Run({"next", "DC"}), (TLines{"result ", "takeback 1", "pending none", "move DC player",
                                           "result Failure", "record failure", "pending retry"}));
    EXPECT_FALSE(session->History().SolverVerdict(1, "CC")) << "nothing was put to the solver";
}

TEST_F(OffTree, AVerdictIsKeptAndUsedAgain) {
    Start(ReadFixture("two-answers.sgf"));
    Run({"DC"});
    const std::optional<TSolverVerdictRow> kept = session->History().SolverVerdict(1, "DC");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->Verdict, static_cast<int>(TSolverVerdict::Loss));
    EXPECT_EQ(kept->Line.substr(0, 2), "CC");
    ASSERT_TRUE(session->History().SolverVerdict(1, "goal")) << "the goal found is kept too";
    // A new session on the same history with a budget too small to settle anything: the kept
    // verdict answers.
    Start(ReadFixture("two-answers.sgf"), true, 1);
    EXPECT_TRUE(Has(Run({"DC"}), "solver DC fails CC"));
}

// A goal that could not be found is looked for again once the search may take longer than it
// could then; with no more time it is not looked for again.
// A goal found ahead (kept in the collection) is the judge's at once, without a search, even
// where the history keeps an older "not found" for the problem's key.
TEST(MoveJudge, AGoalFoundAheadNeedsNoSearch) {
    TProblemRow row = ImportedRow(ReadFixture("two-answers.sgf"));
    row.Result2 = kResultDerivedLive;
    TSolverBudget none;
    none.Nodes = 1; // no room to look for a goal
    for (const bool keptNone : {false, true}) {
        SCOPED_TRACE(keptNone);
        TMoveJudge judge(row);
        if (keptNone) judge.SetKnownGoal(TJudgeGoal::None);
        ASSERT_TRUE(judge.Prepare(none)) << judge.Why();
    }
    row.Result2.reset();
    TMoveJudge unknown(row);
    unknown.SetKnownGoal(TJudgeGoal::None);
    EXPECT_FALSE(unknown.Prepare(none)) << "without it, the kept word stands";
}

// The goal is looked for within half a judgement's time in all, the player waiting; one not
// found by then is looked for again at the next move, never kept as "not found".
TEST(MoveJudge, AGoalNotFoundInTimeIsNotTakenForNone) {
    const TProblemRow row = ImportedRow("(;SZ[19]AB[cc][dc][cd]AW[ee][fd][de](;B[bb]C[Correct])(;B[ab];W[bb]C[Wrong]))");
    TSolverBudget late;
    late.Milliseconds = 2000;
    late.Deadline = std::chrono::steady_clock::now() - std::chrono::seconds(1);
    TMoveJudge hurried(row);
    EXPECT_FALSE(hurried.Prepare(late));
    EXPECT_EQ(hurried.Why(), "the goal was not found in time");
    EXPECT_FALSE(hurried.Goal().has_value());
    TSolverBudget nodes;
    nodes.Nodes = 2000;
    TMoveJudge patient(row);
    EXPECT_FALSE(patient.Prepare(nodes));
    EXPECT_EQ(patient.Goal(), TJudgeGoal::None) << patient.Why();
}

TEST_F(OffTree, AGoalNotFoundIsLookedForAgainWithALargerBudget) {
    for (const int keptBudget : {100, 5000}) {
        SCOPED_TRACE(keptBudget);
        historyName = "History" + std::to_string(keptBudget) + ".cds";
        {
            THistoryStore history;
            ASSERT_TRUE(history.Open(folder.File(historyName)).Ok);
            ASSERT_TRUE(history.PostSolverVerdict({1, "goal", static_cast<int>(TJudgeGoal::None), "", false, keptBudget}));
        }
        Start(ReadFixture("two-answers.sgf"));
        session->Loop().Options().SolverBudgetMs = 2000;
        ASSERT_TRUE(session->Load(1)); // loaded again with the longer budget
        session->Take();
        const TLines lines = Run({"CC"});
        EXPECT_EQ(Has(lines, "solver CC works"), keptBudget < 2000);
        EXPECT_EQ(Has(lines, "solver CC unknown"), keptBudget >= 2000);
    }
}

TEST_F(OffTree, TheSolversLineBelowTheRootLeavesTheTreesOtherVariationPending) {
    Start(kTwoVariations);
    EXPECT_EQ(Replies(Run({"BA", "CB"})), (std::vector<std::string>{"CC", "AA"}));
    TLines lines = Run({"AC"});
    EXPECT_TRUE(Has(lines, "solver AC works"));
    EXPECT_TRUE(Has(lines, "notice This also works"));
    for (int move = 0; move < 10 && !session->Loop().LineEnded(); ++move) {
        const std::string best = BestMove();
        ASSERT_FALSE(best.empty());
        const TLines next = Run({best});
        lines.insert(lines.end(), next.begin(), next.end());
    }
    EXPECT_TRUE(Has(lines, "result Success"));
    EXPECT_FALSE(Has(lines, "solved")) << "the tree's other variation is still to be played";
    EXPECT_EQ(lines.back(), "pending next");
    // The next variation goes back to after BA, the solver's moves and all, and plays the other.
    lines = Run({"next"});
    EXPECT_EQ(Replies(lines), (std::vector<std::string>{"CB"}));
    EXPECT_EQ(board.Process(), "BACB");
    EXPECT_TRUE(Has(Run({"CC"}), "solved")) << "with both variations through, the problem is solved";
}

// A file with the answer alone (its main line, nothing marked) is played like any other: the
// solver refutes a wrong move and accepts the other answer.
TEST_F(OffTree, AProblemWithOnlyItsAnswerLineIsPlayedInFull) {
    const char* answerOnly = "(;GM[1]FF[4]SZ[19]AB[bb][bc][da][db]AW[ad][bd][cd][dd][ea][eb][ec][ed]"
                             ";B[ba];W[cb];B[cc])";
    Start(answerOnly);
    EXPECT_TRUE(Has(Run({"DC"}), "solver DC fails CC"));
    Run({"next"});
    const TLines other = Run({"CC"});
    EXPECT_TRUE(Has(other, "solver CC works"));
    EXPECT_TRUE(Has(other, "notice This also works"));
    Run({"again"});
    EXPECT_TRUE(Has(Run({"BA", "CC"}), "result Success")) << "the main line stays the tree's";
}

TEST_F(OffTree, HintOnTheSolversLineMarksItsBestMove) {
    Start(ReadFixture("two-answers.sgf"));
    Run({"CC"});
    const TLines hint = Run({"hint"});
    ASSERT_EQ(hint.size(), 3u);
    ASSERT_EQ(hint[0].substr(0, 10), "hint good ");
    ASSERT_EQ(hint[0].size(), 16u) << hint[0] << ": one move, no bad ones";
    EXPECT_EQ(hint[1], "record hint 1");
    EXPECT_EQ(session->History().Find(1)->Hint1Count, 1);
    const std::string best = hint[0].substr(10, 2);
    EXPECT_TRUE(Has(Run({best}), "solver " + best + " works"));
}

} // namespace
} // namespace karvena::test
