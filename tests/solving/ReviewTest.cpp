// The review of failed problems: the schedule as a table with an injected clock, the days of the
// local calendar, and a history from before the review that gains it and keeps every counter.
#include <gtest/gtest.h>

#include <filesystem>

#include "collection/TempFolder.h"
#include "solving/Review.h"
#include "solving/Statistics.h"

namespace karvena {
namespace {

TEST(Review, LocalDaysRunOnAcrossMonthAndYearEnds) {
    auto noon = [](int y, int m, int d) {
        std::tm t{};
        t.tm_year = y - 1900;
        t.tm_mon = m - 1;
        t.tm_mday = d;
        t.tm_hour = 12;
        t.tm_isdst = -1;
        return LocalDayNumber(std::mktime(&t));
    };
    EXPECT_EQ(noon(2026, 2, 1) - noon(2026, 1, 31), 1);
    EXPECT_EQ(noon(2027, 1, 1) - noon(2026, 12, 31), 1);
    EXPECT_EQ(noon(2028, 3, 1) - noon(2028, 2, 28), 2) << "a leap year";
    EXPECT_EQ(noon(1970, 1, 1), 0);
}

// Every step of the schedule, from a failure to the way out, with the days it happens on.
TEST(Review, TheScheduleStepByStep) {
    const int d = 20000; // some day
    struct TStep {
        const char* what;
        int day;
        std::optional<TReviewEntry> expected;
    };
    const std::vector<TStep> steps = {
        {"failure", d, TReviewEntry{7, 1, d + 1}},
        {"solve before due changes nothing", d, TReviewEntry{7, 1, d + 1}},
        {"solve when due: box 2", d + 1, TReviewEntry{7, 2, d + 4}},
        {"solve late still counts", d + 10, TReviewEntry{7, 3, d + 17}},
        {"box 4 after 21 days", d + 17, TReviewEntry{7, 4, d + 38}},
        {"box 5 after 60 days", d + 38, TReviewEntry{7, 5, d + 98}},
        {"a clean solve from the last box takes it out", d + 98, std::nullopt},
    };
    std::optional<TReviewEntry> entry;
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.what);
        if (!entry)
            entry = ReviewAfterSetback(7, step.day);
        else
            entry = ReviewAfterCleanSolve(*entry, step.day);
        EXPECT_EQ(entry, step.expected);
    }
    // A setback anywhere goes back to the first box, due the next day.
    EXPECT_EQ(ReviewAfterSetback(7, d + 50), (TReviewEntry{7, 1, d + 51}));
}

class TSilentOutput : public IStatisticsOutput {
    void SetLabel(TStatLabel, const std::string&) override {}
    bool ConfirmNoDefault(const std::string&, const std::string&) override { return false; }
    void ShowMessage(const std::string&) override {}
    void ResetStatusColour() override {}
};

// Statistics over a history of their own, with the test's clocks.
class Reviewing : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(history.Open(folder.File("History1.cds")).Ok); }
    test::TTempFolder folder;
    THistoryStore history;
    TGoIndexModel index;
    TSilentOutput output;
    TStatistics stats{index, history, output};
};

// Through the statistics: failures and hints, clean solves, with the clock of the test.
TEST_F(Reviewing, FailuresHintsAndCleanSolvesMoveProblemsThroughTheBoxes) {
    int today = 30000;
    stats.Today = [&today] { return today; };

    stats.SetCurrentProblem(1);
    stats.RecordSolved(); // a clean solve of a problem not in review: nothing
    EXPECT_FALSE(history.Review(1));
    stats.RecordHint(1); // a hint on a problem not in review: nothing
    EXPECT_FALSE(history.Review(1));
    stats.RecordFailure();
    EXPECT_EQ(history.Review(1), (TReviewEntry{1, 1, 30001}));
    EXPECT_TRUE(history.DueReviews(30000).empty());
    today = 30001;
    ASSERT_EQ(history.DueReviews(today).size(), 1u);
    stats.SetCurrentProblem(1);
    stats.RecordHint(1); // a hint sends it back and spoils the solve
    stats.RecordSolved();
    EXPECT_EQ(history.Review(1), (TReviewEntry{1, 1, 30002}));
    today = 30002;
    stats.SetCurrentProblem(1);
    stats.RecordSolved(); // clean
    EXPECT_EQ(history.Review(1), (TReviewEntry{1, 2, 30005}));
    EXPECT_TRUE(history.DueReviews(30004).empty());
}

