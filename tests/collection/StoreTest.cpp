// The collection archive, the problem table, level groups and the history file.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

#include "collection/Archive.h"
#include "collection/OpenGroup.h"
#include "collection/HistoryLock.h"
#include "collection/TempFolder.h"
#include "index/GoIndexModel.h"
#include <zip.h>

namespace karvena::test {
namespace {

TProblemRow Problem(int auto1, int group, int level, int num, std::optional<int> result = 1) {
    TProblemRow row;
    row.Auto1 = auto1;
    row.Group1 = group;
    row.Level1 = level;
    row.Num = num;
    row.ArrangedBlack = "CCDC";
    row.ArrangedWhite = "BBCB";
    row.Initial = "";
    row.FirstToPlay = "B";
    row.Result2 = result;
    return row;
}

std::vector<uint8_t> Collection(const std::vector<TProblemRow>& rows) {
    TProblemTableWriter writer;
    for (const TProblemRow& row : rows)
        EXPECT_TRUE(writer.Add(row)) << writer.Error();
    return writer.Image();
}

class Store : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(history.Open(folder.File(kHistoryFileName)).Ok); }
    TOpenGroupResult Open(int group) { return OpenGroup(folder.Path(), group, problems, history); }
    TTempFolder folder;
    THistoryStore history;
    TProblemStore problems;
};

TEST_F(Store, ArchiveRoundTripListsAGroupInLevelOrder) {
    const std::vector<TProblemRow> rows = {
        Problem(0x10, 1, 5, 2), Problem(0x11, 1, 3, 9), Problem(0x12, 1, 5, 1),
        Problem(0x20, 2, 1, 1), Problem(0x21, 2, 2, 1), Problem(0x05, 0, 1, 1),
    };
    ASSERT_EQ(WriteArchive(folder.File(kArchiveName), Collection(rows)), "");
    const TOpenGroupResult result = Open(1);
    ASSERT_EQ(result.Status, TOpenGroupStatus::Ok) << OpenGroupMessage(result, true);
    EXPECT_EQ(result.Lines,
              (std::vector<std::string>{"001100 1 CCDC BBCB  B", "001200 1 CCDC BBCB  B",
                                        "001000 1 CCDC BBCB  B"}));
    // History rows for the group and for the next group's first problem, none beyond.
    EXPECT_TRUE(history.Find(0x10));
    EXPECT_TRUE(history.Find(0x20));
    EXPECT_FALSE(history.Find(0x21));
    EXPECT_FALSE(history.Find(0x05));
    EXPECT_EQ(history.Count(), 4);
    // The lookups the solve loop needs.
    EXPECT_EQ(problems.Find(0x12)->Num, 1);
    EXPECT_FALSE(problems.Find(0x99));
    // The last group has no next group.
    EXPECT_EQ(Open(2).Lines.size(), 2u);
    EXPECT_TRUE(Open(7).Lines.empty());
}

TEST_F(Store, SolvedProblemsAndNullResults) {
    ASSERT_EQ(
        WriteArchive(folder.File(kArchiveName),
                     Collection({Problem(0xABC, 3, 1, 1), Problem(0xABD, 3, 1, 2, std::nullopt)})),
        "");
    THistoryRow solved;
    solved.Auto1 = 0xABC;
    solved.SolvedCount = 2;
    ASSERT_TRUE(history.Post(solved));
    const TOpenGroupResult result = Open(3);
    ASSERT_EQ(result.Lines.size(), 2u);
    EXPECT_EQ(result.Lines[0][5], '1');
    EXPECT_EQ(result.Lines[0].substr(0, 4), "0ABC") << "upper-case hex, four digits";
    EXPECT_EQ(result.Lines[1], "0ABD00  CCDC BBCB  B")
        << "a null result leaves two blanks in a row";
}

