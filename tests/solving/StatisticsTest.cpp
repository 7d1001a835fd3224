// Counting failures, hints, take-backs, trials and solves, and the level estimate.
#include <gtest/gtest.h>

#include <map>

#include "collection/Archive.h"
#include "collection/OpenGroup.h"
#include "collection/TempFolder.h"
#include "index/IndexLine.h"
#include "text/Texts.h"
#include "solving/Statistics.h"

namespace karvena::test {
namespace {

class TRecordingOutput : public IStatisticsOutput {
public:
    std::map<TStatLabel, std::string> labels;
    std::vector<std::string> messages;
    bool answer = false;
    int questions = 0;
    void SetLabel(TStatLabel label, const std::string& text) override { labels[label] = text; }
    bool ConfirmNoDefault(const std::string& caption, const std::string& text) override {
        ++questions;
        messages.push_back(caption + "|" + text);
        return answer;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ResetStatusColour() override {}
};

TEST(ProblemScore, Table) {
    const struct {
        int failed, hint0, hint1, hint2, takeback, trial, score;
    } cases[] = {
        {0, 0, 0, 0, 0, 0, 100}, {2, 0, 0, 0, 0, 0, 0},  {0, 2, 0, 0, 0, 0, 90},
        {0, 1, 0, 0, 0, 0, 90},  {0, 0, 2, 0, 0, 0, 0},  {0, 0, 1, 0, 0, 0, 25},
        {0, 0, 0, 1, 0, 0, 10},  {0, 0, 0, 0, 1, 0, 75}, {0, 0, 0, 0, 0, 3, 70},
        {0, 1, 0, 0, 2, 1, 30},  {9, 9, 9, 9, 9, 9, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProblemScore(c.failed, c.hint0, c.hint1, c.hint2, c.takeback, c.trial), c.score)
            << c.failed << c.hint0 << c.hint1 << c.hint2 << c.takeback << c.trial;
}

class LevelMessages : public ::testing::Test {
protected:
    void TearDown() override { SetLanguageFlags(TLanguage::SimplifiedChinese); }
};

TEST_F(LevelMessages, BothLanguages) {
    const struct {
        int level;
        const char* english;
        const char* chinese;
    } cases[] = {
        {0, "Now I can't tell your level because you solved too few problems yourself.",
         "无法判断您的大概水平，因为解答的题目数量不足"},
        {29, "I can't tell your level because the problems you solved are too easy.",
         "无法判断您的大概水平，因为解答的题目数量不足"},
        {30, "Your level is about 11k to 9k.", "你的段位大概在 11k 到 9k 之间"},
        {38, "Your level is about 3k to 1k.", "你的段位大概在 3k 到 1k 之间"},
        {39, "Your level is about 2k to 1d.", "你的段位大概在2k到1d之间"},
        {40, "Your level is about 1k to 2d.", "你的段位大概在1k到2d之间"},
        {45, "Your level is about 5d to 7d.", "你的段位大概在 5d 到 7d 之间"},
        {46, "You are close to professional players. Your level is higher than 5d.",
         "您的水平相当高，恐怕至少有5d吧"},
    };
    for (const auto& c : cases) {
        SetLanguageFlags(TLanguage::English);
        EXPECT_EQ(LevelMessage(c.level), c.english);
        SetLanguageFlags(TLanguage::SimplifiedChinese);
        EXPECT_EQ(LevelMessage(c.level), c.chinese);
    }
}

TEST(LevelTotals, SixPerfectSolvesFixTheLevel) {
    std::array<int, 51> totals{};
    totals[35] = 6 * ProblemScore(0, 0, 0, 0, 0, 0);
    EXPECT_EQ(totals[35], 600);
    EXPECT_EQ(LevelFromTotals(totals), 35);
    totals[35] = 599;
    EXPECT_EQ(LevelFromTotals(totals), 0);
    totals[47] = totals[48] = totals[49] = 10000;
    EXPECT_EQ(LevelFromTotals(totals), 0) << "levels 47 to 49 are never examined";
    totals[12] = 700;
    totals[40] = 600;
    EXPECT_EQ(LevelFromTotals(totals), 40) << "the highest level first";
}

// A history file, an index with three problems, and the statistics over them.
class Counting : public ::testing::Test {
protected:
    void SetUp() override {
        SetLanguageFlags(TLanguage::English);
        ASSERT_TRUE(history.Open(folder.File(kHistoryFileName)).Ok);
        for (int key : {1, 2, 3})
            history.Append(key);
        index.SetGames({BuildIndexLine(1, false, false, "1", "", "", "", false),
                        BuildIndexLine(2, false, false, "1", "", "", "", false),
                        BuildIndexLine(3, false, false, "1", "", "", "", false)});
        Select(0);
    }
    void TearDown() override { SetLanguageFlags(TLanguage::SimplifiedChinese); }
    void Select(int position) {
        index.SetSelected(position);
        stats.SetCurrentProblem(position + 1);
        stats.ShowCounters(position);
    }
    THistoryRow Stored(int key) {
        THistoryStore reopened;
        EXPECT_TRUE(reopened.Open(folder.File(kHistoryFileName)).Ok);
        return *reopened.Find(key);
    }
    TTempFolder folder;
    THistoryStore history;
    TGoIndexModel index;
    TRecordingOutput output;
    TStatistics stats{index, history, output};
};

TEST_F(Counting, FailuresHintsAndSolveAreCountedAndStored) {
    EXPECT_EQ(output.labels[TStatLabel::StdResult], "No. 1");
    stats.RecordFailure();
    EXPECT_EQ(index.FailedCountBeforeSolve, 2) << "a first failure stores 2";
    EXPECT_EQ(output.labels[TStatLabel::FailureCount], "Failure count: 1");
    stats.RecordHint(1);
    stats.RecordHint(0);
    stats.RecordHint(5);
    EXPECT_EQ(output.labels[TStatLabel::Hint1Count], "Hint count: 1");
    EXPECT_EQ(output.labels.count(TStatLabel::Hint0Count), 0u)
        << "hidden while ShowStdResult is off";
    stats.RecordTakeback();
    stats.RecordTrial();
    stats.RecordSolved();
    EXPECT_EQ(index.Games()[0][5], '1') << "the index marks the problem solved";
    EXPECT_EQ(output.labels[TStatLabel::SuccessCount], "Solved");

    THistoryRow expected{1, 1, 1, 1, 1, 1, 2, 1, 1, 1, 1, 1};
    EXPECT_EQ(Stored(1), expected);

    // Once solved: take-backs and trials stop; failures and hints go on, before-solve ones stay.
    stats.RecordTakeback();
    stats.RecordTrial();
    stats.RecordFailure();
    stats.RecordHint(1);
    expected.FailedCount = 2;
    expected.Hint1Count = 2;
    EXPECT_EQ(Stored(1), expected);
    EXPECT_EQ(output.labels[TStatLabel::FailureCount], "Failure count: 2");
    EXPECT_EQ(output.labels[TStatLabel::TakebackCount], "Takeback count: 1");
}

TEST_F(Counting, ShowCountersFillsTheWorkingCopyAndLabels) {
    THistoryRow row{2, 3, 0, 4, 0, 1, 4, 0, 2, 0, 5, 6};
    history.Post(row);
    Select(1);
    EXPECT_EQ(index.SolvedCount(), 1);
    EXPECT_EQ(index.FailedCount, 3);
    EXPECT_EQ(index.StudyBeforeSolve, 6);
    EXPECT_EQ(output.labels[TStatLabel::StdResult], "No. 2");
    EXPECT_EQ(output.labels[TStatLabel::SuccessCount], "Solved");
    EXPECT_EQ(output.labels[TStatLabel::Hint1Count], "Hint count: 4");
    EXPECT_EQ(output.labels[TStatLabel::TakebackCount], "Takeback count: 5");
    EXPECT_EQ(output.labels[TStatLabel::StudyCount], "trial count: 6");
    Select(2);
    EXPECT_EQ(output.labels[TStatLabel::SuccessCount], "");
    EXPECT_EQ(output.labels[TStatLabel::FailureCount], "");
}

TEST_F(Counting, ResetSolvedFlagKeepsTheOtherCountersAndBeforeSolveResumes) {
    stats.RecordFailure();
    stats.RecordSolved();
    stats.RecordFailure();
    // Asked first: "no" keeps the flag.
    output.answer = false;
    stats.ResetSolvedFlag();
    EXPECT_EQ(output.questions, 1);
    EXPECT_EQ(index.Games()[0][5], '1');
    EXPECT_EQ(Stored(1).SolvedCount, 1);
    output.answer = true;
    stats.ResetSolvedFlag();
    EXPECT_EQ(index.Games()[0][5], '0');
    EXPECT_EQ(output.labels[TStatLabel::SuccessCount], "");
    THistoryRow stored = Stored(1);
    EXPECT_EQ(stored.SolvedCount, 0);
    EXPECT_EQ(stored.FailedCount, 2);
    EXPECT_EQ(stored.FailedCountBeforeSolve, 2);
    stats.RecordFailure();
    EXPECT_EQ(Stored(1).FailedCountBeforeSolve, 4) << "all-time failures plus one";
    stats.RecordTakeback();
    EXPECT_EQ(Stored(1).TakebackBeforeSolve, 1);
    stats.RecordSolved();
    EXPECT_EQ(Stored(1).SolvedCount, 1);
}

TEST_F(Counting, ClearAllSolvedFlagsAsksAndLeavesTheIndexMarks) {
    stats.RecordSolved();
    Select(1);
    stats.RecordSolved();
    output.answer = false;
    stats.ClearAllSolvedFlags();
    EXPECT_EQ(output.questions, 1);
    EXPECT_EQ(output.messages.back(),
              "All solved flags will be cleared|Do you really want to clear every solved flag?");
    EXPECT_EQ(Stored(1).SolvedCount, 1) << "No keeps everything";
    output.answer = true;
    stats.ClearAllSolvedFlags();
    EXPECT_EQ(Stored(1).SolvedCount, 0);
    EXPECT_EQ(Stored(2).SolvedCount, 0);
    EXPECT_EQ(index.Games()[0][5], '1') << "the marks stay until the group is opened again";
    EXPECT_EQ(index.Games()[1][5], '1');
    EXPECT_EQ(index.SolvedCount(), 1) << "the working copy is not touched";
}

TEST_F(Counting, ResultCommandNeedsTheSwitch) {
    stats.Result1Click(true, "lives");
    EXPECT_EQ(index.Hint0Count, 0);
    ShowStdResult = true;
    stats.Result1Click(false, "lives");
    EXPECT_EQ(index.Hint0Count, 0) << "only on the problem page";
    stats.Result1Click(true, "lives");
    EXPECT_EQ(output.labels[TStatLabel::StdResult], "lives");
    EXPECT_EQ(output.labels[TStatLabel::Hint0Count], "Hint(result) count: 1");
    EXPECT_EQ(Stored(1).Hint0Count, 1);
    EXPECT_EQ(StatedResultText(3), "ko");
    SetLanguageFlags(TLanguage::SimplifiedChinese);
    EXPECT_EQ(StatedResultText(3), "劫活");
    EXPECT_EQ(StatedResultText(2), "劫杀");
    ShowStdResult = false;
    EXPECT_EQ(StatedResultText(1), "");
}

TEST_F(Counting, LevelEstimateOverTheWholeCollection) {
    TProblemTableWriter writer;
    for (int key = 1; key <= 9; ++key) {
        TProblemRow row;
        row.Auto1 = key;
        row.Group1 = key <= 6 ? 1 : 2; // the estimate does not care which group is open
        row.Level1 = key <= 6 ? 33 : 48;
        writer.Add(row);
        history.Append(key);
    }
    TProblemStore problems;
    ASSERT_TRUE(problems.Open(writer.Image()));
    EXPECT_EQ(stats.WhatLevelImAt(problems), 0);
    for (int key = 7; key <= 9; ++key)
        history.Post({key, 0, 0, 0, 0, 9});
    EXPECT_EQ(stats.WhatLevelImAt(problems), 0) << "levels 47 to 49 count but are never examined";
    for (int key = 1; key <= 6; ++key)
        history.Post({key, 0, 0, 0, 0, 1});
    EXPECT_EQ(stats.WhatLevelImAt(problems), 33);
    EXPECT_EQ(output.messages.back(), "Your level is about 8k to 6k.");
    THistoryRow helped{6, 0, 0, 0, 0, 1, 0, 1};
    history.Post(helped);
    EXPECT_EQ(stats.WhatLevelImAt(problems), 0) << "590 is not enough";
}

} // namespace
} // namespace karvena::test
