// Importing the player's own problems through the real window: the file chooser behind a seam,
// the progress, the summary, the new group in the menus, solving it, and a restart.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <filesystem>

#include "index/IndexLine.h"
#include "shell/TrainerFixture.h"

namespace karvena::test {
namespace {

class ImportDialog : public TTrainerFixture {
protected:
    std::vector<TProblemRow> Problems() override { return SmallProblems(); }
    // The test folder of folders, copied so nothing of the source tree is touched.
    QString Club() {
        const QString target = folder.filePath("club");
        std::filesystem::copy(std::string(KARVENA_TEST_DATA) + "/import/club", target.toStdString(),
                              std::filesystem::copy_options::recursive);
        return target;
    }
    QAction* MenuItem(const QString& startsWith) {
        window->RefreshGroupMenus();
        for (QAction* item : window->findChild<QMenu*>("miFile1")->actions())
            if (item->text().startsWith(startsWith)) return item;
        return nullptr;
    }
    QByteArray Bytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(ImportDialog, AFolderOfFoldersBecomesNamedGroupsThatSolveAndSurviveARestart) {
    OpenWindow();
    const std::optional<THistoryRow> bundledBefore = window->History().Find(2);
    const QString club = Club();
    window->ImportChooser = [club] { return QStringList{club}; };
    std::vector<int> seen;
    window->ImportProgressHook = [&](int done, int) { seen.push_back(done); };
    answer = true; // yes, open the first new group
    window->Item(TCommand::miImport1)->trigger();
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5, 6, 7})) << "every file counted";
    ASSERT_GE(messages.size(), 2u);
    const QString summary = messages[messages.size() - 2];
    EXPECT_TRUE(summary.contains("club/elementary: 3 problems")) << summary.toStdString();
    EXPECT_TRUE(summary.contains("broken.sgf:3:")) << "the broken file, where it broke";
    EXPECT_TRUE(summary.contains("slip.sgf:3:")) << "the slip's faulty line, where it was cut";
    EXPECT_TRUE(messages.back().contains("club/elementary")) << "offers to open the group";
    EXPECT_EQ(window->OpenedGroup(), kFirstImportedGroup);
    ASSERT_EQ(window->GoIndex1->Count(), 3);
    QAction* item = MenuItem("club/elementary ");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "club/elementary 0/3");
    EXPECT_TRUE(item->font().bold()) << "the open group is the default item";

    // Problem 2.sgf is solved by AB ("nice!RIGHT").
    ClickThumbnail(1, 2);
    ASSERT_EQ(window->Pages->currentWidget(), window->tsProblem);
    ClickPoint(1, 2);
    EXPECT_EQ(window->LabelResult->text(), "Success");
    EXPECT_EQ(MenuItem("club/elementary ")->text(), "club/elementary 1/3");

    // The same folder again adds nothing.
    messages.clear();
    window->Item(TCommand::miImport1)->trigger();
    ASSERT_FALSE(messages.empty());
    EXPECT_TRUE(messages[0].contains("No new problems.")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains("6 problems were already in the collection."));

    window->close();
    window.reset();
    OpenWindow();
    EXPECT_EQ(window->OpenedGroup(), kFirstImportedGroup) << "the stored group";
    ASSERT_EQ(window->GoIndex1->Count(), 3);
    EXPECT_EQ(window->GoIndex1->Games()[1][5], '1') << "solved before the restart";
    EXPECT_NE(MenuItem("club/elementary/ko "), nullptr);
    EXPECT_EQ(window->History().Find(2), bundledBefore) << "the bundled history is untouched";
    // The bundled groups are still there.
    window->OpenGroup(2, 0);
    EXPECT_EQ(window->GoIndex1->Count(), 3);
}

TEST_F(ImportDialog, ACancelledImportChangesNothingAndAGroupCanBeRemoved) {
    OpenWindow();
    const QString club = Club();
    window->ImportChooser = [club] { return QStringList{club + "/elementary"}; };
    window->Item(TCommand::miImport1)->trigger();
    const QString path = QString::fromStdString(window->UserCollection().Path());
    const QByteArray before = Bytes(path);
    ASSERT_FALSE(before.isEmpty());
    window->ImportChooser = [club] { return QStringList{club}; };
    window->ImportCancelAt = 2;
    messages.clear();
    window->Item(TCommand::miImport1)->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("cancelled"));
    EXPECT_EQ(Bytes(path), before);

    // Removing asks first; No keeps the group.
    // A folder chosen by itself names its group: "elementary", and "elementary/ko" below it.
    answer = false;
    window->RemoveImportedGroup(kFirstImportedGroup);
    EXPECT_NE(MenuItem("elementary "), nullptr);
    answer = true;
    window->RemoveImportedGroup(kFirstImportedGroup);
    EXPECT_EQ(MenuItem("elementary "), nullptr);
    ASSERT_EQ(window->UserCollection().Groups().size(), 1u);
    EXPECT_EQ(window->UserCollection().Groups()[0].Name, "elementary/ko");
}