TEST_F(Store, ALargeGroupIsListedByItsKeysAndGivesTheSameLinesFromTheStore) {
    // Levels and numbers out of key order, ties broken by key, a solved problem, a null result.
    std::vector<TProblemRow> rows = {Problem(0x30, 0, 1, 1), Problem(0x41, 2, 1, 1)};
    for (int i = 0; i < 9; ++i)
        rows.push_back(Problem(0x100 + i, 1, 9 - i / 3, i % 2, i == 4 ? std::nullopt
                                                                       : std::optional<int>(i)));
    ASSERT_EQ(WriteArchive(folder.File(kArchiveName), Collection(rows)), "");
    THistoryRow solved;
    solved.Auto1 = 0x106; // first in the listing, seventh by key
    solved.SolvedCount = 1;
    ASSERT_TRUE(history.Post(solved));
    const TOpenGroupResult whole = Open(1);
    ASSERT_EQ(whole.Status, TOpenGroupStatus::Ok);
    ASSERT_EQ(whole.Lines.size(), 9u);
    EXPECT_FALSE(whole.Source) << "a small group is listed whole";
    const int rowsAfterWhole = history.Count();

    // The same group listed by its keys into a fresh history.
    TTempFolder other;
    THistoryStore fresh;
    ASSERT_TRUE(fresh.Open(other.File(kHistoryFileName)).Ok);
    ASSERT_TRUE(fresh.Post(solved));
    TOpenGroupResult listed;
    ListGroup(problems, 1, fresh, listed, 0);
    ASSERT_EQ(listed.Status, TOpenGroupStatus::Ok);
    ASSERT_TRUE(listed.Source);
    EXPECT_TRUE(listed.Lines.empty());
    EXPECT_EQ(fresh.Count(), rowsAfterWhole) << "the same history rows, the next group's too";
    EXPECT_TRUE(fresh.Find(0x41));
    TGoIndexModel index;
    index.SetListing(listed.Solved, listed.Source);
    ASSERT_EQ(index.Count(), 9);
    EXPECT_EQ(index.SolvedLines(), 1);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(index.Line(i), whole.Lines[static_cast<size_t>(i)]) << i;
    // A block from the middle (the source leaves the solved flags to the index), and one past
    // the end.
    std::vector<std::string> expected(whole.Lines.begin() + 3, whole.Lines.begin() + 7);
    for (std::string& line : expected)
        SetSolvedFlagOf(line, false);
    EXPECT_EQ(listed.Source->Lines(3, 4), expected);
    EXPECT_TRUE(listed.Source->Lines(9, 5).empty());
}

TEST_F(Store, TheFullArchiveWinsWhenBothArePresent) {
    ASSERT_EQ(WriteArchive(folder.File(kArchiveName), Collection({Problem(1, 1, 1, 1)})), "");
    ASSERT_EQ(WriteArchive(folder.File(kFullArchiveName),
                           Collection({Problem(2, 1, 1, 1), Problem(3, 1, 1, 2)})),
              "");
    const TOpenGroupResult result = Open(1);
    EXPECT_EQ(result.ArchivePath, folder.File(kFullArchiveName));
    EXPECT_EQ(result.Lines.size(), 2u);
}

TEST_F(Store, AnEmptyTableListsNothing) {
    ASSERT_EQ(WriteArchive(folder.File(kArchiveName), Collection({})), "");
    for (int group : {-1, 0, 1, 2, 3, 4, -100}) {
        const TOpenGroupResult result = Open(group);
        EXPECT_EQ(result.Status, TOpenGroupStatus::Ok);
        EXPECT_TRUE(result.Lines.empty());
    }
}

TEST_F(Store, TheWriterRefusesKeysAnIndexLineCannotCarry) {
    TProblemTableWriter writer;
    EXPECT_FALSE(writer.Add(Problem(0x10000, 1, 1, 1)));
    EXPECT_FALSE(writer.Add(Problem(-1, 1, 1, 1)));
    EXPECT_TRUE(writer.Add(Problem(0xFFFF, 1, 1, 1)));
    EXPECT_FALSE(writer.Add(Problem(0xFFFF, 1, 1, 2))) << "keys are unique";
}

TEST_F(Store, ProblemRowsKeepEveryField) {
    TProblemRow row = Problem(77, 2, 3, 4, 3);
    row.Initial = "DDEE";
    row.FirstToPlay = "W";
    row.Solution = {1, 2, 3, 0, 255};
    row.Flag = 5;
    row.Value2 = -9;
    ASSERT_EQ(WriteArchive(folder.File(kArchiveName), Collection({row})), "");
    ASSERT_EQ(Open(2).Status, TOpenGroupStatus::Ok);
    const std::optional<TProblemRow> read = problems.Find(77);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Solution, row.Solution);
    EXPECT_EQ(read->Initial, "DDEE");
    EXPECT_EQ(read->FirstToPlay, "W");
    EXPECT_EQ(read->Flag, 5);
    EXPECT_EQ(read->Value2, -9);
    EXPECT_EQ(read->Result2, 3);
}

