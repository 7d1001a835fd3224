// What a daily player looks for: who plays, which group and page this is, the review coming up,
// questions before a flag is lost, the hint windows back, and the import dialog where it was.
#include <gtest/gtest.h>

#include <QDir>
#include <QHelpEvent>
#include <QToolTip>

#include "shell/QtText.h"
#include "shell/TrainerFixture.h"

namespace karvena::test {
namespace {

class DailyPlayer : public TTrainerFixture {
protected:
    // Group 1 holds one problem, group 2 twelve: AB is right, BA fails.
    std::vector<TProblemRow> Problems() override {
        const char* sgf = "(;AB[dd]AW[ee](;B[ab]C[Correct])(;B[ba];W[ab]))";
        std::vector<TProblemRow> rows = {ImportedRow(sgf, 1, 1)};
        for (int key = 2; key <= 13; ++key) rows.push_back(ImportedRow(sgf, key, 2));
        // Group 3: a problem white plays.
        rows.push_back(ImportedRow("(;AB[dd]AW[ee]PL[W](;W[ab]C[Correct])(;W[ba];B[ab]))", 14, 3));
        return rows;
    }
    QLabel* StatusPage() { return window->findChild<QLabel*>("StatusPage"); }
};

TEST_F(DailyPlayer, TheProblemPageSaysWhoPlaysInTheColoursShown) {
    OpenWindow();
    window->Loop().Options().RandomColours = true;
    window->OpenGroup(2, 0);
    ClickThumbnail(1, 1);
    bool sawBlack = false, sawWhite = false;
    for (int setUp = 0; setUp < 64 && !(sawBlack && sawWhite); ++setUp) {
        window->Loop().SolveAgain();
        const bool swapped = window->Loop().Orientation().SwapsColours();
        EXPECT_EQ(window->LabelToPlay->text(), swapped ? "White to play" : "Black to play");
        (swapped ? sawWhite : sawBlack) = true;
    }
    EXPECT_TRUE(sawBlack && sawWhite) << "random colours show both";
}

TEST_F(DailyPlayer, TheCaptionNamesTheGroupAndTheIndexSaysWhichPage) {
    OpenSize = QSize(520, 520);
    OpenWindow();
    window->OpenGroup(2, 0);
    EXPECT_EQ(window->windowTitle(), "Karvena — Intermediate");
    ASSERT_NE(StatusPage(), nullptr);
    const int pages = window->GoIndex1->PageCount();
    ASSERT_GT(pages, 1) << "a small window: more than one page";
    EXPECT_EQ(StatusPage()->text(), QString("Page 1 of %1").arg(pages));
    EXPECT_TRUE(StatusPage()->isVisible());
    window->NextPage();
    EXPECT_EQ(StatusPage()->text(), QString("Page 2 of %1").arg(pages));
    window->LastPage();
    EXPECT_EQ(StatusPage()->text(), QString("Page %1 of %1").arg(pages));
    ClickThumbnail(1, 1);
    EXPECT_FALSE(StatusPage()->isVisible()) << "the index page's";
    window->Item(TCommand::miReview1)->trigger();
    EXPECT_EQ(window->windowTitle(), "Karvena — Review");
    // Menu captions lose their keys in a caption, in Chinese as in English.
    const struct {
        const char* caption;
        const char* plain;
    } captions[] = {{"中级(&I)", "中级"}, {"Review &ahead", "Review ahead"}, {"中级(&I) 3/12", "中级 3/12"}};
    for (const auto& c : captions) EXPECT_EQ(Plain(QString::fromUtf8(c.caption)), QString::fromUtf8(c.plain));
}

TEST_F(DailyPlayer, TheReviewItemCountsTomorrowAndTheReviewOpensAhead) {
    OpenWindow();
    window->Loop().Options().JudgeMovesTheAnswerDoesNotList = false;
    int today = 40000;
    window->Statistics().Today = [&today] { return today; };
    window->OpenGroup(2, 0);
    ClickThumbnail(1, 3); // problem 4
    ClickPoint(2, 1);     // BA: a failure, due tomorrow
    ASSERT_EQ(window->LabelResult->text(), "Failure");
    window->RefreshGroupMenus();
    EXPECT_EQ(window->Item(TCommand::miReview1)->text(), "Review (0 due, 1 tomorrow)");
    window->Item(TCommand::miReview1)->trigger();
    EXPECT_EQ(window->GoIndex1->Count(), 0);
    window->Item(TCommand::miReviewAhead1)->trigger();
    ASSERT_EQ(window->GoIndex1->Count(), 1);
    EXPECT_EQ(window->GoIndex1->Games()[0].substr(0, 4), "0004");
    window->Item(TCommand::miReview1)->trigger();
    EXPECT_EQ(window->GoIndex1->Count(), 0) << "ahead only when asked";
}

TEST_F(DailyPlayer, ResettingTheSolvedFlagAsksFirstAndTheHintWindowsComeBack) {
    OpenWindow();
    window->OpenGroup(2, 0);
    ClickThumbnail(1, 1);
    ClickPoint(1, 2);
    ASSERT_EQ(window->LabelSuccessCount->text(), "Solved");
    answer = false;
    window->Item(TCommand::Resetsolvedflag1)->trigger();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), "question: Reset the solved flag of this problem?");
    EXPECT_EQ(window->LabelSuccessCount->text(), "Solved") << "no: kept";
    answer = true;
    window->Item(TCommand::Resetsolvedflag1)->trigger();
    EXPECT_EQ(window->LabelSuccessCount->text(), "");

