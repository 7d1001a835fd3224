// The statistics page after a scripted week, and timed sets played in the window.
#include <gtest/gtest.h>

#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QLineSeries>
#include <QtCharts/QStackedBarSeries>
#include <QDir>
#include <QRegularExpression>
#include <ctime>

#include "shell/TrainerFixture.h"
#include "solving/Progress.h"

namespace karvena::test {
namespace {

std::time_t Local(int year, int month, int day, int hour) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

class ProgressWindow : public TTrainerFixture {
protected:
    // Group 1 ("Beginner") holds problem 1, group 2 ("Intermediate") problems 2-4: AB is right
    // in each, BA is answered at AB and fails.
    std::vector<TProblemRow> Problems() override {
        const char* sgf = "(;AB[dd]AW[ee](;B[ab]C[Correct])(;B[ba];W[ab]))";
        return {ImportedRow(sgf, 1, 1), ImportedRow(sgf, 2, 2), ImportedRow(sgf, 3, 2), ImportedRow(sgf, 4, 2)};
    }
    void SetUp() override {
        TTrainerFixture::SetUp();
        BeforeShow = [this](TGoGameMainForm& w) {
            w.Statistics().WallClock = [this] { return wall; };
            w.Statistics().Now = [this] { return static_cast<int64_t>(wall); };
            w.Statistics().Today = [this] { return DayNumber(LocalTimeText(wall).substr(0, 10)); };
            w.TimedSetClock = [this] { return static_cast<int64_t>(wall); };
            w.TimedSetPauseMs = 0;
        };
    }
    // Opens the problem at that place of its group; the attempt takes `seconds` before the moves.
    void Open(int group, int column, int seconds) {
        window->OpenGroup(group, 0);
        ClickThumbnail(1, column);
        wall += seconds;
    }
    void Right() { ClickPoint(1, 2); }
    void Wrong() { ClickPoint(2, 1); }
    template <class Series> Series* SeriesOf(QChartView* view) {
        return view->chart()->series().isEmpty() ? nullptr : qobject_cast<Series*>(view->chart()->series().front());
    }
    std::time_t wall = Local(2026, 11, 28, 9);
};

TEST_F(ProgressWindow, TheStatisticsPageSaysSoWhenThereIsNothingToShow) {
    OpenWindow();
    window->Item(TCommand::miStatistics1)->trigger();
    ASSERT_EQ(window->Pages->currentWidget(), window->tsStatistics);
    EXPECT_TRUE(window->tsStatistics->EmptyLabel->isVisible());
    EXPECT_TRUE(window->tsStatistics->EmptyLabel->text().startsWith("Nothing to show yet"));
    EXPECT_FALSE(window->tsStatistics->Charts->isVisible()) << "no empty axes";
    // Back to the index a click away.
    window->Item(TCommand::miProblemIndex1)->trigger();
    EXPECT_EQ(window->Pages->currentWidget(), window->tsIndex);
}

TEST_F(ProgressWindow, AScriptedWeekShowsItsNumbersInEachChart) {
    OpenWindow();
    window->Loop().Options().JudgeMovesTheAnswerDoesNotList = false;
    // Nov 28: problem 1 clean in 30 s.
    Open(1, 1, 30);
    Right();
    ASSERT_EQ(window->LabelResult->text(), "Success");
    // Nov 29: problem 2 fails, then is solved: not clean.
    wall = Local(2026, 11, 29, 9);
    Open(2, 1, 50);
    Wrong();
    Key(Qt::Key_PageDown);
    Right();
    // Nov 30: problem 3 clean in 20 s; Dec 1: again, in 25 s.
    wall = Local(2026, 11, 30, 9);
    Open(2, 2, 20);
    Right();
    wall = Local(2026, 12, 1, 9);
    Open(2, 2, 25);
    Right();
    // Dec 2: problem 2 clean in 40 s.
    wall = Local(2026, 12, 2, 9);
    Open(2, 1, 40);
    Right();
    // Dec 3: problem 4 with a hint; Dec 4: clean in 10 s.
    wall = Local(2026, 12, 3, 9);
    Open(2, 3, 15);
    Key(Qt::Key_Right);
    Right();
    wall = Local(2026, 12, 4, 9);
    Open(2, 3, 10);
    Right();
    ASSERT_EQ(window->History().Attempts().size(), 7u);

    window->Item(TCommand::miStatistics1)->trigger();
    TStatisticsPage* page = window->tsStatistics;
    ASSERT_EQ(window->Pages->currentWidget(), page);
    EXPECT_FALSE(page->EmptyLabel->isVisible());
    EXPECT_TRUE(page->Charts->isVisible());
    EXPECT_EQ(page->StreakLabel->text(), "Current streak: 1 day    Best streak: 3 days")
        << "clean solves Nov 28, Nov 30 - Dec 2, Dec 4";

    auto* perDay = SeriesOf<QLineSeries>(page->SolvedPerDayChart);
    ASSERT_NE(perDay, nullptr);
    ASSERT_EQ(perDay->count(), TProgressReport::kDays);
    std::vector<int> lastWeek;
    for (int i = TProgressReport::kDays - 7; i < TProgressReport::kDays; ++i)
        lastWeek.push_back(static_cast<int>(perDay->at(i).y()));
    EXPECT_EQ(lastWeek, (std::vector<int>{1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(perDay->at(0).y(), 0);

    auto* firstClean = SeriesOf<QBarSeries>(page->FirstCleanChart);
    ASSERT_NE(firstClean, nullptr);
    ASSERT_EQ(firstClean->barSets().size(), 1);
    const QBarSet* share = firstClean->barSets().front();
    ASSERT_EQ(share->count(), 2) << "Beginner and Intermediate";
    EXPECT_EQ(share->at(0), 100);
    EXPECT_EQ(share->at(1), 33) << "of problems 2, 3, 4 only 3 was clean at the first attempt";

    auto* cleanTime = SeriesOf<QBarSeries>(page->CleanTimeChart);
    ASSERT_NE(cleanTime, nullptr);
    EXPECT_EQ(cleanTime->barSets().front()->at(0), 30);
    EXPECT_EQ(cleanTime->barSets().front()->at(1), 24) << "(20 + 25 + 40 + 10) / 4";

    auto* totals = SeriesOf<QStackedBarSeries>(page->SolvedTotalChart);
    ASSERT_NE(totals, nullptr);
    ASSERT_EQ(totals->barSets().size(), 2);
    EXPECT_EQ(totals->barSets()[0]->at(0), 1);
    EXPECT_EQ(totals->barSets()[0]->at(1), 3);
    EXPECT_EQ(totals->barSets()[1]->at(1), 0) << "nothing left unsolved";

    auto* rating = SeriesOf<QLineSeries>(page->RatingChart);
    ASSERT_NE(rating, nullptr);
    ASSERT_EQ(rating->count(), 4) << "one point a problem's first attempt";
    EXPECT_GT(rating->at(0).y(), TRating::kStart) << "a clean first solve moves it up";
    EXPECT_LT(rating->at(1).y(), rating->at(0).y()) << "a first attempt not clean moves it down";
    EXPECT_EQ(page->RatingLabel->text(), window->findChild<QLabel*>("StatusRating")->text());
}

TEST_F(ProgressWindow, ATimedSetOfThreeWithOneOutOfTimeGivesItsSummary) {
    OpenWindow();
    window->Loop().Options().JudgeMovesTheAnswerDoesNotList = false;
    // Problem 3 is solved already: the set plays the unsolved 2 and 4 first.
    Open(2, 2, 5);
    Right();
    window->ShowIndexView();
    TTimedSetOptions options;
    options.Group = 2;
    options.Size = 3;
    options.Seconds = 60;
    window->TimedSetChooser = [options] { return options; };
    window->Item(TCommand::miTimedSet1)->trigger();
    ASSERT_TRUE(window->InTimedSet());
    EXPECT_EQ(window->Pages->currentWidget(), window->tsProblem);
    EXPECT_EQ(window->GoIndex1->Selected(), 0);
    EXPECT_TRUE(window->LabelCountdown->isVisible());
    EXPECT_EQ(window->LabelCountdown->text(), "Time left: 1:00\nProblem 1 of 3");
    EXPECT_FALSE(window->Item(TCommand::miIntermediate1)->isEnabled()) << "the set's problems only";
    EXPECT_FALSE(window->Item(TCommand::miNextproblem1)->isEnabled());

    // The first in 20 s.
    wall += 20;
    window->TimedSetTick();
    EXPECT_EQ(window->LabelCountdown->text(), "Time left: 0:40\nProblem 1 of 3");
    Right();
    QApplication::processEvents(); // the pause after the solve
    EXPECT_EQ(window->GoIndex1->Selected(), 2) << "problem 4, the other unsolved one";
    EXPECT_EQ(window->LabelCountdown->text(), "Time left: 1:00\nProblem 2 of 3");

    // The second runs out of time: a failure, counted.
    const int32_t key = window->Statistics().CurrentProblem();
    const int failedBefore = window->History().Find(key) ? window->History().Find(key)->FailedCount : 0;
    wall += 61;
    window->TimedSetTick();
    ASSERT_TRUE(window->History().Find(key));
    EXPECT_EQ(window->History().Find(key)->FailedCount, failedBefore + 1);
    EXPECT_EQ(window->GoIndex1->Selected(), 1) << "then the solved one";
    EXPECT_EQ(window->History().Attempts().back().Result, TAttemptResult::Failure);

    // The third in 30 s: the set is over.
    wall += 30;
    Right();
    QApplication::processEvents();
    EXPECT_FALSE(window->InTimedSet());
    ASSERT_EQ(window->Pages->currentWidget(), window->tsTimedSummary);
    TTimedSetSummary* summary = window->tsTimedSummary;
    EXPECT_EQ(summary->Heading->text(), "Not passed: 2 of 3 solved");
    ASSERT_EQ(summary->Table->rowCount(), 3);
    const char* expected[3][3] = {{"No. 1", "Solved", "0:20"}, {"No. 3", "Out of time", "1:00"}, {"No. 2", "Solved", "0:30"}};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(summary->Table->item(row, column)->text().toStdString(), expected[row][column]) << row << "," << column;
    EXPECT_FALSE(window->LabelCountdown->isVisible());
    EXPECT_TRUE(window->Item(TCommand::miIntermediate1)->isEnabled());
    summary->BackButton->click();
    EXPECT_EQ(window->Pages->currentWidget(), window->tsIndex);
}

TEST_F(ProgressWindow, ASetCanBeLeftAtAnyTimeAndAWholeSetLimitEndsIt) {
    OpenWindow();
    window->Loop().Options().JudgeMovesTheAnswerDoesNotList = false;
    TTimedSetOptions options;
    options.Group = 2;
    options.Size = 3;
    window->StartTimedSet(options);
    wall += 12;
    Right();
    QApplication::processEvents();
    ASSERT_TRUE(window->InTimedSet());
    window->btnLeaveSet->click();
    EXPECT_FALSE(window->InTimedSet());
    ASSERT_EQ(window->Pages->currentWidget(), window->tsTimedSummary);
    EXPECT_EQ(window->tsTimedSummary->Table->item(0, 1)->text(), "Solved");
    EXPECT_EQ(window->tsTimedSummary->Table->item(1, 1)->text(), "Left");
    EXPECT_EQ(window->tsTimedSummary->Table->item(2, 1)->text(), "Not reached");
    EXPECT_EQ(window->tsTimedSummary->Table->item(2, 2)->text(), "");
    EXPECT_EQ(window->History().Attempts().size(), 1u) << "what was played stays; a problem only shown is no attempt";

    // Two minutes for the whole set: the clock runs on across problems and its end ends the set.
    options.WholeSet = true;
    options.Seconds = 120;
    window->StartTimedSet(options);
    wall += 100;
    Right();
    QApplication::processEvents();
    EXPECT_EQ(window->LabelCountdown->text(), "Time left: 0:20\nProblem 2 of 3");
    wall += 20;
    window->TimedSetTick();
    EXPECT_FALSE(window->InTimedSet());
    EXPECT_EQ(window->tsTimedSummary->Table->item(1, 1)->text(), "Out of time");
    EXPECT_EQ(window->tsTimedSummary->Table->item(2, 1)->text(), "Not reached");
}

TEST_F(ProgressWindow, TheNextProblemOptionDoesNotStepPastTheSetsLastProblem) {
    OpenWindow();
    window->Loop().Options().JudgeMovesTheAnswerDoesNotList = false;
    window->Loop().Options().NextProblemAutomatically = true;
    TTimedSetOptions options;
    options.Group = 2;
    options.Size = 1;
    window->StartTimedSet(options);
    ASSERT_EQ(window->GoIndex1->Selected(), 0);
    Right();
    QApplication::processEvents();
    EXPECT_EQ(window->Pages->currentWidget(), window->tsTimedSummary);
    EXPECT_EQ(window->GoIndex1->Selected(), 0) << "the set, not the option, says what comes next";
}

TEST_F(ProgressWindow, AnImportedGroupRestsDuringASetEvenWhenTheMenuIsMadeAgain) {
    const QString source = folder.filePath("sgf");
    ASSERT_TRUE(QDir().mkpath(source));
    QFile sgf(source + "/one.sgf");
    ASSERT_TRUE(sgf.open(QIODevice::WriteOnly));
    sgf.write("(;GM[1]SZ[19]AB[dd]AW[ee];B[ab]C[Correct])");
    sgf.close();
    OpenWindow();
    window->ImportChooser = [source] { return QStringList{source}; };
    window->ImportProblems();
    TTimedSetOptions options;
    options.Group = 2;
    options.Size = 2;
    window->StartTimedSet(options);
    ASSERT_TRUE(window->InTimedSet());
    window->RefreshGroupMenus(); // as opening the File menu does
    const QList<QAction*> imported = window->findChildren<QAction*>(QRegularExpression("^miImported"));
    ASSERT_FALSE(imported.isEmpty());
    for (QAction* item : imported) EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
    window->LeaveTimedSet();
    window->RefreshGroupMenus();
    for (QAction* item : window->findChildren<QAction*>(QRegularExpression("^miImported")))
        EXPECT_TRUE(item->isEnabled());
}

} // namespace
} // namespace karvena::test