TEST_F(Store, BrokenArchivesGiveTheirErrorAndListNothing) {
    const std::vector<uint8_t> image = Collection({Problem(1, 1, 1, 1)});
    TSqliteDb other;
    ASSERT_TRUE(other.OpenMemory());
    ASSERT_TRUE(other.Exec("CREATE TABLE unrelated (x INTEGER)"));
    const std::vector<uint8_t> noTable = other.Serialize();

    struct TCase {
        const char* name;
        std::function<void(const std::string& path)> make;
        TOpenGroupStatus status;
    };
    const std::vector<TCase> cases = {
        {"missing archive", [](const std::string&) {}, TOpenGroupStatus::MissingArchive},
        {"not a zip", [](const std::string& p) { std::ofstream(p) << "this is no archive at all"; },
         TOpenGroupStatus::BadArchive},
        {"truncated zip",
         [&](const std::string& p) {
             WriteArchive(p, image);
             std::filesystem::resize_file(p, std::filesystem::file_size(p) / 2);
         },
         TOpenGroupStatus::BadArchive},
        {"wrong password",
         [&](const std::string& p) { WriteArchive(p, image, "not the password"); },
         TOpenGroupStatus::BadArchive},
        {"missing member",
         [&](const std::string& p) {
             int error = 0;
             zip_t* z = zip_open(p.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
             zip_file_add(z, "Other.txt", zip_source_buffer(z, "x", 1, 0), 0);
             zip_close(z);
         },
         TOpenGroupStatus::BadArchive},
        {"member is no database",
         [&](const std::string& p) {
             const std::string text =
                 "plain text, not a database image at all......................";
             WriteArchive(p, std::vector<uint8_t>(text.begin(), text.end()));
         },
         TOpenGroupStatus::BadArchive},
        {"database without the table", [&](const std::string& p) { WriteArchive(p, noTable); },
         TOpenGroupStatus::NoProblemTable},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TTempFolder place;
        c.make(place.File(kArchiveName));
        TProblemStore store;
        const TOpenGroupResult result = OpenGroup(place.Path(), 1, store, history);
        EXPECT_EQ(result.Status, c.status) << result.Detail;
        EXPECT_TRUE(result.Lines.empty());
        EXPECT_FALSE(OpenGroupMessage(result, true).empty());
        EXPECT_EQ(result.ErrorSound(), c.status != TOpenGroupStatus::MissingArchive);
    }
}

TEST(OpenGroupMessages, InBothLanguages) {
    TOpenGroupResult missing;
    missing.Status = TOpenGroupStatus::MissingArchive;
    missing.ArchivePath = "/x/Karvena.dgo";
    EXPECT_EQ(OpenGroupMessage(missing, true), "Can't find data file: /x/Karvena.dgo");
    EXPECT_EQ(OpenGroupMessage(missing, false), "找不到数据文件/x/Karvena.dgo");
    TOpenGroupResult table;
    table.Status = TOpenGroupStatus::NoProblemTable;
    EXPECT_EQ(OpenGroupMessage(table, true), "problem database error, please reinstall and try.");
    EXPECT_EQ(OpenGroupMessage(table, false), "数据有错误，请重新安装试试");
}

TEST(History, PostsWriteOnlyChangesAndNullsReadAsZero) {
    TTempFolder folder;
    THistoryStore history;
    const THistoryOpen opened = history.Open(folder.File(kHistoryFileName));
    ASSERT_TRUE(opened.Ok);
    EXPECT_TRUE(opened.Created);
    ASSERT_TRUE(history.Append(42));
    EXPECT_FALSE(history.Append(42)) << "one row per problem";
    const THistoryRow fresh = *history.Find(42);
    EXPECT_EQ(fresh, THistoryRow{42});
    const int writes = history.Writes();
    EXPECT_TRUE(history.Post(fresh));
    EXPECT_EQ(history.Writes(), writes) << "nothing changed, nothing written";
    THistoryRow changed = fresh;
    changed.FailedCount = 3;
    changed.StudyBeforeSolve = 7;
    EXPECT_TRUE(history.Post(changed));
    EXPECT_EQ(history.Writes(), writes + 1);

    THistoryStore again;
    const THistoryOpen reopened = again.Open(folder.File(kHistoryFileName));
    EXPECT_TRUE(reopened.Ok);
    EXPECT_FALSE(reopened.Created);
    EXPECT_EQ(*again.Find(42), changed);
}

TEST(History, ABrokenFileIsKeptAsideAndNeverOverwritten) {
    const std::vector<std::pair<const char*, std::string>> broken = {
        {"garbage", "this is not a database, it is a letter to the developers"},
        {"empty", ""},
    };
    for (const auto& [name, bytes] : broken) {
        SCOPED_TRACE(name);
        TTempFolder folder;
        folder.Write(kHistoryFileName, bytes);
        THistoryStore history;
        const THistoryOpen opened = history.Open(folder.File(kHistoryFileName));
        if (bytes.empty()) {
            // SQLite takes an empty file as an empty database: it gets the schema.
            EXPECT_TRUE(opened.Ok);
            continue;
        }
        ASSERT_TRUE(opened.Ok);
        ASSERT_FALSE(opened.MovedAside.empty());
        EXPECT_NE(opened.MovedAside.find("History1.cds.broken-"), std::string::npos);
        std::ifstream kept(opened.MovedAside, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), bytes);
        EXPECT_TRUE(history.Append(1)) << "a new history was started";
    }
    // A database of another schema is kept aside too, untouched.
    TTempFolder folder;
    {
        TSqliteDb other;
        ASSERT_TRUE(other.OpenFile(folder.File(kHistoryFileName), true));
        ASSERT_TRUE(other.Exec("CREATE TABLE tblHistory (Auto1 INTEGER, Other TEXT)"));
    }
    const std::string before = folder.Read(kHistoryFileName);
    THistoryStore history;
    const THistoryOpen opened = history.Open(folder.File(kHistoryFileName));
    ASSERT_FALSE(opened.MovedAside.empty());
    std::ifstream kept(opened.MovedAside, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), before);
}