    // "Do not display" ticked on both hint windows, then switched on again from the menu.
    Store("DisplaySpashForm1", "0");
    Store("DisplaySpashForm2", "0");
    window.reset();
    OpenWindow();
    ASSERT_FALSE(window->SplashForm1()->DisplayFlag());
    ASSERT_FALSE(window->SplashForm2()->DisplayFlag());
    window->Item(TCommand::miShowHintWindows1)->trigger();
    EXPECT_TRUE(window->SplashForm1()->DisplayFlag());
    EXPECT_TRUE(window->SplashForm2()->DisplayFlag());
    window.reset();
    OpenWindow();
    EXPECT_TRUE(window->SplashForm1()->DisplayFlag()) << "kept";
}

TEST_F(DailyPlayer, TheImportDialogOpensWhereTheLastImportCameFrom) {
    const QString source = folder.filePath("sgf/club");
    ASSERT_TRUE(QDir().mkpath(source));
    ASSERT_TRUE(QFile::copy(QString(KARVENA_TEST_DATA) + "/import/club/README.txt", source + "/README.txt"));
    QFile sgf(source + "/one.sgf");
    ASSERT_TRUE(sgf.open(QIODevice::WriteOnly));
    sgf.write("(;GM[1]SZ[19]AB[dd]AW[ee];B[ab]C[Correct])");
    sgf.close();
    OpenWindow();
    EXPECT_EQ(window->ImportStartFolder(), "") << "nothing imported yet";
    window->ImportChooser = [source] { return QStringList{source}; };
    window->ImportProblems();
    EXPECT_EQ(window->ImportStartFolder(), folder.filePath("sgf")) << "beside the folder imported";
    window.reset();
    OpenWindow();
    EXPECT_EQ(window->ImportStartFolder(), folder.filePath("sgf")) << "in the next session too";
    // A folder since removed: the dialog's own default.
    QDir(folder.filePath("sgf")).removeRecursively();
    EXPECT_EQ(window->ImportStartFolder(), "");
}

TEST_F(DailyPlayer, TheLastProblemOpenedIsSelectedAtItsPageOnTheNextStart) {
    OpenSize = QSize(520, 520);
    OpenWindow();
    window->OpenGroup(2, 0);
    window->NextPage();
    const int top = window->GoIndex1->TopRow();
    ASSERT_GT(top, 1);
    ClickThumbnail(1, 1);
    const int opened = window->GoIndex1->Selected();
    ASSERT_GT(opened, 0);
    window->ShowIndexView();
    window->FirstPage(); // the player looked elsewhere before closing
    window->close();
    window.reset();
    OpenWindow();
    EXPECT_EQ(window->Pages->currentWidget(), window->tsIndex);
    EXPECT_EQ(window->GoIndex1->Selected(), opened);
    EXPECT_EQ(window->GoIndex1->TopRow(), top) << "at its page";

    // A problem no longer there: the group's first page, nothing selected.
    window->close();
    window.reset();
    Store("SelectedKey", "999");
    OpenWindow();
    EXPECT_EQ(window->GoIndex1->Selected(), -1);
    EXPECT_EQ(window->GoIndex1->TopRow(), 1);
}