// A history from before the review opens as it is, gains the review at its first use, and keeps
// every counter.
TEST(Review, AnOlderHistoryGainsTheReviewAndKeepsItsCounters) {
    test::TTempFolder folder;
    std::filesystem::copy_file(std::string(KARVENA_TEST_DATA) + "/History1-before-review.cds",
                               folder.File("History1.cds"));
    THistoryStore history;
    const THistoryOpen opened = history.Open(folder.File("History1.cds"));
    ASSERT_TRUE(opened.Ok);
    EXPECT_TRUE(opened.MovedAside.empty()) << "it is a history";
    EXPECT_FALSE(history.Review(2));
    EXPECT_TRUE(history.DueReviews(99999).empty());
    ASSERT_TRUE(history.PostReview({2, 1, 100}));
    EXPECT_EQ(history.Review(2), (TReviewEntry{2, 1, 100}));
    const std::optional<THistoryRow> first = history.Find(1);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->FailedCount, 2);
    EXPECT_EQ(first->SolvedCount, 1);
    EXPECT_EQ(first->TakebackBeforeSolve, 2);
    EXPECT_EQ(first->StudyBeforeSolve, 1);
    EXPECT_EQ(history.Find(2)->FailedCountBeforeSolve, 6);
    EXPECT_EQ(history.Count(), 3);
}

} // namespace
} // namespace karvena

namespace karvena {
namespace {

// The best time of a clean solve: kept with the history, never from an attempt with a failure or
// a hint, only ever improved; the attempt's time stops when the problem is solved.
TEST_F(Reviewing, TheBestTimeCountsOnlyCleanSolvesAndOnlyFasterOnesReplaceIt) {
    int64_t now = 1000;
    stats.Now = [&now] { return now; };
    const struct {
        int seconds;
        bool failed;
        std::optional<int> best;
    } attempts[] = {{42, false, 42}, {10, true, 42}, {30, false, 30}, {50, false, 30}};
    for (const auto& a : attempts) {
        stats.SetCurrentProblem(9);
        now += a.seconds;
        if (a.failed) stats.RecordFailure();
        stats.RecordSolved();
        EXPECT_EQ(history.BestTime(9), a.best) << a.seconds;
        // The attempt's clock stops at the solve: reading the solved problem adds nothing, nor
        // does solving it once more.
        now += 1000;
        EXPECT_EQ(stats.AttemptSeconds(), a.seconds);
        stats.RecordSolved();
        EXPECT_EQ(stats.AttemptSeconds(), a.seconds);
        EXPECT_EQ(history.BestTime(9), a.best) << a.seconds;
    }
    EXPECT_EQ(DurationText(30), "0:30");
    EXPECT_EQ(DurationText(725), "12:05");
}

} // namespace
} // namespace karvena

namespace karvena {
namespace {

// A failure or a hint spoils the attempt until the problem is solved: loading it again the same
// day, or Solve again, gives no clean solve (no best time, the review stays in its first box). A
// new day gives a fresh attempt.
TEST_F(Reviewing, AnAttemptStaysSpoiltUntilSolvedOrANewDay) {
    int today = 30000;
    int64_t now = 1000;
    stats.Today = [&today] { return today; };
    stats.Now = [&now] { return now; };
    const struct {
        const char* name;
        std::vector<const char*> steps; // load, fail, hint, solve, day
        bool clean;
    } cases[] = {
        {"a clean solve", {"load", "solve"}, true},
        {"a reload after a failure", {"load", "fail", "load", "solve"}, false},
        {"Solve again after a hint", {"load", "hint", "solve"}, false},
        {"another problem between", {"load", "fail", "other", "load", "solve"}, false},
        {"a reload the next day", {"load", "fail", "day", "load", "solve"}, true},
        {"after a spoilt solve, a fresh one", {"load", "fail", "solve", "load", "solve"}, true},
    };
    int32_t problem = 100;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ++problem;
        for (const char* step : c.steps) {
            const std::string s = step;
            if (s == "load") stats.SetCurrentProblem(problem);
            if (s == "other") stats.SetCurrentProblem(problem + 1000);
            if (s == "fail") stats.RecordFailure();
            if (s == "hint") stats.RecordHint(1);
            if (s == "day") ++today;
            if (s == "solve") {
                now += 5;
                stats.RecordSolved();
            }
        }
        EXPECT_EQ(history.BestTime(problem).has_value(), c.clean);
    }
}

} // namespace
} // namespace karvena