TEST(History, EveryReportedPostSurvivesAKill) {
    TTempFolder folder;
    const std::string path = folder.File(kHistoryFileName);
    std::mt19937 random(99);
    for (int round = 0; round < 3; ++round) {
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(pipeEnds[0]);
            THistoryStore history;
            if (!history.Open(path).Ok) _exit(2);
            for (int i = 0; i < 500; ++i) {
                THistoryRow row;
                row.Auto1 = round * 1000 + i;
                row.FailedCount = i + 1;
                row.SolvedCount = 1;
                if (!history.Post(row)) _exit(3);
                // Reported only once the post has returned.
                const int32_t done = row.Auto1;
                if (write(pipeEnds[1], &done, sizeof done) != sizeof done) _exit(4);
            }
            _exit(0);
        }
        close(pipeEnds[1]);
        const int killAfter = 20 + static_cast<int>(random() % 300);
        std::vector<int32_t> reported;
        int32_t value = 0;
        while (static_cast<int>(reported.size()) < killAfter &&
               read(pipeEnds[0], &value, sizeof value) == sizeof value)
            reported.push_back(value);
        kill(child, SIGKILL);
        // What was already in the pipe was posted too.
        while (read(pipeEnds[0], &value, sizeof value) == sizeof value)
            reported.push_back(value);
        close(pipeEnds[0]);
        int status = 0;
        waitpid(child, &status, 0);

        THistoryStore history;
        const THistoryOpen opened = history.Open(path);
        ASSERT_TRUE(opened.Ok);
        ASSERT_TRUE(opened.MovedAside.empty()) << "a killed writer never breaks the file";
        ASSERT_FALSE(reported.empty());
        for (int32_t key : reported) {
            const std::optional<THistoryRow> row = history.Find(key);
            ASSERT_TRUE(row) << key;
            EXPECT_EQ(row->FailedCount, key - round * 1000 + 1);
        }
    }
}