TEST_F(DailyPlayer, ThumbnailsShowWhoPlaysAFailedMarkAndATip) {
    OpenWindow();
    window->Loop().Options().JudgeMovesTheAnswerDoesNotList = false;
    window->OpenGroup(2, 0);
    ClickThumbnail(1, 2); // problem 3 fails
    ClickPoint(2, 1);
    ASSERT_EQ(window->LabelResult->text(), "Failure");
    window->ShowIndexView();
    QApplication::processEvents();
    const int size = window->GoIndex1->BoardWidth(), m = window->GoIndex1->Margin();
    auto pixel = [&](int col, QPoint at) {
        const QImage shot = window->GoIndex1->grab().toImage();
        const qreal dpr = shot.devicePixelRatio();
        const QPoint p = window->GoIndex1->CellRect({1, col}).topLeft() + at;
        return shot.pixelColor(QPoint(qRound(p.x() * dpr), qRound(p.y() * dpr)));
    };
    const QPoint markCentre(size - m - 24 + 8, m + 34 + 8), stoneCentre(m + 10, size - 11);
    const QColor failedMark = pixel(2, markCentre + QPoint(0, -5)), cleanCell = pixel(1, markCentre + QPoint(0, -5));
    EXPECT_GT(failedMark.red(), 150);
    EXPECT_LT(failedMark.green(), 100) << "a red mark on the failed problem";
    EXPECT_NE(cleanCell, failedMark) << "none on the one not tried";
    EXPECT_LT(pixel(1, stoneCentre).lightness(), 60) << "black plays";

    // The tip: number, level, counts.
    const QRect cell = window->GoIndex1->CellRect({1, 2});
    QHelpEvent help(QEvent::ToolTip, cell.center(), window->GoIndex1->mapToGlobal(cell.center()));
    QApplication::sendEvent(window->GoIndex1, &help);
    EXPECT_TRUE(QToolTip::text().startsWith("No. 2")) << QToolTip::text().toStdString();
    EXPECT_TRUE(QToolTip::text().endsWith("solved: 0, failures: 1")) << QToolTip::text().toStdString();
    ClickThumbnail(1, 2);
    ClickPoint(1, 2); // now solved: the tick replaces the failed mark, the tip tells the best time
    window->ShowIndexView();
    QApplication::processEvents();
    EXPECT_LT(pixel(2, markCentre + QPoint(0, -5)).red(), 150);
    QApplication::sendEvent(window->GoIndex1, &help);
    EXPECT_TRUE(QToolTip::text().endsWith("solved: 1, failures: 1")) << "not clean: no best time";
    ClickThumbnail(1, 1);
    ClickPoint(1, 2); // a clean solve
    window->ShowIndexView();
    const QRect first = window->GoIndex1->CellRect({1, 1});
    QHelpEvent overFirst(QEvent::ToolTip, first.center(), window->GoIndex1->mapToGlobal(first.center()));
    QApplication::sendEvent(window->GoIndex1, &overFirst);
    EXPECT_TRUE(QToolTip::text().contains("solved: 1, failures: 0\nbest clean solve: "));

    window->OpenGroup(3, 0);
    QApplication::processEvents();
    EXPECT_GT(pixel(1, stoneCentre).lightness(), 200) << "white plays";
}

TEST_F(DailyPlayer, TheFirstHintShadesTheAreaAndTheSecondGivesTheMove) {
    OpenWindow();
    window->OpenGroup(2, 0);
    ClickThumbnail(1, 1);
    TGoGame* board = window->GoGame1;
    window->Item(TCommand::miHint1)->trigger();
    EXPECT_TRUE(board->Shaded(1, 2)) << "the answer lies in the area";
    EXPECT_TRUE(board->Shaded(4, 4) || board->Shaded(3, 3)) << "the problem's stones' area";
    EXPECT_FALSE(board->Shaded(15, 15)) << "not the whole board";
    EXPECT_EQ(board->LabelColor(1, 2), 0u) << "the move is not given yet";
    EXPECT_EQ(window->LabelHint1Count->text(), "Hint count: 1") << "it counts as a hint";
    window->Item(TCommand::miHint1)->trigger();
    EXPECT_EQ(board->LabelColor(1, 2), 0x8000u);
    EXPECT_EQ(window->LabelHint1Count->text(), "Hint count: 2");

    // The option keeps the one-step hint, and is kept.
    window->Item(TCommand::miOneStepHint1)->trigger();
    window->Loop().SolveAgain();
    EXPECT_FALSE(board->Shaded(1, 2)) << "a new set-up has no shade";
    window->Item(TCommand::miHint1)->trigger();
    EXPECT_FALSE(board->Shaded(1, 2));
    EXPECT_EQ(board->LabelColor(1, 2), 0x8000u);
    window->close();
    window.reset();
    OpenWindow();
    EXPECT_TRUE(window->Item(TCommand::miOneStepHint1)->isChecked());
    EXPECT_TRUE(window->Loop().Options().OneStepHint);
}

} // namespace
} // namespace karvena::test