// Removing an imported group takes its problems out of the review and forgets their best
// times: "Review (N due)" counts only problems that still exist.
TEST_F(ImportDialog, ARemovedGroupLeavesNothingDueBehind) {
    OpenWindow();
    const QString club = Club();
    window->ImportChooser = [club] { return QStringList{club + "/elementary"}; };
    answer = true; // open the new group
    window->Item(TCommand::miImport1)->trigger();
    ASSERT_EQ(window->OpenedGroup(), kFirstImportedGroup);
    int today = window->Statistics().TodayNumber();
    window->Statistics().Today = [&today] { return today; };
    ClickThumbnail(1, 2); // 2.sgf: AB is right; a wrong move puts it into the review
    ClickPoint(19, 19);
    // The tree does not list the move: the solver is asked first, on its thread.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->LabelResult->text() == "Failure"; }, 10000));
    const int32_t failed = kImportedHistoryBase + ParseIndexLine(window->GoIndex1->Games()[1]).Key();
    ASSERT_TRUE(window->History().Review(failed));
    ASSERT_TRUE(window->History().SolverVerdict(failed, "goal")) << "what the solver found is kept";
    ClickThumbnail(1, 1);
    ++today;
    window->RefreshGroupMenus();
    ASSERT_EQ(window->Item(TCommand::miReview1)->text(), "Review (1 due)");
    answer = true;
    window->RemoveImportedGroup(kFirstImportedGroup);
    EXPECT_FALSE(window->History().Review(failed)) << "its review went with the group";
    EXPECT_FALSE(window->History().SolverVerdict(failed, "goal")) << "and what the solver found";
    EXPECT_EQ(window->Item(TCommand::miReview1)->text(), "Review (0 due)");
}

// A bundled problem and an imported one with the same key are two problems to the history:
// solving the imported one leaves the bundled one unsolved.
class SharedKeys : public ImportDialog {
protected:
    std::vector<TProblemRow> Problems() override {
        std::vector<TProblemRow> rows = SmallProblems();
        for (int32_t key = kFirstImportedKey; key < kFirstImportedKey + 4; ++key)
            rows.push_back(ImportedRow("(;AB[dd]AW[ee](;B[ab]C[Correct])(;B[ba];W[ab]))", key, 3));
        return rows;
    }
};

TEST_F(SharedKeys, ABundledAndAnImportedProblemNeverShareAHistoryRow) {
    OpenWindow();
    const QString club = Club();
    window->ImportChooser = [club] { return QStringList{club + "/elementary"}; };
    answer = true;
    window->Item(TCommand::miImport1)->trigger();
    ASSERT_EQ(window->OpenedGroup(), kFirstImportedGroup);
    const int key = ParseIndexLine(window->GoIndex1->Games()[1]).Key();
    ASSERT_GE(key, kFirstImportedKey);
    ClickThumbnail(1, 2); // 2.sgf: AB is right
    ClickPoint(1, 2);
    ASSERT_EQ(window->LabelSuccessCount->text(), "Solved");
    window->OpenGroup(3, 0);
    bool listed = false;
    for (const std::string& line : window->GoIndex1->Games()) {
        if (ParseIndexLine(line).Key() != key) continue;
        listed = true;
        EXPECT_EQ(line[5], '0') << "the bundled problem of that key is not solved";
    }
    EXPECT_TRUE(listed);
    EXPECT_EQ(window->History().Find(key)->SolvedCount, 0);
    EXPECT_EQ(window->History().Find(kImportedHistoryBase + key)->SolvedCount, 1);
}