// A history another program holds locked is never taken for a broken file: the trainer waits,
// then uses it for reading only with the one-time message, and moves nothing aside.
TEST(History, ALockedHistoryIsWaitedForThenUsedReadOnlyAndNeverMovedAside) {
    TTempFolder folder;
    const std::string path = folder.File(kHistoryFileName);
    {
        THistoryStore first;
        ASSERT_TRUE(first.Open(path).Ok);
        THistoryRow row;
        row.Auto1 = 7;
        row.SolvedCount = 2;
        ASSERT_TRUE(first.Post(row));
    }
    THistoryLock other; // another program
    ASSERT_TRUE(other.Take(path));

    std::vector<std::string> told;
    THistoryStore history;
    history.BusyWaitMilliseconds = 200;
    history.OnWriteFailed = [&](const std::string&, const std::string& why) { told.push_back(why); };
    const THistoryOpen opened = history.Open(path);
    EXPECT_TRUE(opened.Ok);
    EXPECT_TRUE(opened.ReadOnly);
    EXPECT_TRUE(opened.MovedAside.empty()) << "a locked file is not a broken one";
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("locked"), std::string::npos) << told[0];
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        EXPECT_EQ(entry.path().string().find(".broken-"), std::string::npos) << entry.path();

    // Once the other program is done, the next start reads every count.
    ASSERT_TRUE(other.Release());
    THistoryStore next;
    ASSERT_TRUE(next.Open(path).Ok);
    EXPECT_EQ(next.Find(7)->SolvedCount, 2);
}

// A history from before each collection had its own key space: the imported problems' rows
// move above the bundled keys once; a key both collections have keeps its counts for both.
TEST(History, ImportedRowsMoveToTheirOwnKeySpaceOnce) {
    TTempFolder folder;
    const std::string path = folder.File(kHistoryFileName);
    auto row = [](int32_t key, int failed) {
        THistoryRow r;
        r.Auto1 = key;
        r.FailedCount = failed;
        return r;
    };
    {
        THistoryStore old;
        ASSERT_TRUE(old.Open(path).Ok);
        for (const auto& r : {row(5, 1), row(0x8001, 2), row(0x8002, 3)}) ASSERT_TRUE(old.Post(r));
        ASSERT_TRUE(old.PostReview({0x8001, 2, 100}));
        ASSERT_TRUE(old.PostBestTime(0x8001, 40));
    }
    {
        TSqliteDb raw;
        ASSERT_TRUE(raw.OpenFile(path, false));
        ASSERT_TRUE(raw.Exec("PRAGMA user_version = 0")); // as every history was before
    }
    THistoryStore history;
    ASSERT_TRUE(history.Open(path).Ok);
    ASSERT_FALSE(history.KeySpacesSeparate());
    const int32_t base = 0x10000;
    ASSERT_TRUE(history.MoveImportedRows({0x8001, 0x8002}, {5, 0x8002}, base));
    EXPECT_TRUE(history.KeySpacesSeparate());
    const struct {
        int32_t key;
        std::optional<int> failed;
    } rows[] = {{5, 1},      {0x8001, std::nullopt}, {base + 0x8001, 2},
                {0x8002, 3}, {base + 0x8002, 3},     {base + 5, std::nullopt}};
    for (const auto& r : rows) {
        const std::optional<THistoryRow> found = history.Find(r.key);
        EXPECT_EQ(found ? std::optional<int>(found->FailedCount) : std::nullopt, r.failed)
            << std::hex << r.key;
    }
    EXPECT_EQ(history.Review(base + 0x8001), (TReviewEntry{base + 0x8001, 2, 100}));
    EXPECT_FALSE(history.Review(0x8001));
    EXPECT_EQ(history.BestTime(base + 0x8001), 40);
    // Once only: a second run changes nothing.
    THistoryRow later = *history.Find(base + 0x8001);
    later.FailedCount = 9;
    ASSERT_TRUE(history.Post(later));
    ASSERT_TRUE(history.MoveImportedRows({0x8001, 0x8002}, {}, base));
    EXPECT_EQ(history.Find(base + 0x8001)->FailedCount, 9);
    EXPECT_EQ(history.Find(0x8002)->FailedCount, 3);
    // A new history keeps the keys apart from its start.
    TTempFolder other;
    THistoryStore fresh;
    ASSERT_TRUE(fresh.Open(other.File(kHistoryFileName)).Ok);
    EXPECT_TRUE(fresh.KeySpacesSeparate());
}

