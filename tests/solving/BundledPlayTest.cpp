// Every bundled problem can be solved by following its tree, and the collection tool's "play"
// command shows what a player sees.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "collection/Archive.h"
#include "collection/SolutionBlob.h"
#include "text/Texts.h"
#include "solving/PlaySession.h"

namespace karvena {
namespace {

const std::string kArchive = KARVENA_ARCHIVE;
const std::string kTool = KARVENA_COLLECTION_TOOL;

std::vector<std::string> RunTool(const std::string& arguments) {
    std::vector<std::string> lines;
    FILE* pipe = popen((kTool + " play " + kArchive + " " + arguments).c_str(), "r");
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

// Plays a problem by choosing, at every turn, a child from which a success is reachable, and
// takes the next variation whenever one is pending, until the problem counts as solved.
TEST(BundledProblems, EveryProblemCanBeSolvedByFollowingItsTree) {
    SetLanguageFlags(TLanguage::English);
    const TArchiveRead read = ReadArchiveMember(kArchive);
    ASSERT_EQ(read.Error, TArchiveError::None) << read.Detail;
    TProblemStore problems;
    ASSERT_TRUE(problems.Open(read.Bytes));
    const std::string history = ::testing::TempDir() + "/bundled-play.cds";
    std::filesystem::remove(history);
    int solved = 0, total = 0;
    for (const auto& [key, level] : problems.KeysAndLevels()) {
        ++total;
        TGoBoard board;
        TPlaySession session(board, problems, history);
        ASSERT_TRUE(session.Load(key));
        session.Take();
        bool done = false;
        std::vector<std::string> last;
        for (int step = 0; step < 400 && !done; ++step) {
            TSolveLoop& loop = session.Loop();
            if (loop.RetryNode() != kNoNode) {
                session.Word("next");
            } else {
                const TSolutionTree& tree = loop.Tree();
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
                session.Word(tree.MoveOf(choice));
            }
            for (const std::string& line : session.Take()) {
                done |= line == "solved";
                last.push_back(line);
            }
        }
        solved += done;
        std::string tail;
        for (size_t i = last.size() > 12 ? last.size() - 12 : 0; i < last.size(); ++i)
            tail += last[i] + "\n";
        EXPECT_TRUE(done) << "problem " << key << ":\n" << tail;
    }
    EXPECT_EQ(solved, total);
    SetLanguageFlags(TLanguage::SimplifiedChinese);
}

} // namespace
} // namespace karvena
