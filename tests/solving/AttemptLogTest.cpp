// The attempt log as the headless play writes it (an injected clock, a week across a month's
// end), and what the progress figures and the rating make of a log.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "collection/ImportedRow.h"
#include "collection/TempFolder.h"
#include "solving/PlaySession.h"
#include "solving/Progress.h"
#include "text/Texts.h"

namespace karvena::test {
namespace {

// A local time of the machine's zone.
std::time_t Local(int year, int month, int day, int hour, int minute = 0) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

class AttemptLog : public ::testing::Test {
protected:
    void SetUp() override {
        SetLanguageFlags(TLanguage::English);
        // Problems 1-3: AA is right, BB is answered at AA and fails. Problem 4: AA, BA, then CA.
        TProblemTableWriter writer;
        for (int key = 1; key <= 3; ++key)
            ASSERT_TRUE(writer.Add(ImportedRow("(;AB[dd]AW[ee](;B[aa]C[Correct])(;B[bb];W[aa]))", key, 1)));
        ASSERT_TRUE(writer.Add(ImportedRow("(;AB[dd]AW[ee];B[aa];W[ba];B[ca]C[Correct])", 4, 1)));
        ASSERT_TRUE(problems.Open(writer.Image()));
        OpenSession();
    }
    void TearDown() override {
        session.reset();
        SetLanguageFlags(TLanguage::SimplifiedChinese);
    }
    void OpenSession() {
        session.reset();
        session = std::make_unique<TPlaySession>(board, problems, folder.File("History1.cds"));
        session->SetSolverOn(false);
        session->Statistics().WallClock = [this] { return wall; };
        session->Statistics().Now = [this] { return static_cast<int64_t>(wall); };
        session->Statistics().Today = [this] { return DayNumber(LocalTimeText(wall).substr(0, 10)); };
    }
    void Play(int key, const std::vector<std::string>& words, int seconds = 30) {
        ASSERT_TRUE(session->Load(key));
        wall += seconds;
        for (const std::string& word : words)
            session->Word(word);
    }
    TTempFolder folder;
    TProblemStore problems;
    TGoBoard board;
    std::unique_ptr<TPlaySession> session;
    std::time_t wall = Local(2026, 11, 28, 10);
};

TEST_F(AttemptLog, EachAttemptIsARowWithItsResultAndWhatItTook) {
    Play(1, {"BB", "next", "BB"}); // two failures, then left
    Play(2, {"hint", "AA"}, 40);   // solved with a hint
    Play(3, {"AA"}, 12);           // clean
    Play(4, {"AA"}, 5);            // a move, then left
    Play(1, {}, 5);                // only looked at
    Play(2, {});
    const std::vector<TAttemptRow> log = session->History().Attempts();
    ASSERT_EQ(log.size(), 4u) << "a problem only looked at leaves no attempt";
    EXPECT_EQ(log[0].Auto1, 1);
    EXPECT_EQ(log[0].Result, TAttemptResult::Failure);
    EXPECT_EQ(log[0].Failures, 2);
    EXPECT_EQ(log[0].Began, "2026-11-28T10:00:00");
    EXPECT_EQ(log[0].Ended, "2026-11-28T10:00:30");
    EXPECT_EQ(log[0].Seconds, 30);
    EXPECT_EQ(log[1].Result, TAttemptResult::WithHelp);
    EXPECT_EQ(log[1].Hints, 1);
    EXPECT_EQ(log[1].Seconds, 40);
    EXPECT_EQ(log[2].Result, TAttemptResult::Clean);
    EXPECT_EQ(log[2].Seconds, 12);
    EXPECT_EQ(log[3].Auto1, 4);
    EXPECT_EQ(log[3].Result, TAttemptResult::Abandoned);
    // The log is in the file: a new session reads it back.
    OpenSession();
    EXPECT_EQ(session->History().Attempts(), log);
}

TEST_F(AttemptLog, AWeekAcrossAMonthsEndGivesTheDaysStreaksAndGroups) {
    // Nov 28 .. Dec 4: a clean solve every day but Dec 1, a failure on Dec 1.
    for (int day = 0; day < 7; ++day) {
        wall = Local(2026, 11, 28 + day, 9);
        if (day == 3)
            Play(1, {"BB"});
        else
            Play(1 + day % 3, {"AA"});
        Play(4, {});
    }
    session.reset(); // the last attempt ends with the session
    THistoryStore history;
    ASSERT_TRUE(history.Open(folder.File("History1.cds")).Ok);
    const std::vector<TAttemptRow> log = history.Attempts();
    ASSERT_EQ(log.size(), 7u);
    EXPECT_EQ(DayOf(log[3].Ended), "2026-12-01");
    const int today = DayNumber("2026-12-04");
    EXPECT_EQ(SolvedPerDay(log, today, 10), (std::vector<int>{0, 0, 0, 1, 1, 1, 0, 1, 1, 1}));
    const TStreaks streaks = StreaksOf(log, today);
    EXPECT_EQ(streaks.Current, 3) << "Dec 2-4";
    EXPECT_EQ(streaks.Best, 3);
    EXPECT_EQ(StreaksOf(log, today + 1).Current, 3) << "today has none yet: yesterday's still runs";
    EXPECT_EQ(StreaksOf(log, today + 2).Current, 0);
    const std::map<int, TGroupProgress> groups = ProgressByGroup(log, [](int32_t key) { return key <= 2 ? 1 : 2; });
    // First attempts: problem 1 (clean, Nov 28), 2 (clean), 3 (clean); the failure of Dec 1 was
    // problem 1's second attempt.
    EXPECT_EQ(groups.at(1).FirstAttempts, 2);
    EXPECT_EQ(groups.at(1).FirstClean, 2);
    EXPECT_EQ(groups.at(2).FirstAttempts, 1);
    EXPECT_EQ(groups.at(1).CleanSolves, 4);
    EXPECT_DOUBLE_EQ(groups.at(1).AverageCleanSeconds(), 30.0);
}

TEST_F(AttemptLog, AnOlderHistoryGainsTheLogAndKeepsEverything) {
    session.reset();
    std::filesystem::remove(folder.File("History1.cds"));
    std::filesystem::copy_file(std::string(KARVENA_TEST_DATA) + "/History1-before-review.cds",
                               folder.File("History1.cds"));
    {
        THistoryStore history;
        ASSERT_TRUE(history.Open(folder.File("History1.cds")).Ok);
        EXPECT_TRUE(history.Attempts().empty());
        ASSERT_TRUE(history.PostReview({2, 1, 100}));
        ASSERT_TRUE(history.PostBestTime(1, 42));
    }
    OpenSession();
    Play(2, {"AA"});
    session.reset();
    THistoryStore history;
    ASSERT_TRUE(history.Open(folder.File("History1.cds")).Ok);
    ASSERT_EQ(history.Attempts().size(), 1u);
    EXPECT_EQ(history.Find(1)->FailedCount, 2);
    EXPECT_EQ(history.Find(1)->StudyBeforeSolve, 1);
    EXPECT_EQ(history.Find(2)->FailedCountBeforeSolve, 6);
    EXPECT_EQ(history.BestTime(1), 42);
    EXPECT_TRUE(history.Review(2));
    EXPECT_EQ(history.Count(), 4) << "its three rows and the new problem's";
}

TEST(Days, NumbersAndTextsRoundTripAcrossMonthsAndLeapDays) {
    for (const char* day : {"1970-01-01", "2024-02-29", "2026-11-30", "2026-12-01", "2000-03-01"})
        EXPECT_EQ(DayText(DayNumber(day)), day);
    EXPECT_EQ(DayNumber("2026-12-01") - DayNumber("2026-11-30"), 1);
    EXPECT_EQ(DayNumber("2025-03-01") - DayNumber("2025-02-28"), 1);
    EXPECT_EQ(DayNumber("2024-03-01") - DayNumber("2024-02-28"), 2);
    for (const char* bad : {"", "2026-13-01", "2026/12/01", "abcd-ef-gh"})
        EXPECT_EQ(DayNumber(bad), -1) << bad;
}

TEST(Rating, MovesTowardsTheLevelsThePlayerSolves) {
    TRating rating;
    EXPECT_DOUBLE_EQ(rating.Expected(30), 0.5);
    EXPECT_NEAR(rating.Expected(34), 0.0909, 0.001) << "four levels up: one in eleven";
    TRating up = rating, down = rating;
    up.Play(34, true);
    down.Play(26, false);
    EXPECT_GT(up.Value(), 33.0) << "a hard problem solved moves it far at first";
    EXPECT_LT(down.Value(), 27.0);
    // A player who solves everything up to level 36 and nothing above settles between them.
    TRating settled;
    for (int round = 0; round < 200; ++round)
        for (int level = 30; level <= 42; ++level) settled.Play(level, level <= 36);
    EXPECT_NEAR(settled.Value(), 36.5, 1.0);
    const double before = settled.Value();
    settled.Play(20, false);
    EXPECT_GT(settled.Value(), before - 0.6) << "late steps are small";
    EXPECT_EQ(LevelName(30), "10k");
    EXPECT_EQ(LevelName(39.4), "1k");
    EXPECT_EQ(LevelName(40), "1d");
    EXPECT_EQ(LevelName(44.6), "6d");
}

TEST(Rating, OnlyFirstAttemptsCount) {
    const auto row = [](int32_t key, TAttemptResult result, const char* ended) {
        TAttemptRow a;
        a.Auto1 = key;
        a.Result = result;
        a.Ended = ended;
        return a;
    };
    const std::vector<TAttemptRow> log = {row(1, TAttemptResult::Failure, "2026-12-01T10:00:00"),
                                          row(1, TAttemptResult::Clean, "2026-12-02T10:00:00"),
                                          row(2, TAttemptResult::Clean, "2026-12-02T11:00:00"),
                                          row(9, TAttemptResult::Clean, "2026-12-02T12:00:00")};
    const std::vector<TRatingPoint> points =
        RatingHistory(log, [](int32_t key) { return key == 9 ? -1 : 30; });
    ASSERT_EQ(points.size(), 2u) << "problem 1 once, problem 9 no longer there";
    EXPECT_EQ(points[0].Day, "2026-12-01");
    EXPECT_LT(points[0].Value, TRating::kStart);
    EXPECT_GT(points[1].Value, points[0].Value);
}

TEST(AttemptCsv, AHeaderAndOneQuotedRowAnAttempt) {
    TAttemptRow a;
    a.Auto1 = 7;
    a.Began = "2026-12-01T10:00:00";
    a.Ended = "2026-12-01T10:01:00";
    a.Result = TAttemptResult::WithHelp;
    a.Hints = 1;
    a.Seconds = 60;
    a.Orientation = 9;
    EXPECT_EQ(AttemptLogCsv({a}, [](int32_t) { return std::string("Beginner \"7\""); }),
              "problem,began,ended,result,failures,hints,takebacks,seconds,orientation\r\n"
              "\"Beginner \"\"7\"\"\",2026-12-01T10:00:00,2026-12-01T10:01:00,with help,0,1,0,60,9\r\n");
}

TEST(ProgressReport, GathersTheGroupsRatingAndDaysAndIsEmptyOnlyWithNothingToShow) {
    auto row = [](int32_t key, TAttemptResult result, const char* ended, int seconds) {
        TAttemptRow a;
        a.Auto1 = key;
        a.Result = result;
        a.Began = a.Ended = ended;
        a.Seconds = seconds;
        return a;
    };
    const std::vector<TAttemptRow> log = {row(1, TAttemptResult::Clean, "2026-12-01T10:00:00", 20),
                                          row(2, TAttemptResult::Failure, "2026-12-01T11:00:00", 50),
                                          row(2, TAttemptResult::Clean, "2026-12-02T10:00:00", 40),
                                          row(3, TAttemptResult::Clean, "2026-12-03T10:00:00", 10),
                                          row(8, TAttemptResult::Clean, "2026-12-03T11:00:00", 10)};
    int asked = 0;
    auto placeOf = [&asked](int32_t key) {
        ++asked;
        // Problem 8 is gone; 1 and 2 are in group 1 (level 30), 3 in group 2 (level 35).
        return key == 8 ? TProblemPlace{} : key == 3 ? TProblemPlace{2, 35} : TProblemPlace{1, 30};
    };
    const std::vector<TGroupLine> groups = {{1, "Beginner", 2, 5, {}}, {2, "Intermediate", 1, 4, {}},
                                            {0, "Basic", 0, 0, {}}};
    const TProgressReport report = ProgressReportOf(log, DayNumber("2026-12-03"), placeOf, groups);
    EXPECT_EQ(asked, 4) << "each problem's place asked once";
    ASSERT_EQ(report.SolvedPerDay.size(), static_cast<size_t>(TProgressReport::kDays));
    EXPECT_EQ(report.SolvedPerDay.back(), 2) << "problems 3 and 8 on the last day";
    EXPECT_EQ(report.SolvedPerDay[TProgressReport::kDays - 3], 1);
    EXPECT_EQ(report.Streaks.Current, 3);
    ASSERT_EQ(report.Groups.size(), 2u) << "a group without problems is left out";
    EXPECT_EQ(report.Groups[0].Name, "Beginner");
    EXPECT_EQ(report.Groups[0].Progress.FirstAttempts, 2);
    EXPECT_DOUBLE_EQ(report.Groups[0].Progress.FirstCleanShare(), 0.5);
    EXPECT_DOUBLE_EQ(report.Groups[0].Progress.AverageCleanSeconds(), 30.0);
    EXPECT_EQ(report.Groups[1].Progress.CleanSolves, 1);
    ASSERT_EQ(report.Rating.size(), 3u) << "first attempts of problems still there";
    EXPECT_FALSE(report.Empty());

    EXPECT_FALSE(ProgressReportOf({}, 0, placeOf, groups).Empty())
        << "solved problems from before the log are something to show";
    EXPECT_TRUE(ProgressReportOf({}, 0, placeOf, {{1, "Beginner", 0, 5, {}}}).Empty());
}

} // namespace
} // namespace karvena::test