TEST(History, PathIsBesideTheProgramWhenWritable) {
    TTempFolder program;
    TTempFolder user;
    EXPECT_TRUE(FolderWritable(program.Path()));
    EXPECT_EQ(HistoryPlace(program.Path(), user.File("data"), true).Path,
              program.File(kHistoryFileName));
    EXPECT_FALSE(FolderWritable(program.File("gone")));
    EXPECT_EQ(HistoryPlace(program.File("gone"), user.File("data"), false).Path,
              user.File("data/History1.cds"));
    EXPECT_TRUE(std::filesystem::is_directory(user.File("data")));
}

// A history beside a program folder that became read-only is taken over into the user's folder
// the first time, with every row; later starts use the user's copy and copy nothing again.
TEST(History, AHistoryBesideAReadOnlyProgramIsTakenOverOnce) {
    TTempFolder program;
    TTempFolder user;
    {
        THistoryStore old;
        ASSERT_TRUE(old.Open(program.File(kHistoryFileName)).Ok);
        THistoryRow row;
        row.Auto1 = 7;
        row.SolvedCount = 2;
        ASSERT_TRUE(old.Post(row));
    }
    const THistoryPlace first = HistoryPlace(program.Path(), user.File("data"), false);
    EXPECT_EQ(first.Path, user.File("data/History1.cds"));
    EXPECT_EQ(first.TakenOverFrom, program.File(kHistoryFileName));
    THistoryStore taken;
    ASSERT_TRUE(taken.Open(first.Path).Ok);
    ASSERT_TRUE(taken.Find(7));
    EXPECT_EQ(taken.Find(7)->SolvedCount, 2);
    THistoryRow later;
    later.Auto1 = 8;
    ASSERT_TRUE(taken.Post(later));
    const THistoryPlace second = HistoryPlace(program.Path(), user.File("data"), false);
    EXPECT_EQ(second.TakenOverFrom, "") << "the user's copy is never overwritten";
    EXPECT_FALSE(std::filesystem::exists(user.File("data/History1.cds.partial")));
}

// A history that cannot be written keeps the session's changes in memory, says so once with
// the path and the reason, and leaves the file as it was.
TEST(History, ChangesToAnUnwritableHistoryStayInMemoryAndAreReportedOnce) {
    TTempFolder folder;
    const std::string path = folder.File(kHistoryFileName);
    {
        THistoryStore first;
        ASSERT_TRUE(first.Open(path).Ok);
        THistoryRow row;
        row.Auto1 = 1;
        row.FailedCount = 3;
        ASSERT_TRUE(first.Post(row));
    }
    const std::string before = folder.Read(kHistoryFileName);
    std::vector<std::string> told;
    {
    THistoryStore history;
    history.OnWriteFailed = [&](const std::string& where, const std::string& why) {
        told.push_back(where + ": " + why);
    };
    const THistoryOpen opened = history.Open(path, THistoryAccess::ReadOnly);
    ASSERT_TRUE(opened.Ok);
    EXPECT_TRUE(opened.ReadOnly);
    EXPECT_TRUE(history.SaveFailed());
    THistoryRow row = *history.Find(1);
    row.FailedCount = 4;
    EXPECT_FALSE(history.Post(row)) << "a failed write is never reported as saved";
    EXPECT_EQ(history.Find(1)->FailedCount, 4) << "the session keeps its count";
    EXPECT_FALSE(history.Append(2));
    THistoryRow fresh;
    fresh.Auto1 = 5;
    fresh.SolvedCount = 1;
    EXPECT_FALSE(history.Post(fresh));
    EXPECT_EQ(history.Find(5)->SolvedCount, 1);
    EXPECT_FALSE(history.ClearAllSolved());
    EXPECT_EQ(history.Find(5)->SolvedCount, 0);
    // The review and the best time are kept in memory the same way.
    EXPECT_FALSE(history.PostReview({5, 1, 100}));
    EXPECT_EQ(history.Review(5), (TReviewEntry{5, 1, 100}));
    EXPECT_EQ(history.DueReviews(100), (std::vector<TReviewEntry>{{5, 1, 100}}))
        << "a failure of this run is due in this run";
    EXPECT_TRUE(history.DueReviews(99).empty());
    history.RemoveReview(5); // taken out for the session
    EXPECT_FALSE(history.Review(5));
    EXPECT_TRUE(history.DueReviews(100).empty());
    EXPECT_FALSE(history.PostBestTime(5, 42));
    EXPECT_EQ(history.BestTime(5), 42);
    const TSolverVerdictRow verdict{5, "CCDC", 2, "BA", false, 2000};
    EXPECT_FALSE(history.PostSolverVerdict(verdict));
    EXPECT_EQ(history.SolverVerdict(5, "CCDC"), verdict) << "so is the solver's verdict";
    EXPECT_FALSE(history.SolverVerdict(5, "CC"));
    TAttemptRow attempt;
    attempt.Auto1 = 5;
    attempt.Result = TAttemptResult::Clean;
    EXPECT_FALSE(history.PostAttempt(attempt));
    EXPECT_EQ(history.Attempts(), (std::vector<TAttemptRow>{attempt})) << "and the attempt log";
    }
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find(path), std::string::npos);
    EXPECT_EQ(folder.Read(kHistoryFileName), before) << "the file is untouched";
}

