// The player's progress in the window: the rating in the status bar follows the attempt log, and
// File -> Export statistics... writes the log as CSV, whole or not at all.
#include <gtest/gtest.h>

#include <QFile>

#include "shell/TrainerFixture.h"

namespace karvena::test {
namespace {

class StatisticsWindow : public TTrainerFixture {
protected:
    // Group 2: AB is right at problem 1 (level 30), AC at problem 2 (level 30).
    std::vector<TProblemRow> Problems() override {
        return {ImportedRow("(;AB[dd]AW[ee](;B[ab]C[Correct])(;B[ba];W[ab]))", 1, 2),
                ImportedRow("(;AB[dd]AW[ee](;B[ac]C[Correct])(;B[ca];W[ac]))", 2, 2)};
    }
    QLabel* Rating() { return window->findChild<QLabel*>("StatusRating"); }
};

TEST_F(StatisticsWindow, TheRatingFollowsFirstAttemptsAndTheLogIsExported) {
    OpenWindow();
    window->Loop().Options().JudgeMovesTheAnswerDoesNotList = false;
    ASSERT_NE(Rating(), nullptr);
    EXPECT_EQ(Rating()->text(), "") << "no attempt yet";
    ClickThumbnail(1, 1);
    ClickPoint(1, 2); // AB: a clean solve of a level-30 problem
    ASSERT_EQ(window->LabelResult->text(), "Success");
    const QString afterWin = Rating()->text();
    EXPECT_EQ(afterWin, "Rating: 8k") << "10k at the start: a first win against 10k moves it up two levels";
    window->ShowIndexView();
    ClickThumbnail(1, 2);
    ClickPoint(3, 1); // CA: a failure
    window->ShowIndexView(); // the attempt ends when the problem is left... or another opens
    ClickThumbnail(1, 1);
    EXPECT_NE(Rating()->text(), afterWin) << "the failed first attempt moved it down";

    const QString csv = folder.filePath("attempts.csv");
    window->ExportChooser = [csv] { return csv; };
    window->Item(TCommand::miExportStatistics1)->trigger();
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "problem,began,ended,result,failures,hints,takebacks,seconds,orientation");
    EXPECT_TRUE(lines[1].startsWith("\"bundled 0001\",")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(",clean,0,0,0,"));
    EXPECT_TRUE(lines[2].contains(",failure,1,0,0,"));

    // A file that cannot be written is said, and nothing is left half written.
    const QString nowhere = folder.filePath("missing/attempts.csv");
    window->ExportChooser = [nowhere] { return nowhere; };
    window->Item(TCommand::miExportStatistics1)->trigger();
    ASSERT_FALSE(messages.empty());
    EXPECT_TRUE(messages.back().startsWith("error: The statistics could not be written"));
    EXPECT_FALSE(QFile::exists(nowhere));
}

} // namespace
} // namespace karvena::test
