// Every bundled problem can be solved by following its tree, and the collection tool's "play"
// command shows what a player sees.
#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <sstream>

#include "collection/Archive.h"
#include "collection/SolutionBlob.h"
#include "text/Texts.h"
#include "solving/PlaySession.h"
#include "solving/ProblemQuestion.h"

namespace karvena {
namespace {

const std::string kArchive = KARVENA_ARCHIVE;
const std::string kTool = KARVENA_COLLECTION_TOOL;

// The tool's output lines; with `errorsToo`, its error lines after them.
std::vector<std::string> RunTool(const std::string& arguments, const std::string& command = "play",
                                 bool errorsToo = false, const std::string& archive = kArchive) {
    std::vector<std::string> lines;
    const std::string redirect = errorsToo ? " 2>&1" : "";
    FILE* pipe = popen((kTool + " " + command + " " + archive + " " + arguments + redirect).c_str(), "r");
    char buffer[1024];
    while (pipe && fgets(buffer, sizeof buffer, pipe)) {
        std::string line(buffer);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        lines.push_back(line);
    }
    if (pipe) pclose(pipe);
    return lines;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(PlayTool, TheCorrectLineOfABeginnerProblemSucceeds) {
    const std::vector<std::string> right = RunTool("0001 BA");
    EXPECT_EQ(right.at(0), "move BA player");
    EXPECT_TRUE(Has(right, "result Success"));
    EXPECT_TRUE(Has(right, "solved"));
    const std::vector<std::string> wrong = RunTool("0001 SS");
    EXPECT_TRUE(Has(wrong, "result Failure"));
    EXPECT_TRUE(Has(wrong, "record failure"));
    EXPECT_EQ(wrong.back(), "pending retry");
    // After a failure the opponent is to move: the trainer's board takes no click, nor does
    // the tool's.
    const std::vector<std::string> twice = RunTool("0001 SS SR");
    EXPECT_FALSE(Has(twice, "move SR player"));
    const std::vector<std::string> chinese = RunTool("0001 --lang zh_CN SS");
    EXPECT_TRUE(Has(chinese, "result 失败"));
}

// A move the tree does not list goes to the solver, as in the trainer: 0001's AA lets White
// take the group at CA, which the tool plays; --no-solver leaves it to the tree.
TEST(PlayTool, AMoveTheTreeLacksIsJudgedByTheSolverUnlessItIsOff) {
    const std::vector<std::string> judged = RunTool("0001 AA --budget-nodes 100000");
    EXPECT_TRUE(Has(judged, "solver AA fails CA"));
    EXPECT_TRUE(Has(judged, "move CA reply"));
    EXPECT_TRUE(Has(judged, "result Failure"));
    const std::vector<std::string> plain = RunTool("0001 AA --no-solver");
    EXPECT_FALSE(std::any_of(plain.begin(), plain.end(),
                             [](const std::string& l) { return l.rfind("solver", 0) == 0; }));
    EXPECT_FALSE(Has(plain, "move CA reply"));
    EXPECT_TRUE(Has(plain, "result Failure"));
}

// check --prove and export on the two-answers problem (its file lists BA; CC lives as well):
// the move the tree lacks is reported with its line, and written back as a variation that the
// importer reads as a correct one.
TEST(CheckTool, TheSolversFindingsAreReportedAndExported) {
    const std::string folder = ::testing::TempDir() + "/check-prove";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder + "/exported");
    const std::string archive = folder + "/two.dgo";
    ASSERT_EQ(std::system((kTool + " build " + KARVENA_TEST_DATA + "/solver -o " + archive +
                           " > /dev/null 2>&1").c_str()),
              0);
    const std::vector<std::string> plain = RunTool("", "check", false, archive);
    EXPECT_EQ(plain.back(), "1 problems checked, 0 reported");
    const std::vector<std::string> proved = RunTool("--prove --budget-nodes 200000", "check", false, archive);
    ASSERT_EQ(proved.size(), 2u);
    EXPECT_EQ(proved[0].substr(0, 48), "0001: the solver finds CC correct, which the tre");
    EXPECT_EQ(proved[1], "1 problems checked, 1 reported");
    const std::string sgf = folder + "/exported/two.sgf";
    const std::vector<std::string> exported =
        RunTool("0001 -o " + sgf + " --budget-nodes 200000", "export", false, archive);
    ASSERT_FALSE(exported.empty());
    EXPECT_EQ(exported.back(), "export: " + sgf + ", 1 lines added");
    // Built again from the export, the problem holds CC as a correct first move.
    const std::string again = folder + "/again.dgo";
    ASSERT_EQ(std::system((kTool + " build " + folder + "/exported -o " + again + " > /dev/null 2>&1").c_str()), 0);
    const std::vector<std::string> replayed = RunTool("0001 CC --no-solver", "play", false, again);
    EXPECT_FALSE(Has(replayed, "result Failure"));
    EXPECT_TRUE(Has(replayed, "move CA reply")) << "the solver's line is the tree's now";
    const std::vector<std::string> reproved = RunTool("--prove --budget-nodes 200000", "check", false, again);
    EXPECT_EQ(reproved.back(), "1 problems checked, 0 reported") << "nothing left to mend";
    // What a player found in play is exported from the history, with no search of the tool's own.
    const std::string history = folder + "/History1.cds";
    RunTool("0001 CC --budget-nodes 200000 --history " + history, "play", false, archive);
    const std::vector<std::string> played =
        RunTool("0001 -o " + sgf + " --budget-nodes 1 --history " + history, "export", false, archive);
    ASSERT_FALSE(played.empty());
    EXPECT_EQ(played.front().substr(0, 17), "found in play: CC");
    EXPECT_EQ(played.back(), "export: " + sgf + ", 1 lines added");
    std::filesystem::remove_all(folder);
}

// The solver asked of a position reached by moves of both sides that the tree does not answer.
TEST(SolveTool, MovesWrittenWithAnEqualsSignArePlayedAsTheyStand) {
    // 0001: Black lives by BA. Played with =, BA and White's pass stand on the board with no
    // answer from the tree, and it is Black's turn again: BA is no longer a point to judge.
    const std::vector<std::string> judged = RunTool("0001 =BA =TT --moves --budget-nodes 5000", "solve");
    EXPECT_TRUE(Has(judged, "move TT win")) << "Black, alive, may pass";
    EXPECT_FALSE(std::any_of(judged.begin(), judged.end(),
                             [](const std::string& l) { return l.rfind("move BA ", 0) == 0; }));
    const std::vector<std::string> occupied = RunTool("0001 =BA =BA --budget-nodes 20000", "solve", true);
    ASSERT_FALSE(occupied.empty());
    EXPECT_NE(occupied.back().find("=BA is no legal move here"), std::string::npos) << occupied.back();
}

// A named history that cannot be written makes the tool fail, after playing all the same.
TEST(PlayTool, AHistoryThatCannotBeWrittenIsAnError) {
    const std::string folder = ::testing::TempDir() + "/play-history";
    std::filesystem::create_directories(folder);
    const std::string good = folder + "/History1.cds";
    std::filesystem::remove(good);
    auto status = [](const std::string& arguments) {
        const int raw = std::system((kTool + " play " + kArchive + " " + arguments +
                                     " > /dev/null 2>&1").c_str());
        return WEXITSTATUS(raw);
    };
    EXPECT_EQ(status("0001 --history " + good + " BA"), 0);
    EXPECT_EQ(status("0001 --history " + folder + "/no/such/folder/History1.cds BA"), 3);
    // A directory where the file should be.
    EXPECT_EQ(status("0001 --history " + folder + " BA"), 3);
}

// What a run through one problem showed.
struct TRun {
    bool Solved = false;
    std::string Fault; // the first thing the player saw that the stored problem does not say
    std::vector<std::string> Lines;
};

// The first setup stone the board does not show turned by `o` in its colour, or "".
std::string SetupFault(const TGoBoard& board, const TProblemRow& row, const TOrientation& o) {
    for (const auto& [stones, black] :
         {std::pair{row.ArrangedBlack, true}, std::pair{row.ArrangedWhite, false}}) {
        for (int k = 0; k < MovesIn(stones); ++k) {
            const TPoint shown = o.Apply(PointAt(stones, k));
            const bool shownBlack = black != o.SwapsColours();
            const int8_t cell = board.GetCell(shown.P, shown.Q);
            if (!IsStone(cell) || (cell > 0) != shownBlack)
                return "setup stone " + stones.substr(2 * k, 2) + " is not shown at " +
                       PointText(shown.P, shown.Q);
        }
    }
    return "";
}

// The words of a transcript line between the offsets `from` and `to` (npos: to its end).
std::set<std::string> PointsOf(const std::string& line, size_t from, size_t to) {
    std::set<std::string> points;
    std::istringstream words(line.substr(from, to == std::string::npos ? to : to - from));
    for (std::string word; words >> word;) points.insert(word);
    return points;
}

// Plays a problem shown in orientation `o`: first asks for a hint and checks that it marks the
// good first moves where the player sees them, then chooses at every turn a child from which a
// success is reachable, plays it where it is shown, checks each reply lands where the tree's
// reply is shown, and takes the next variation whenever one is pending, until the problem
// counts as solved.
TRun SolveByFollowingTree(const TProblemStore& problems, int key, const std::string& history,
                          const TOrientation& o) {
    TRun run;
    TGoBoard board;
    TPlaySession session(board, problems, history);
    TSolveLoop& loop = session.Loop();
    loop.FixedOrientation = o.Number();
    if (!session.Load(key)) {
        run.Fault = "not loaded";
        return run;
    }
    run.Fault = SetupFault(board, *problems.Find(key), o);
    if (loop.SolverSide() != board.Turn()) run.Fault = "the solver is not to move";
    session.Take();
    session.Word("hint");
    std::set<std::string> good, bad;
    const TSolutionTree& tree = loop.Tree();
    for (TNodeId c = tree.FirstChild(tree.Root()); c != kNoNode; c = tree.NextSibling(c)) {
        const TPoint shown = o.Apply(PointAt(tree.MoveOf(c), 0));
        const bool isGood =
            IsSuccess(ResultValue(tree.ResultCodeOf(c))) || tree.HasSuccessBelow(c);
        (isGood ? good : bad).insert(PointText(shown.P, shown.Q));
    }
    for (const std::string& line : session.Take()) {
        if (line.rfind("hint good", 0) != 0) continue;
        const size_t badAt = line.find(" bad");
        if (PointsOf(line, 9, badAt) != good || PointsOf(line, badAt + 4, std::string::npos) != bad)
            run.Fault = "the hint marks " + line;
    }
    for (int step = 0; step < 400 && !run.Solved; ++step) {
        if (loop.RetryNode() != kNoNode) {
            session.Word("next");
        } else {
            const TNodeId current = tree.Current();
            TNodeId choice = kNoNode;
            for (TNodeId c = tree.FirstChild(current); c != kNoNode && choice == kNoNode;
                 c = tree.NextSibling(c)) {
                const int flags = tree.FlagsOf(c);
                if ((IsSuccess(ResultValue(tree.ResultCodeOf(c))) || tree.HasSuccessBelow(c)) &&
                    !IsFlagged(flags) && !(flags & kFlagSometimes) && tree.MoveOf(c) != "TT")
                    choice = c;
            }
            if (choice == kNoNode) break;
            session.Word(o.Apply(tree.MoveOf(choice)));
        }
        for (const std::string& line : session.Take()) {
            run.Solved |= line == "solved";
            run.Lines.push_back(line);
            if (line.rfind("move ", 0) == 0 && line.ends_with(" reply") && run.Fault.empty()) {
                const std::string reply = tree.MoveOf(tree.Current());
                if (reply != "TT" && o.Apply(reply) != line.substr(5, 2))
                    run.Fault = line + ", the tree's reply " + reply + " is not shown there";
            }
        }
    }
    return run;
}

// No bundled problem's question puts one of the attacker's stones for the open board on a point
// its region closes in on every side (the corner point behind two gaps of a wall): that stone
// would stand in the middle of the fight, where the board has none.
TEST(BundledQuestions, NoFrameStoneStandsInAHoleOfTheRegion) {
    const TArchiveRead read = ReadArchiveMember(kArchive);
    ASSERT_EQ(read.Error, TArchiveError::None) << read.Detail;
    TProblemStore problems;
    ASSERT_TRUE(problems.Open(read.Bytes));
    int asked = 0;
    for (const auto& [key, level] : problems.KeysAndLevels()) {
        const std::optional<TProblemRow> row = problems.Find(key);
        ASSERT_TRUE(row);
        TSolutionTree tree;
        LoadSolution(tree, row->Solution);
        for (const TLifeGoal goal : {TLifeGoal::Kill, TLifeGoal::Live}) {
            const TProblemQuestion question = QuestionOf(*row, tree, goal);
            if (!question.Ok()) continue;
            ++asked;
            const std::vector<int>& region = question.Question.Region;
            const auto inRegion = [&](int p) { return std::find(region.begin(), region.end(), p) != region.end(); };
            for (const int f : question.Frame) {
                bool closed = true;
                for (const int d : TSolverBoard::kDirections)
                    closed = closed && (!question.Question.Board.OnBoard(f + d) || inRegion(f + d));
                EXPECT_FALSE(closed) << "problem " << key << (goal == TLifeGoal::Kill ? " killing" : " living")
                                     << ": frame stone at " << SolverPointText(f);
            }
        }
    }
    EXPECT_GT(asked, 700);
}

// Every bundled problem is solved by following its tree in each of the sixteen orientations.
class BundledInEveryOrientation : public ::testing::TestWithParam<int> {};

TEST_P(BundledInEveryOrientation, EveryProblemIsSolvedByFollowingItsTree) {
    SetLanguageFlags(TLanguage::English);
    const TArchiveRead read = ReadArchiveMember(kArchive);
    ASSERT_EQ(read.Error, TArchiveError::None) << read.Detail;
    TProblemStore problems;
    ASSERT_TRUE(problems.Open(read.Bytes));
    const TOrientation o(GetParam());
    const std::string history =
        ::testing::TempDir() + "/bundled-play-" + std::to_string(o.Number()) + ".cds";
    std::filesystem::remove(history);
    int solved = 0, total = 0;
    for (const auto& [key, level] : problems.KeysAndLevels()) {
        ++total;
        const TRun run = SolveByFollowingTree(problems, key, history, o);
        solved += run.Solved && run.Fault.empty();
        std::string tail;
        for (size_t i = run.Lines.size() > 12 ? run.Lines.size() - 12 : 0; i < run.Lines.size();
             ++i)
            tail += run.Lines[i] + "\n";
        EXPECT_TRUE(run.Solved) << "problem " << key << ":\n" << tail;
        EXPECT_EQ(run.Fault, "") << "problem " << key;
    }
    EXPECT_EQ(solved, total);
    SetLanguageFlags(TLanguage::SimplifiedChinese);
}

INSTANTIATE_TEST_SUITE_P(Transforms, BundledInEveryOrientation,
                         ::testing::Range(0, TOrientation::kCount));

// The tool shows a problem the same way: the right first move of problem 0001 (B at BA) is
// found at its turned point, the hint marks it and the wrong CA there, and the stored point is
// now a failure.
TEST(PlayTool, AProblemIsPlayedInTheOrientationAsked) {
    struct Row {
        int Transform;
        const char* Right;
        const char* Wrong;
    };
    const Row rows[] = {{0, "BA", "SB"}, {1, "SB", "BA"}, {2, "RS", "BA"}, {6, "AB", "SS"},
                        {9, "SB", "BA"}};
    for (const Row& row : rows) {
        const std::string transform = " --transform " + std::to_string(row.Transform) + " ";
        const std::vector<std::string> right = RunTool("0001" + transform + row.Right + " hint");
        EXPECT_TRUE(Has(right, std::string("move ") + row.Right + " player")) << row.Transform;
        EXPECT_TRUE(Has(right, "solved")) << row.Transform;
        EXPECT_TRUE(Has(right, std::string("hint good ") + row.Right + " bad " +
                                   TOrientation(row.Transform).Apply(std::string("CA"))))
            << row.Transform;
        const std::vector<std::string> wrong = RunTool("0001" + transform + row.Wrong);
        EXPECT_TRUE(Has(wrong, "result Failure")) << row.Transform;
    }
    // A transform that is not one of the sixteen is refused with the usage.
    EXPECT_TRUE(RunTool("0001 --transform 16 BA").empty());
}

} // namespace
} // namespace karvena