// The solver's verdicts are kept per problem and position, in a table made at the first one: a
// history from before it reads none, a verdict written reads back after reopening, and a problem
// forgotten with its group takes its verdicts and its attempts along (another problem's stay).
TEST(HistoryVerdicts, KeptPerProblemAndPositionAndForgottenWithTheProblem) {
    TTempFolder folder;
    const std::string path = folder.File(kHistoryFileName);
    {
        THistoryStore history;
        ASSERT_TRUE(history.Open(path).Ok);
        EXPECT_FALSE(history.SolverVerdict(1, "goal"));
        ASSERT_TRUE(history.PostSolverVerdict({1, "goal", 1, "", false, 0}));
        ASSERT_TRUE(history.PostSolverVerdict({1, "CC", 0, "CABA", false, 2000}));
        ASSERT_TRUE(history.PostSolverVerdict({1, "CC", 0, "CAAA", true, 3000})) << "replaced";
        ASSERT_TRUE(history.PostSolverVerdict({2, "CC", 2, "DD", false, 2000}));
        for (const int32_t key : {1, 2, 1}) {
            TAttemptRow attempt;
            attempt.Auto1 = key;
            ASSERT_TRUE(history.PostAttempt(attempt));
        }
    }
    THistoryStore history;
    ASSERT_TRUE(history.Open(path).Ok);
    EXPECT_EQ(history.SolverVerdict(1, "CC"), (TSolverVerdictRow{1, "CC", 0, "CAAA", true, 3000}));
    EXPECT_EQ(history.SolverVerdict(1, "goal")->Verdict, 1);
    EXPECT_EQ(history.SolverVerdict(2, "CC")->Line, "DD");
    EXPECT_FALSE(history.SolverVerdict(1, "DD"));
    ASSERT_TRUE(history.ForgetReviewAndBestTime({1}));
    EXPECT_FALSE(history.SolverVerdict(1, "CC"));
    EXPECT_FALSE(history.SolverVerdict(1, "goal"));
    EXPECT_TRUE(history.SolverVerdict(2, "CC"));
    ASSERT_EQ(history.Attempts().size(), 1u) << "its attempts went with it";
    EXPECT_EQ(history.Attempts()[0].Auto1, 2);
}

} // namespace
} // namespace karvena::test

namespace karvena {
namespace {

// The index line says who plays first exactly as the solve loop reads the row ("W" is white,
// anything else black), so a thumbnail never shows another side than the board plays; a smaller
// board adds its lines.
TEST(IndexLineOf, TheFirstSideAsTheSolveLoopReadsItAndTheBoardsLines) {
    const struct {
        const char* first;
        int lines;
        const char* tail;
    } cases[] = {{"W", 19, " W"}, {"B", 19, " B"}, {"w", 19, " B"}, {"", 19, " B"},
                 {"Wx", 19, " W"}, {"W", 9, " W 9"}};
    for (const auto& c : cases) {
        TProblemRow row;
        row.Auto1 = 0x1A;
        row.ArrangedBlack = "AA";
        row.FirstToPlay = c.first;
        row.BoardSize = c.lines;
        const std::string line = IndexLineOf(row, true);
        EXPECT_EQ(line.substr(0, 7), "001A01 ") << line;
        EXPECT_EQ(line.substr(line.size() - std::string(c.tail).size()), c.tail)
            << "'" << c.first << "': " << line;
    }
}

} // namespace
} // namespace karvena