// While a try is on, nothing can open another group or change the imported ones: the level
// groups, the imported groups, the review, Import and Remove rest, and come back at Stop.
TEST_F(ImportDialog, ATryLocksEveryWayOutOfTheProblem) {
    OpenWindow();
    const QString club = Club();
    window->ImportChooser = [club] { return QStringList{club}; };
    answer = true; // open the first new group
    window->Item(TCommand::miImport1)->trigger();
    ASSERT_EQ(window->OpenedGroup(), kFirstImportedGroup);
    ClickThumbnail(1, 1);
    QTest::keyClick(window.get(), Qt::Key_F9);
    ASSERT_TRUE(window->Try().Active());
    auto items = [&] {
        std::vector<QAction*> all{window->Item(TCommand::miImport1), window->Item(TCommand::miReview1),
                                  window->Item(TCommand::miReview2),
                                  window->findChild<QMenu*>("miRemoveGroup1")->menuAction()};
        for (QAction* item : window->findChildren<QAction*>())
            if (item->objectName().startsWith("miImported")) all.push_back(item);
        return all;
    };
    ASSERT_GT(items().size(), 5u) << "imported items in both menus";
    for (QAction* item : items())
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    // A menu refresh during the try (a trial counted, say) keeps them resting.
    window->RefreshGroupMenus();
    for (QAction* item : items())
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    const size_t groups = window->UserCollection().Groups().size();
    window->RemoveImportedGroup(kFirstImportedGroup); // what the menu would have run
    EXPECT_EQ(window->UserCollection().Groups().size(), groups) << "nothing removed under the try";
    EXPECT_EQ(window->GoIndex1->Count(), 3);
    QTest::keyClick(window.get(), Qt::Key_F10);
    for (QAction* item : items())
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
}

} // namespace
} // namespace karvena::test

namespace karvena::test {
namespace {

// Problems of 9 x 9 and 13 x 13 are imported, shown on their own boards (thumbnail and board)
// and solved in the window.
class SmallBoards : public TTrainerFixture {
protected:
    std::vector<TProblemRow> Problems() override { return SmallProblems(); }
};

TEST_F(SmallBoards, AreImportedShownOnTheirOwnSizeAndSolved) {
    OpenWindow();
    const QString sizes = folder.filePath("sizes");
    std::filesystem::copy(std::string(KARVENA_TEST_DATA) + "/import/sizes", sizes.toStdString(),
                          std::filesystem::copy_options::recursive);
    window->ImportChooser = [sizes] { return QStringList{sizes}; };
    answer = true;
    window->Item(TCommand::miImport1)->trigger();
    ASSERT_EQ(window->GoIndex1->Count(), 2);
    // The index lines name the size; the files come in natural order: 9x9 before 13x13.
    EXPECT_EQ(ParseIndexLine(window->GoIndex1->Games()[0]).Lines, 9);
    EXPECT_EQ(ParseIndexLine(window->GoIndex1->Games()[1]).Lines, 13);
    const struct {
        int column, lines;
        TPoint wrong, right; // turned into the top-left corner by the import
    } cases[] = {{1, 9, {3, 1}, {2, 1}}, {2, 13, {1, 1}, {2, 1}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.lines) + " lines");
        window->Item(TCommand::miProblemIndex1)->trigger();
        ClickThumbnail(1, c.column);
        ASSERT_EQ(window->GoGame1->Rows(), c.lines);
        EXPECT_EQ(window->GoGame1->Geometry().Lines, c.lines) << "the board draws its own lines";
        // The smaller board fills the control that held the 19 x 19 one.
        const TGoGame& board = *window->GoGame1;
        const int radius19 =
            TBoardGeometry::RadiusForSize(board.Look(), board.width(), board.height(), 19);
        EXPECT_GE(5 * board.Look().Radius * c.lines, 4 * radius19 * 19)
            << "radius " << board.Look().Radius << ", on 19 lines " << radius19;
        EXPECT_NE(window->GoGame1->GetCell(1, 2), 0) << "the white stones stand in the corner";
        EXPECT_EQ(window->GoGame1->GetCell(c.lines, c.lines), 0);
        ClickPoint(c.wrong.P, c.wrong.Q);
        EXPECT_EQ(window->LabelResult->text(), "Failure");
        Key(Qt::Key_Home); // solve again
        ClickPoint(c.right.P, c.right.Q);
        EXPECT_EQ(window->LabelResult->text(), "Success");
        EXPECT_NE(window->GoGame1->GetCell(c.right.P, c.right.Q), 0);
    }
}

} // namespace
} // namespace karvena::test
